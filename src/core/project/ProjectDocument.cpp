#include "core/project/ProjectDocument.h"

#include "core/project/RecordCodec.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace dorvan {

namespace {

// The fields of the working state that belong to the project's content: how far the entry of
// places has come, the picture's range and whether the project owns its picture. The file
// names, the title, the window flags and the data mode are no content and stay as they are.
constexpr std::array<std::int32_t WorkingState::*, 5> ContentCounts { &WorkingState::PlaceCount,
    &WorkingState::NextPlace, &WorkingState::AddCount, &WorkingState::PictureRangeX,
    &WorkingState::PictureRangeY };
constexpr std::array<bool WorkingState::*, 7> ContentFlags { &WorkingState::AddPlacesMode,
    &WorkingState::FirstEntryMode, &WorkingState::PlacesComplete, &WorkingState::EntryStarted,
    &WorkingState::EntryClosable, &WorkingState::CoordsDiffer, &WorkingState::MapPictureOwned };
constexpr std::size_t ContentFieldCount = ContentCounts.size() + ContentFlags.size();

std::int32_t contentField(const WorkingState& s, std::size_t f)
{
    if (f < ContentCounts.size())
        return s.*ContentCounts[f];
    return s.*ContentFlags[f - ContentCounts.size()] ? 1 : 0;
}

void setContentField(WorkingState& s, std::size_t f, std::int32_t value)
{
    if (f < ContentCounts.size())
        s.*ContentCounts[f] = value;
    else
        s.*ContentFlags[f - ContentCounts.size()] = value != 0;
}

// Equal bytes between two changes that are kept within one range rather than starting another.
constexpr std::size_t RangeGap = 16;

std::vector<EditStep::Bytes> changedRanges(const RecordBytes& before, const RecordBytes& after)
{
    std::vector<EditStep::Bytes> ranges;
    std::size_t i = 0;
    while (i < RecordSize) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        for (std::size_t j = end; j < RecordSize && j < end + RangeGap; ++j)
            if (before[j] != after[j])
                end = j + 1;
        EditStep::Bytes r;
        r.offset = static_cast<std::uint32_t>(i);
        r.before.assign(before.begin() + static_cast<std::ptrdiff_t>(i),
            before.begin() + static_cast<std::ptrdiff_t>(end));
        r.after.assign(
            after.begin() + static_cast<std::ptrdiff_t>(i), after.begin() + static_cast<std::ptrdiff_t>(end));
        ranges.push_back(std::move(r));
        i = end;
    }
    return ranges;
}

std::size_t choicesFootprint(const EntryChoices& c)
{
    std::size_t n = sizeof(EntryChoices);
    for (const DistributionGroup& g : c.Groups.Groups) {
        n += sizeof(DistributionGroup);
        for (const std::string& m : g.Members)
            n += sizeof(std::string) + m.size();
    }
    for (const std::string& name : c.ExistingCentres)
        n += sizeof(std::string) + name.size();
    return n;
}

std::size_t pictureFootprint(const std::shared_ptr<const RgbPicture>& picture)
{
    return picture ? sizeof(RgbPicture) + std::size_t(picture->width()) * std::size_t(picture->height()) * 3
                   : 0;
}

} // namespace

std::size_t stepFootprint(const EditStep& step)
{
    std::size_t n = sizeof(EditStep) + step.name.size() + step.fields.size() * sizeof(EditStep::Field);
    for (const auto& r : step.bytes)
        n += sizeof(EditStep::Bytes) + r.before.size() + r.after.size();
    if (step.choicesBefore)
        n += choicesFootprint(*step.choicesBefore) + choicesFootprint(*step.choicesAfter);
    if (step.questionsBefore)
        n += 2 * sizeof(EditStep::Questions);
    // One picture may be the step's before and after alike (a step joined to its previous one).
    n += pictureFootprint(step.pictureBefore);
    if (step.pictureAfter != step.pictureBefore)
        n += pictureFootprint(step.pictureAfter);
    return n;
}

// The project as a command found it.
struct ProjectDocument::Snapshot {
    std::unique_ptr<RecordBytes> bytes;
    EntryChoices choices;
    std::array<std::int32_t, ContentFieldCount> fields {};
    EditStep::Questions questions;
    // Kept only for a command that may replace the picture.
    std::shared_ptr<const RgbPicture> picture;
};

namespace {

std::array<std::int32_t, ContentFieldCount> contentFields(const WorkingState& s)
{
    std::array<std::int32_t, ContentFieldCount> out {};
    for (std::size_t f = 0; f < ContentFieldCount; ++f)
        out[f] = contentField(s, f);
    return out;
}

} // namespace

std::string ProjectDocument::undoName() const
{
    return canUndo() ? history().steps[history().done - 1].name : std::string();
}

std::string ProjectDocument::redoName() const
{
    return canRedo() ? history().steps[history().done].name : std::string();
}

bool ProjectDocument::clean() const
{
    return !history().editedBeside && history().savedAt == history().done;
}

void ProjectDocument::takeBaseline()
{
    history().baseline = std::make_shared<const RecordBytes>(encodeRecord(project_.Record));
    history().baselineChoices = project_.Choices;
}

void ProjectDocument::noteEditsBeside()
{
    auto& h = history();
    if (h.baseline) {
        auto now = std::make_unique<RecordBytes>(encodeRecord(project_.Record));
        const bool choicesChanged = !(*h.baselineChoices == project_.Choices);
        if (choicesChanged || !(*now == *h.baseline)) {
            // A window wrote the project itself: the change is kept as a step, so that an undo
            // takes it back like any other.
            EditStep step;
            step.name = "Úprava";
            step.bytes = changedRanges(*h.baseline, *now);
            if (choicesChanged) {
                step.choicesBefore = *h.baselineChoices;
                step.choicesAfter = project_.Choices;
            }
            h.steps.resize(h.done);
            if (h.savedAt && *h.savedAt > h.done)
                h.savedAt.reset();
            h.steps.push_back(std::move(step));
            h.done = h.steps.size();
            keepWithinBounds();
            ++h.revision;
            takeBaseline();
        }
    }
    // The flag was set by hand where an edit did not come through a command.
    if (project_.State.UnsavedChanges && clean())
        h.editedBeside = true;
}

void ProjectDocument::settle(ProjectChange told)
{
    takeBaseline();
    project_.State.UnsavedChanges = !clean();
    project_.Observers.notify(told);
}

// Told of a state put back, the windows show it again. Whether an open allocation window runs
// again on it or closes (the state put back may hold too few places) is the views' decision on
// Restored: the step's own RunInputs, told when it was done, is not told again.
void ProjectDocument::settleRestored(ProjectChange told)
{
    auto& h = history();
    const auto shown = static_cast<ProjectChange>(
        static_cast<unsigned>(told) & ~static_cast<unsigned>(ProjectChange::RunInputs));
    h.restoring = true;
    try {
        settle(shown | ProjectChange::History | ProjectChange::Restored);
    } catch (...) {
        h.restoring = false;
        throw;
    }
    h.restoring = false;
}

void ProjectDocument::viewsShown()
{
    takeBaseline();
    project_.State.UnsavedChanges = !clean();
}

void ProjectDocument::takeEditsBeside()
{
    auto& h = history();
    if (h.applying > 0 || h.restoring)
        return;
    const std::size_t steps = h.steps.size();
    const std::size_t done = h.done;
    const bool wasClean = clean();
    noteEditsBeside();
    if (h.steps.size() != steps || h.done != done || clean() != wasClean)
        settle(ProjectChange::History);
}

void ProjectDocument::markSaved()
{
    noteEditsBeside();
    auto& h = history();
    h.savedAt = h.done;
    h.editedBeside = false;
    settle(ProjectChange::History);
}

void ProjectDocument::startClean()
{
    auto& h = history();
    h.steps.clear();
    h.done = 0;
    h.savedAt = 0;
    h.editedBeside = false;
    ++h.revision;
    settle(ProjectChange::History);
}

ProjectDocument::Snapshot ProjectDocument::take(bool picture) const
{
    Snapshot now;
    now.bytes = std::make_unique<RecordBytes>(encodeRecord(project_.Record));
    now.choices = project_.Choices;
    now.fields = contentFields(project_.State);
    now.questions = { project_.Questions, project_.QuestionsKnown };
    if (picture)
        now.picture = std::make_shared<const RgbPicture>(project_.MapPicture);
    return now;
}

void ProjectDocument::startCleanBefore(const EditCommand& command, const std::function<void()>& toStart)
{
    const Snapshot shown = take(command.picture);
    toStart();
    startClean();
    run(command, [&] { restore(shown); });
}

void ProjectDocument::run(const EditCommand& command, const std::function<void()>& change)
{
    noteEditsBeside();
    auto& h = history();
    const Snapshot before = take(command.picture);
    h.toldWhileApplying = {};
    ++h.applying;
    try {
        change();
        --h.applying;
        record(command, before);
    } catch (...) {
        if (h.applying > 0)
            --h.applying;
        h.toldWhileApplying = {};
        restore(before);
        throw;
    }
}

void ProjectDocument::restore(const Snapshot& snapshot)
{
    project_.Record = decodeRecord(*snapshot.bytes);
    project_.Choices = snapshot.choices;
    for (std::size_t f = 0; f < ContentFieldCount; ++f)
        setContentField(project_.State, f, snapshot.fields[f]);
    project_.Questions = snapshot.questions.pending;
    project_.QuestionsKnown = snapshot.questions.known;
    if (snapshot.picture)
        project_.MapPicture = *snapshot.picture;
}

void ProjectDocument::record(const EditCommand& command, const Snapshot& before)
{
    auto& h = history();
    const ProjectChange toldInside = std::exchange(h.toldWhileApplying, ProjectChange {});
    const bool joining = command.join != StepJoin::Own && h.done > 0 && h.savedAt != h.done;
    const EditStep* previous = joining ? &h.steps[h.done - 1] : nullptr;
    // Joining: the step runs from where the previous one started.
    Snapshot joined;
    const Snapshot* from = &before;
    if (previous != nullptr) {
        joined.bytes = std::make_unique<RecordBytes>(*before.bytes);
        joined.choices = previous->choicesBefore ? *previous->choicesBefore : before.choices;
        joined.fields = before.fields;
        joined.questions = previous->questionsBefore ? *previous->questionsBefore : before.questions;
        joined.picture = previous->pictureBefore ? previous->pictureBefore : before.picture;
        for (const auto& r : previous->bytes)
            std::copy(r.before.begin(), r.before.end(), joined.bytes->begin() + r.offset);
        for (const auto& f : previous->fields)
            joined.fields[f.field] = f.before;
        from = &joined;
    }

    EditStep step;
    step.name = previous != nullptr ? previous->name : command.name;
    step.told = command.told | toldInside | (previous != nullptr ? previous->told : ProjectChange {});
    const auto now = std::make_unique<RecordBytes>(encodeRecord(project_.Record));
    step.bytes = changedRanges(*from->bytes, *now);
    for (std::size_t f = 0; f < ContentFieldCount; ++f) {
        const std::int32_t after = contentField(project_.State, f);
        if (after != from->fields[f])
            step.fields.push_back({ static_cast<std::uint8_t>(f), from->fields[f], after });
    }
    if (!(from->choices == project_.Choices)) {
        step.choicesBefore = from->choices;
        step.choicesAfter = project_.Choices;
    }
    const EditStep::Questions questionsNow { project_.Questions, project_.QuestionsKnown };
    if (!(from->questions.pending == questionsNow.pending) || from->questions.known != questionsNow.known) {
        step.questionsBefore = from->questions;
        step.questionsAfter = questionsNow;
    }
    if (from->picture) {
        const bool samePictureAsPrevious = !command.picture && previous != nullptr;
        auto after = samePictureAsPrevious ? previous->pictureAfter
                                           : std::make_shared<const RgbPicture>(project_.MapPicture);
        if (!(*after == *from->picture)) {
            step.pictureBefore = from->picture;
            step.pictureAfter = std::move(after);
        }
    }
    const bool changedAnything = !step.bytes.empty() || !step.fields.empty() || step.choicesBefore
        || step.questionsBefore || step.pictureBefore;

    if (command.join == StepJoin::PreviousElseNone && previous == nullptr) {
        // Kept without a step: nothing to undo on its own, and the saved point stays.
        if (changedAnything)
            ++h.revision;
        takeBaseline();
        // The views still show what it changed (saving tells nothing).
        if (changedAnything && command.told != ProjectChange {})
            project_.Observers.notify(command.told);
        return;
    }
    if (!changedAnything && previous == nullptr) {
        takeBaseline();
        return;
    }
    // A new step drops the steps that could have been redone, and with them a saved point
    // among them; a joined step replaces the previous one.
    const std::size_t keep = previous != nullptr ? h.done - 1 : h.done;
    if (changedAnything)
        h.steps.reserve(keep + 1);
    h.steps.resize(keep);
    if (h.savedAt && *h.savedAt > keep)
        h.savedAt.reset();
    // What the change told while it ran the observers heard then already.
    const ProjectChange told = command.told;
    if (changedAnything)
        h.steps.push_back(std::move(step));
    h.done = h.steps.size();
    keepWithinBounds();
    ++h.revision;
    settle(told | ProjectChange::History);
}

void ProjectDocument::keepWithinBounds()
{
    auto& h = history();
    std::size_t held = 0;
    for (const EditStep& step : h.steps)
        held += stepFootprint(step);
    // Only steps done go (the newest always stays); a new step has just dropped the redo ones.
    std::size_t drop = 0;
    while (drop + 1 < h.done && (h.steps.size() - drop > h.stepLimit || held > h.byteLimit))
        held -= stepFootprint(h.steps[drop++]);
    if (drop == 0)
        return;
    h.steps.erase(h.steps.begin(), h.steps.begin() + static_cast<std::ptrdiff_t>(drop));
    h.done -= drop;
    // The saved state was before a dropped step: no undo reaches it any more.
    if (h.savedAt && *h.savedAt < drop)
        h.savedAt.reset();
    else if (h.savedAt)
        *h.savedAt -= drop;
}

void ProjectDocument::apply(const EditStep& step, bool forward)
{
    if (!step.bytes.empty()) {
        auto bytes = std::make_unique<RecordBytes>(encodeRecord(project_.Record));
        for (const auto& r : step.bytes) {
            const auto& part = forward ? r.after : r.before;
            std::copy(part.begin(), part.end(), bytes->begin() + r.offset);
        }
        project_.Record = decodeRecord(*bytes);
    }
    for (const auto& f : step.fields)
        setContentField(project_.State, f.field, forward ? f.after : f.before);
    if (step.choicesBefore)
        project_.Choices = forward ? *step.choicesAfter : *step.choicesBefore;
    if (step.questionsBefore) {
        const auto& q = forward ? *step.questionsAfter : *step.questionsBefore;
        project_.Questions = q.pending;
        project_.QuestionsKnown = q.known;
    }
    if (step.pictureBefore)
        project_.MapPicture = forward ? *step.pictureAfter : *step.pictureBefore;
}

bool ProjectDocument::undo()
{
    noteEditsBeside();
    auto& h = history();
    if (h.done == 0)
        return false;
    const EditStep& step = h.steps[h.done - 1];
    apply(step, false);
    const ProjectChange told = step.told;
    --h.done;
    ++h.revision;
    settleRestored(told);
    return true;
}

bool ProjectDocument::redo()
{
    noteEditsBeside();
    auto& h = history();
    if (h.done >= h.steps.size())
        return false;
    const EditStep& step = h.steps[h.done];
    apply(step, true);
    const ProjectChange told = step.told;
    ++h.done;
    ++h.revision;
    settleRestored(told);
    return true;
}

} // namespace dorvan
