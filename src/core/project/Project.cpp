#include "core/project/Project.h"

#include "core/project/ProjectDocument.h"

#include <algorithm>

namespace dorvan {

Project::Project()
    : History(std::make_unique<EditHistory>())
{
}

Project::~Project() = default;

void Project::changed(ProjectChange what)
{
    constexpr auto saved
        = ProjectChange::Places | ProjectChange::Criteria | ProjectChange::Settings | ProjectChange::Groups;
    if (History->applying > 0) {
        // Told at once, as the windows expect, and kept for the step's undo and redo.
        History->toldWhileApplying = History->toldWhileApplying | what;
        Observers.notify(what);
        return;
    }
    if (has(what, saved)) {
        State.UnsavedChanges = true;
        History->editedBeside = true;
    }
    if (has(what, saved | ProjectChange::RunInputs))
        ++History->revision;
    Observers.notify(what);
}

void Project::tell(ProjectChange what) const
{
    Observers.notify(what);
}

void Project::resetAtStart()
{
    Record = TProjectRecord {};
    ResetProjectAtStart(Record);
    // Every other flag and counter starts at zero or false.
    State = WorkingState {};
    State.ProgramTitle = ProgramTitleText;
    State.EntryWindowClosed = true;
    State.FirstEntryMode = true;
    MapPicture.clear();
    Choices = EntryChoices {};
    Questions = DistanceQuestions {};
    QuestionsKnown = false;
    BestStars = StarSolution {};
    BestRounds = RoundsTrace {};
    ProjectDocument(*this).startClean();
}

const std::vector<std::string>& DistributionGroups::members(int g) const
{
    static const std::vector<std::string> none;
    auto it
        = std::find_if(Groups.begin(), Groups.end(), [g](const DistributionGroup& d) { return d.No == g; });
    return it != Groups.end() ? it->Members : none;
}

struct ProjectObservers::Observation::Registry {
    int nextId = 1;
    std::vector<std::pair<int, Listener>> listeners;
};

ProjectObservers::Observation::Observation(std::weak_ptr<Registry> registry, int id)
    : registry_(std::move(registry))
    , id_(id)
{
}

ProjectObservers::Observation& ProjectObservers::Observation::operator=(Observation&& other) noexcept
{
    if (this != &other) {
        release();
        registry_ = std::move(other.registry_);
        id_ = other.id_;
        other.id_ = 0;
    }
    return *this;
}

ProjectObservers::Observation::~Observation()
{
    release();
}

void ProjectObservers::Observation::release()
{
    if (auto r = registry_.lock())
        std::erase_if(r->listeners, [this](const auto& l) { return l.first == id_; });
    registry_.reset();
    id_ = 0;
}

ProjectObservers::ProjectObservers()
    : registry_(std::make_shared<Observation::Registry>())
{
}

ProjectObservers::Observation ProjectObservers::observe(Listener listener)
{
    const int id = registry_->nextId++;
    registry_->listeners.emplace_back(id, std::move(listener));
    return Observation(registry_, id);
}

void ProjectObservers::notify(ProjectChange what) const
{
    // A listener may close a window, and with it another observation, while it is told.
    std::vector<int> ids;
    for (const auto& l : registry_->listeners)
        ids.push_back(l.first);
    const auto registry = registry_;
    for (int id : ids) {
        auto it = std::find_if(registry->listeners.begin(), registry->listeners.end(),
            [id](const auto& l) { return l.first == id; });
        if (it == registry->listeners.end())
            continue;
        const Listener listener = it->second; // the entry may go while it runs
        listener(what);
    }
}

} // namespace dorvan
