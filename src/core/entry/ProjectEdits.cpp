#include "core/entry/ProjectEdits.h"

#include "core/allocation/GroupSearch.h"
#include "core/entry/GroupEdits.h"
#include "core/entry/GroupList.h"
#include "core/entry/MapPlacement.h"
#include "core/entry/PlaceRelations.h"
#include "core/project/ProjectDocument.h"

namespace dorvan {

namespace {

// The names of the pages' steps, as the undo items may show them.
const EditCommand CriterionStep { .name = "Kritérium", .told = ProjectChange::Criteria };
const EditCommand ValueStep { .name = "Hodnota", .told = ProjectChange::Places };
const EditCommand RelationStep { .name = "Vzťahy miest", .told = ProjectChange::Places };
const EditCommand DistanceStep { .name = "Vzdialenosť", .told = ProjectChange::Places };
const EditCommand SettingsStep { .name = "Nastavenie", .told = ProjectChange::Settings };
const EditCommand GroupsStep { .name = "Skupiny", .told = ProjectChange::Groups };
const EditCommand CentresStep { .name = "Existujúce centrá", .told = ProjectChange::Groups };

} // namespace

void ProjectEdits::tickCriterion(Criterion criterion, bool on, bool allocationShown)
{
    EditCommand step = CriterionStep;
    if (weighsPlaces(criterion))
        step.told = step.told | rerunTold(allocationShown);
    ProjectDocument(project_).execute(step, [&] { project_.Record.setCriterion(criterion, on); });
}

PlaceValueCommit ProjectEdits::placeValues(PlaceValueKind kind, const std::vector<std::string>& cells,
    std::string_view separator, bool allocationShown)
{
    EditCommand step = ValueStep;
    step.told = step.told | rerunTold(allocationShown);
    return ProjectDocument(project_).execute(
        step, [&] { return commitPlaceValues(project_.Record, kind, cells, separator); });
}

void ProjectEdits::setValue(double TProjectRecord::*field, double value)
{
    ProjectDocument(project_).execute(ValueStep, [&] { project_.Record.*field = value; });
}

void ProjectEdits::setCount(std::int32_t TProjectRecord::*field, std::int32_t value)
{
    ProjectDocument(project_).execute(ValueStep, [&] { project_.Record.*field = value; });
}

void ProjectEdits::chooseCentral(const Text100& name, int placeCount)
{
    ProjectDocument(project_).execute(
        RelationStep, [&] { dorvan::chooseCentral(project_.Record, name, placeCount); });
}

void ProjectEdits::cancelCentral()
{
    ProjectDocument(project_).execute(RelationStep, [&] { dorvan::cancelCentral(project_.Record); });
}

bool ProjectEdits::addDepot(const Text100& name, int placeCount)
{
    return ProjectDocument(project_).execute(RelationStep, [&] {
        auto& r = project_.Record;
        if (addWarehouse(r, name) == 0)
            return false;
        if (!siteEntries(r, placeCount).dm) {
            r.LoadTimeDM = 0.0;
            r.CapacityDM = 0.0;
        }
        return true;
    });
}

bool ProjectEdits::removeDepot(const Text100& name)
{
    return ProjectDocument(project_).execute(RelationStep, [&] {
        auto& r = project_.Record;
        if (!removeWarehouse(r, name))
            return false;
        if (r.WarehouseCount <= 0) {
            r.LoadTimeDS = 0.0;
            r.CapacityDS = 0.0;
        }
        return true;
    });
}

bool ProjectEdits::addPriority(const Text100& name)
{
    return ProjectDocument(project_).execute(
        RelationStep, [&] { return dorvan::addPriority(project_.Record, name); });
}

bool ProjectEdits::removePriority(int position)
{
    return ProjectDocument(project_).execute(
        RelationStep, [&] { return dorvan::removePriority(project_.Record, position); });
}

int ProjectEdits::movePriority(int position, bool up)
{
    return ProjectDocument(project_).execute(
        RelationStep, [&] { return dorvan::movePriority(project_.Record, position, up); });
}

void ProjectEdits::setDistance(int a, int b, double km)
{
    ProjectDocument(project_).execute(DistanceStep, [&] {
        project_.Record.Distance[a][b] = km;
        project_.Record.Distance[b][a] = km;
    });
}

void ProjectEdits::setSettingsOn(bool on)
{
    ProjectDocument(project_).execute(SettingsStep, [&] { project_.Choices.SettingsOn = on; });
}

void ProjectEdits::setSettings(const CooperSettings& settings)
{
    ProjectDocument(project_).execute(SettingsStep, [&] { project_.Choices.Settings = settings; });
}

void ProjectEdits::setGroups(const DistributionGroups& groups, int groupCount)
{
    ProjectDocument(project_).execute(GroupsStep, [&] {
        project_.Choices.Groups = groups;
        project_.Record.GroupCount = groupCount;
    });
}

void ProjectEdits::takeProposedGroups(const std::vector<std::string>& lines, int groupCount)
{
    GroupEdits(project_).takeProposal(lines, groupCount);
}

void ProjectEdits::setExistingCentres(const std::vector<std::string>& names)
{
    ProjectDocument(project_).execute(CentresStep, [&] { project_.Choices.ExistingCentres = names; });
}

// ---------------------------------------------------------------------------------------------
// Depots and priorities

void ProjectEdits::relationsTogether(const std::function<void()>& edits)
{
    ProjectDocument(project_).execute(RelationStep, edits);
}

// ---- The picture page

void ProjectEdits::takePictureRange(PixelSize control)
{
    static const EditCommand PictureRangeStep { .name = "Rozsah obrázka" };
    ProjectDocument(project_).execute(PictureRangeStep, [&] {
        auto& s = project_.State;
        auto& r = project_.Record;
        if (!rangesFixed(r)) {
            const PictureRange range = pictureRangeOf(control);
            r.MapRangeX = range.x;
            r.MapRangeY = range.y;
        }
        s.PictureRangeX = r.MapRangeX;
        s.PictureRangeY = r.MapRangeY;
    });
}

// ---- The criteria page ----

ProjectChange ProjectEdits::rerunTold(bool allocationShown) const
{
    return allocationShown && project_.Choices.SettingsOn ? ProjectChange::RunInputs : ProjectChange {};
}

bool ProjectEdits::enterSingleValue(SingleValue value, std::string_view text)
{
    return ProjectDocument(project_).execute(
        ValueStep, [&] { return storeSingleValue(project_.Record, value, text); });
}

bool ProjectEdits::enterRouteLimit(RouteLimit limit, std::string_view text)
{
    return ProjectDocument(project_).execute(
        ValueStep, [&] { return storeRouteLimit(project_.Record, limit, text); });
}

// --- The settings page ---

namespace {

const EditCommand PrecisionTyped { .name = "Presnosť", .told = ProjectChange::Settings };
const EditCommand PrecisionTypedOn {
    .name = "Presnosť", .told = ProjectChange::Settings, .join = StepJoin::Previous
};
const EditCommand CorrectionTyped { .name = "Korekčná hodnota", .told = ProjectChange::Settings };
const EditCommand CorrectionTypedOn {
    .name = "Korekčná hodnota", .told = ProjectChange::Settings, .join = StepJoin::Previous
};
const EditCommand ChoiceStep { .name = "Nastavenie", .told = ProjectChange::Settings };
const EditCommand ChoiceRunStep { .name = "Nastavenie",
    .told = ProjectChange::Settings | ProjectChange::RunInputs };
const EditCommand RefusedText {
    .name = "Nastavenie", .told = ProjectChange::Settings, .join = StepJoin::PreviousElseNone
};

// The typing step to take: joined to the last step only when that one typed into the same field.
const EditCommand& typingStep(
    Project& project, const EditCommand& own, const EditCommand& on, bool continuing)
{
    const bool lastTypedHere = continuing && ProjectDocument(project).undoName() == own.name;
    return lastTypedHere ? on : own;
}

} // namespace

void ProjectEdits::typePrecision(const std::string& text, bool continuing)
{
    if (text == project_.Choices.Settings.precisionText())
        return;
    ProjectDocument(project_).execute(typingStep(project_, PrecisionTyped, PrecisionTypedOn, continuing),
        [&] { project_.Choices.Settings.setPrecisionText(text); });
}

void ProjectEdits::typeCorrection(const std::string& text, bool continuing)
{
    if (text == project_.Choices.Settings.correctionText())
        return;
    ProjectDocument(project_).execute(typingStep(project_, CorrectionTyped, CorrectionTypedOn, continuing),
        [&] { project_.Choices.Settings.setCorrectionText(text); });
}

void ProjectEdits::setStoppingRule(StoppingRule rule, bool runAgain)
{
    ProjectDocument(project_).execute(
        runAgain ? ChoiceRunStep : ChoiceStep, [&] { project_.Choices.Settings.rule = rule; });
}

void ProjectEdits::setStartPoint(StartPoint start, bool runAgain)
{
    ProjectDocument(project_).execute(
        runAgain ? ChoiceRunStep : ChoiceStep, [&] { project_.Choices.Settings.start = start; });
}

void ProjectEdits::resetPrecision()
{
    ProjectDocument(project_).execute(RefusedText, [&] { project_.Choices.Settings.resetPrecision(); });
}

void ProjectEdits::resetCorrection()
{
    ProjectDocument(project_).execute(RefusedText, [&] { project_.Choices.Settings.resetCorrection(); });
}

} // namespace dorvan
