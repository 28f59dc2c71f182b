#pragma once

#include "core/project/Project.h"
#include "core/project/RecordCodec.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace dorvan {

// How a command's step stands in the history.
enum class StepJoin {
    Own, // a step of its own
    // It completes the edit before it (a list sorted after its last place, the distance entry
    // finished after its last pair): one step with the previous one, or its own when the
    // previous one is the saved point or there is none.
    Previous,
    // Like Previous, but with no previous step to join it is kept without a step of its own:
    // what saving sets in the record is no edit to undo (the observers still hear it).
    PreviousElseNone,
};

// A change of the project as one undoable step: its name (Slovak, as the undo items may show
// it), what the observers are told when it is done, undone or redone, and whether it may
// replace the map picture (only then is the picture kept for the step).
struct EditCommand {
    std::string name;
    ProjectChange told {};
    bool picture = false;
    StepJoin join = StepJoin::Own;
};

// One step of the history, kept as the difference it made: the changed byte ranges of the
// record in its file layout, the changed fields of the working state that belong to the
// project's content, the choices and the distance questions when they changed, and the
// picture when the step replaced it.
struct EditStep {
    struct Bytes {
        std::uint32_t offset = 0;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };
    struct Field {
        std::uint8_t field = 0;
        std::int32_t before = 0;
        std::int32_t after = 0;
    };
    struct Questions {
        DistanceQuestions pending;
        bool known = false;
    };
    std::string name;
    ProjectChange told {};
    std::vector<Bytes> bytes;
    std::vector<Field> fields;
    std::optional<EntryChoices> choicesBefore, choicesAfter;
    std::optional<Questions> questionsBefore, questionsAfter;
    std::shared_ptr<const RgbPicture> pictureBefore, pictureAfter;
};

// How much history a project keeps by default: the oldest steps go beyond this many steps, or
// while the steps hold more than this many bytes (a step that replaced the map picture keeps
// the picture before and after it: a large map is over a hundred megabytes). The newest step
// always stays, whatever it holds.
inline constexpr std::size_t HistoryStepLimit = 1000;
inline constexpr std::size_t HistoryByteLimit = std::size_t { 256 } * 1024 * 1024;

// What a step keeps in memory, near enough to bound the history by: the record's bytes before
// and after, the choices and questions it keeps, the pictures' pixels.
std::size_t stepFootprint(const EditStep& step);

// The history a project keeps: steps[0, done) are done, the rest can be redone. savedAt is the
// number of steps done when the project was last saved, opened or started anew; nothing when
// that point can no longer be reached (a new edit dropped the steps that led to it, or the
// oldest steps went over the history's bounds).
struct EditHistory {
    std::vector<EditStep> steps;
    std::size_t done = 0;
    std::optional<std::size_t> savedAt = 0;
    // A saved part changed beside the commands since the saved point: unsaved whatever the steps.
    bool editedBeside = false;
    std::uint64_t revision = 0;
    // The record and the choices as the last step, undo, redo or save left them: a window that
    // changed them beside the commands made a step of its own, taken before the next one.
    std::shared_ptr<const RecordBytes> baseline;
    std::optional<EntryChoices> baselineChoices;
    int applying = 0; // commands under way (a command within a command is part of it)
    // The observers are being told of an undo or a redo: what the views set showing it is no edit.
    bool restoring = false;
    ProjectChange toldWhileApplying {};
    // The bounds past which the oldest steps go.
    std::size_t stepLimit = HistoryStepLimit;
    std::size_t byteLimit = HistoryByteLimit;
};

// The one edit path of a project: every change of its content runs as a command through
// execute, which records how to undo it exactly, tells the observers and moves the revision.
// "Unsaved" is the history's distance from its saved point. A ProjectDocument is a handle: the
// history lives in the project, so every handle of one project shares it.
class ProjectDocument {
public:
    explicit ProjectDocument(Project& project)
        : project_(project)
    {
    }

    // Runs `change` as the command's step and returns what it returns. A change that leaves
    // the project as it was makes no step; one that throws leaves the project as it was. A
    // command run within another is part of that one's step.
    template <typename F> auto execute(const EditCommand& command, F&& change) -> std::invoke_result_t<F&>
    {
        using Result = std::invoke_result_t<F&>;
        if (project_.History->applying > 0)
            return change();
        if constexpr (std::is_void_v<Result>) {
            run(command, [&change] { change(); });
        } else {
            std::optional<Result> result;
            run(command, [&change, &result] { result.emplace(change()); });
            return std::move(*result);
        }
    }

    bool canUndo() const { return history().done > 0; }
    bool canRedo() const { return history().done < history().steps.size(); }
    // The name of the step an undo or a redo would take; empty when there is none.
    std::string undoName() const;
    std::string redoName() const;
    // Put back the project as it was before the last step done, or after the next step undone.
    // False when there is none.
    bool undo();
    bool redo();

    // The windows showed the project again after an undo or a redo: what they set doing so is
    // no edit of it.
    void viewsShown();

    // A command is under way: its step is recorded when it ends.
    bool running() const { return history().applying > 0; }
    // A window changed the project beside the commands: the change becomes a step of its own now
    // (the observers hear the history move), so that "unsaved" and the undo follow it. Nothing
    // while a command runs (the change is part of its step) or while an undo or a redo is shown.
    void takeEditsBeside();

    // The history stands at its saved point: nothing is unsaved.
    bool clean() const;
    // The project was saved as it stands.
    void markSaved();
    // A new, opened or closed project: no steps, and the project as it stands is the saved one.
    void startClean();
    // Like startClean, but the project as it stands is one step (the command's) away from the
    // saved point, which is the project as `toStart` leaves it (it changes only the content).
    void startCleanBefore(const EditCommand& command, const std::function<void()>& toStart);
    // Moves with every change of the project's inputs (edits, undos, redos, changes beside
    // the commands, a new history): a result computed at one revision holds until it moves.
    std::uint64_t revision() const { return history().revision; }

private:
    struct Snapshot;
    EditHistory& history() { return *project_.History; }
    const EditHistory& history() const { return *project_.History; }
    void run(const EditCommand& command, const std::function<void()>& change);
    Snapshot take(bool picture) const;
    // A saved part changed beside the commands since the last look: the saved point is left,
    // and a change of the record or the choices becomes a step of its own.
    void noteEditsBeside();
    void takeBaseline();
    void record(const EditCommand& command, const Snapshot& before);
    void restore(const Snapshot& snapshot);
    void apply(const EditStep& step, bool forward);
    void settle(ProjectChange told);
    // Over the history's bounds the oldest steps go; the saved point with them, when it was
    // among them.
    void keepWithinBounds();
    void settleRestored(ProjectChange told);

    Project& project_;
};

} // namespace dorvan
