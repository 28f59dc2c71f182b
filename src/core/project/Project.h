#pragma once

#include "core/common/RgbPicture.h"
#include "core/project/AllocationSettings.h"
#include "core/project/DistanceQuestions.h"
#include "core/project/ProjectRecord.h"
#include "core/project/StarSolution.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dorvan {

class AllocationResults;
class NetworkResults;

inline constexpr const char* ProgramTitleText = "Program DORVAN verzia 2.0";

// The state shared by the windows that is never saved: counters and mode flags. Which child
// windows are open the main window knows by its pointers to them.
struct WorkingState {
    std::int32_t PlaceCount = 0;
    std::int32_t NextPlace = 0;
    std::int32_t AddCount = 0;
    bool AddPlacesMode = false;
    bool FirstEntryMode = false;
    bool PlacesComplete = false;
    bool EntryStarted = false;
    std::int32_t PictureRangeX = 0;
    std::int32_t PictureRangeY = 0;
    std::int32_t OpenCriterionPages = 0;
    bool EntryWindowClosed = false;
    bool EntryClosable = false;
    bool CoordsDiffer = false;
    std::string ProgramTitle; // UTF-8
    std::string ProjectFileName; // UTF-8, as chosen in the last save or open dialog
    // The file this project was opened from or last saved to (UTF-8); empty for a new project.
    // Saving onto it replaces it without a question; any other existing file is asked about.
    std::string ProjectFile;
    bool MapPictureOwned = false;
    // The main window's data mode: places clicked onto a map picture ("Dáta - OBRÁZOK") rather
    // than typed in ("Dáta - RUČNE").
    bool PictureMode = false;
    // The project has changes that were not saved: the edit history stands away from its saved
    // point (see ProjectDocument), which keeps this flag. The closing questions offer
    // "Uložiť ..." while it is set.
    bool UnsavedChanges = false;
};

// One distribution group as the group page holds it: its number and its members' names (UTF-8,
// in list order; a name need not match a place).
struct DistributionGroup {
    int No = 0;
    std::vector<std::string> Members;
    bool operator==(const DistributionGroup&) const = default;
};

// The distribution groups of the group page as they stand. Count is the number of groups the
// page shows ("Počet skupín"), which may lag behind the list by a just-opened empty group.
struct DistributionGroups {
    int Count = 0;
    std::vector<DistributionGroup> Groups;

    // The members of group g: those of the first group numbered g, none when there is none.
    const std::vector<std::string>& members(int g) const;
    bool operator==(const DistributionGroups&) const = default;
};

// What the user has chosen in the data-entry window that a run needs, kept as the user edits
// it. The criterion boxes are not here: the record's CriterionOn bytes hold them (see
// Project::ticked).
struct EntryChoices {
    bool SettingsOn = false; // "Nastavenie premenných DORVAN"
    CooperSettings Settings;
    DistributionGroups Groups;
    // The group page's places in no group ("Zoznam miest"), UTF-8, in the order the page shows
    // them. The set follows from the places and the groups; the order is the page's own (a name
    // put back goes to its sorted place), kept here so that an undo shows the list as it was.
    std::vector<std::string> GroupPlaces;
    // The existing centres of the group proposal ("Existujúce centrá"), UTF-8 place names in the
    // order chosen: a group that holds one is served from its place.
    std::vector<std::string> ExistingCentres;

    bool operator==(const EntryChoices&) const = default;
};

// What changed in the project, told to every window that observes it. One notification may
// carry several parts.
enum class ProjectChange : unsigned {
    Places = 1u << 0, // names, coordinates or values of places
    Criteria = 1u << 1, // a criterion box was ticked or unticked
    Settings = 1u << 2, // the iteration settings (also when a run put a text back to its default)
    Groups = 1u << 3, // the distribution groups
    DataMode = 1u << 4, // the main window's data mode (told, never saved)
    // The places' coordinates are to be shown again where they are listed (told, or within a
    // command that moved them)
    Coordinates = 1u << 5,
    // The result of an open allocation window is stale: it runs again.
    RunInputs = 1u << 6,
    // The edit history moved (an edit, an undo or a redo): the undo items and the unsaved mark
    // follow it.
    History = 1u << 7,
    // An undo or a redo put back a state of the project: every view shows it again.
    Restored = 1u << 8,
};
constexpr ProjectChange operator|(ProjectChange a, ProjectChange b)
{
    return static_cast<ProjectChange>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool has(ProjectChange set, ProjectChange part)
{
    return (static_cast<unsigned>(set) & static_cast<unsigned>(part)) != 0;
}

// The observers of a project. A window observes for as long as it keeps the Observation it got;
// an observation may outlive the project (child windows go after the main window's members).
class ProjectObservers {
public:
    using Listener = std::function<void(ProjectChange)>;
    class Observation {
    public:
        Observation() = default;
        Observation(Observation&&) noexcept = default;
        Observation& operator=(Observation&& other) noexcept;
        Observation(const Observation&) = delete;
        Observation& operator=(const Observation&) = delete;
        ~Observation();
        // Whether this observation still hears the project.
        bool active() const { return !registry_.expired() && id_ != 0; }

    private:
        friend class ProjectObservers;
        struct Registry;
        Observation(std::weak_ptr<Registry> registry, int id);
        void release();
        std::weak_ptr<Registry> registry_;
        int id_ = 0;
    };

    ProjectObservers();
    // A copy of a project would share its observers; there is one project.
    ProjectObservers(const ProjectObservers&) = delete;
    ProjectObservers& operator=(const ProjectObservers&) = delete;
    [[nodiscard]] Observation observe(Listener listener);
    // Tells every observer, in the order they began to observe. An observer that stops during
    // the notification is not told afterwards; one that begins is told from the next one on.
    void notify(ProjectChange what) const;

private:
    std::shared_ptr<Observation::Registry> registry_;
};

struct EditHistory; // ProjectDocument.h

// The open project: the record, the working state and the map picture, owned by the main
// window for the whole run; child windows hold a reference to it. Its edits go through a
// ProjectDocument, which keeps their history here.
struct Project {
    Project();
    ~Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    TProjectRecord Record;
    WorkingState State;
    RgbPicture MapPicture;
    EntryChoices Choices;
    // The pairs of places the typed distance entry still asks for, and whether the entry has
    // seen how the list came about (an opened project asks every pair until it has).
    DistanceQuestions Questions;
    bool QuestionsKnown = false;
    // The best network of the last star search, drawn by the station network graph.
    StarSolution BestStars;
    // The delivery rounds of the network window's last search, drawn by the graph too.
    RoundsTrace BestRounds;
    ProjectObservers Observers;
    // The undo and redo steps, the saved point and the revision of the inputs.
    std::unique_ptr<EditHistory> History;
    // The results made from the project's inputs, kept with it and made once for the same
    // inputs: the allocation's (core/allocation, allocationsOf) and the network's
    // (core/network, networkResultsOf), each made when first asked for. Only declared here, so
    // that the project stays below the subsystems that make them.
    mutable std::shared_ptr<AllocationResults> Allocations;
    mutable std::shared_ptr<NetworkResults> Networks;

    // Whether a criterion's box is ticked (CritGroups: "Definovanie distribučných skupín"), as
    // the record's byte says; and every box by its byte.
    bool ticked(Criterion c) const { return Record.ticked(c); }
    std::array<bool, CriterionCount> tickedCriteria() const { return Record.tickedCriteria(); }

    // Tells the observers of a change made beside the document's commands; a change of what is
    // saved (places, criteria, settings, groups) leaves the project unsaved until it is saved
    // again. Within a command it is also told again when that command is undone or redone.
    void changed(ProjectChange what);
    // Tells the observers of something that is no saved content: the data mode switched, the
    // places' coordinates to be listed again as the project holds them (the allocation window
    // closed). Nothing is marked unsaved, the revision stays, and no step keeps it for its undo;
    // changed is for content only.
    void tell(ProjectChange what) const;

    // What the main window does on creation: the record starts from zero bytes, then takes
    // its start values, and the working state takes its start flags; the history is clean.
    void resetAtStart();
};

} // namespace dorvan
