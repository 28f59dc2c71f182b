#pragma once

#include "core/project/Project.h"

namespace dorvan::test {

// Counts the times a window told the project that an open allocation window's result is stale.
struct RerunCounter {
    int reruns = 0;
    ProjectObservers::Observation observation;

    void watch(Project& project)
    {
        observation = project.Observers.observe([this](ProjectChange what) {
            if (has(what, ProjectChange::RunInputs))
                ++reruns;
        });
    }
};

} // namespace dorvan::test
