#include "core/entry/GroupList.h"
#include "core/project/Project.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

// Records what each observer was told, in order.
struct Log {
    std::vector<std::string> lines;
    ProjectObservers::Listener as(const std::string& who)
    {
        return [this, who](ProjectChange what) {
            lines.push_back(who + ":" + std::to_string(static_cast<unsigned>(what)));
        };
    }
};

} // namespace

TEST(ProjectModel, ObserversAreToldInOrderUntilTheirObservationEnds)
{
    Project p;
    Log log;
    auto a = p.Observers.observe(log.as("a"));
    {
        auto b = p.Observers.observe(log.as("b"));
        p.changed(ProjectChange::Places | ProjectChange::RunInputs);
        EXPECT_EQ(log.lines, (std::vector<std::string> { "a:65", "b:65" }));
    }
    log.lines.clear();
    p.changed(ProjectChange::Settings);
    EXPECT_EQ(log.lines, (std::vector<std::string> { "a:4" })) << "b stopped with its observation";

    // A moved observation keeps observing; the one it replaced stops.
    auto c = p.Observers.observe(log.as("c"));
    a = std::move(c);
    log.lines.clear();
    p.changed(ProjectChange::Groups);
    EXPECT_EQ(log.lines, (std::vector<std::string> { "c:8" }));

    EXPECT_TRUE(has(ProjectChange::Places | ProjectChange::Coordinates, ProjectChange::Coordinates));
    EXPECT_FALSE(has(ProjectChange::Places | ProjectChange::Coordinates, ProjectChange::RunInputs));
}

TEST(ProjectModel, AnObserverMayStopAnotherWhileBeingToldAndMayOutliveTheProject)
{
    auto p = std::make_unique<Project>();
    Log log;
    ProjectObservers::Observation second;
    // The first observer closes the second's window, as closing one window may take another.
    auto first = p->Observers.observe([&](ProjectChange) {
        log.lines.push_back("first");
        second = {};
    });
    second = p->Observers.observe(log.as("second"));
    // One that begins while the others are told hears only the next notification.
    ProjectObservers::Observation late;
    auto starter = p->Observers.observe([&](ProjectChange) {
        if (!late.active())
            late = p->Observers.observe(log.as("late"));
    });
    p->changed(ProjectChange::DataMode);
    EXPECT_EQ(log.lines, (std::vector<std::string> { "first" }));
    log.lines.clear();
    p->changed(ProjectChange::DataMode);
    EXPECT_EQ(log.lines, (std::vector<std::string> { "first", "late:16" }));

    // Child windows go after the main window's members: their observations end safely.
    p.reset();
    first = {};
    late = {};
    SUCCEED();
}

TEST(ProjectModel, GroupsStoredAndReadBackAsTheGroupPageListsThem)
{
    auto r = std::make_unique<TProjectRecord>();
    const char* names[] = { "A", "B", "C", "D", "E" };
    for (int i = 1; i <= 5; ++i)
        r->PlaceName[i] = Text100::fromUtf8(names[i - 1]);
    struct Case {
        const char* what;
        DistributionGroups groups;
        int groupCount;
        std::vector<int> storedSizes; // GroupPlaceCount[1..]
    };
    const std::vector<Case> cases {
        { "two groups", { 2, { { 1, { "A", "C" } }, { 2, { "B" } } } }, 2, { 2, 1 } },
        // "OK" opened group 3 before the page showed the new count: it is stored empty.
        { "a just-opened empty group", { 2, { { 1, { "A" } }, { 2, { "B", "D" } }, { 3, {} } } }, 3,
            { 1, 2, 0 } },
        { "a group without its header", { 2, { { 2, { "E" } } } }, 2, { 0, 1 } },
    };
    for (const Case& c : cases) {
        auto stored = std::make_unique<TProjectRecord>(*r);
        stored->GroupCount = c.groupCount;
        storeGroups(c.groups, c.groupCount, *stored);
        for (std::size_t k = 0; k < c.storedSizes.size(); ++k)
            EXPECT_EQ(stored->GroupPlaceCount[static_cast<int>(k) + 1], c.storedSizes[k])
                << c.what << " group " << k + 1;
        // Read back, every stored member is in its group, the rest of the places ungrouped.
        const DistributionGroups back = storedGroups(*stored, 5);
        EXPECT_EQ(back.Count, c.groupCount) << c.what;
        for (int g = 1; g <= c.groupCount; ++g)
            EXPECT_EQ(back.members(g), c.groups.members(g)) << c.what << " group " << g;
    }

    // No group, or a count that is not positive: nothing is stored.
    auto untouched = std::make_unique<TProjectRecord>(*r);
    untouched->GroupPlaceCount[1] = 7;
    storeGroups({ 0, { { 1, { "A" } } } }, 1, *untouched);
    storeGroups({ 3, {} }, 3, *untouched);
    EXPECT_EQ(untouched->GroupPlaceCount[1], 7);
}
