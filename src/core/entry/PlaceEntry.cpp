#include "core/entry/PlaceEntry.h"

#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"
#include "core/entry/ExistingCentres.h"
#include "core/entry/GroupEdits.h"
#include "core/entry/PicturePlacement.h"
#include "core/entry/PlaceList.h"
#include "core/project/Project.h"
#include "core/project/ProjectDocument.h"

#include <algorithm>
#include <optional>

namespace dorvan {

namespace {

std::optional<double> coordinate(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    if (!p.ok())
        return std::nullopt;
    return p.number->value();
}

// Whether a coordinate typed over in the place grid differs from the stored one as the grid
// shows it (four decimals): a value a file holds more finely is no move of its place.
bool coordinateChanged(double stored, double typed)
{
    const std::optional<Decimal4> a = toDecimal4(stored);
    const std::optional<Decimal4> b = toDecimal4(typed);
    if (a && b)
        return a->tenThousandths != b->tenThousandths;
    return stored != typed;
}

// The names of the entry's steps, as the undo items may show them.
const EditCommand PlaceCountCommand { .name = "Počet miest" };
const EditCommand TypedPlaceCommand { .name = "Pridanie miesta" };
const EditCommand ClickedPlaceCommand { .name = "Pridanie miesta na mape" };
const EditCommand EditedPlacesCommand { .name = "Úprava miest" };
const EditCommand DeletedPlaceCommand { .name = "Vymazanie miesta" };
const EditCommand DistanceCommand { .name = "Vzdialenosť" };
const EditCommand DistanceImportCommand { .name = "Import vzdialeností" };
// What follows a place (sorting, completing the list, finishing the distances) is part of it.
const EditCommand SortingCommand { .name = "Zoradenie miest", .join = StepJoin::Previous };
const EditCommand CompletionCommand { .name = "Dokončenie zoznamu miest", .join = StepJoin::Previous };
const EditCommand DistancesDoneCommand { .name = "Vzdialenosti", .join = StepJoin::Previous };

} // namespace

PlaceCaptions placeCaptions(int n)
{
    if (n == 0)
        return { " Vstupné hodnoty MIESTA ", "Meno MIESTA", "Súradnica X", "Súradnica Y" };
    const std::string s = std::to_string(n);
    return { " Vstupné hodnoty MIESTA_" + s, "Meno MIESTA_" + s, "Súradnica X_" + s, "Súradnica Y_" + s };
}

std::string_view nameOnEnterMessage(std::string_view name)
{
    return name.empty() ? BadPlaceNameText : std::string_view();
}

std::string_view xOnEnterMessage(std::string_view x)
{
    return coordinate(x) ? std::string_view() : BadCoordinateXText;
}

CountOutcome PlaceEntry::acceptCount(std::string_view text)
{
    knowQuestions();
    return ProjectDocument(project_).execute(PlaceCountCommand, [&]() -> CountOutcome {
        if (project_.State.AddPlacesMode)
            return acceptAddCount(text);
        if (project_.State.FirstEntryMode)
            return acceptFirstCount(text);
        return CountOutcome {};
    });
}

CountOutcome PlaceEntry::acceptAddCount(std::string_view text)
{
    auto& s = project_.State;
    auto& r = project_.Record;
    CountOutcome out { .handled = true, .showAddPrompt = true };
    // Places are added to those entered so far. While an addition is under way PlaceCount is its
    // planned total; counting on from there would leave the places not yet entered in the list
    // as nameless places at stale coordinates.
    const int entered = s.NextPlace >= 1 && s.NextPlace <= s.PlaceCount ? s.NextPlace - 1 : s.PlaceCount;
    const CountResult c = checkAddCount(text, entered);
    if (c.check == CountCheck::Invalid) {
        out.message = InvalidCountText;
        return out;
    }
    // A number at all fixes the input mode, even one over the limit.
    out.raiseFirstCountAccepted = true;
    s.NextPlace = entered + 1;
    if (c.check == CountCheck::TooMany) {
        out.message = TotalOver99Text;
        return out;
    }
    // The distance entry asks for the pairs of every place added since the list was complete,
    // also when the count is typed again during the addition; pairs an earlier addition left
    // unanswered stay asked.
    if (s.PlacesComplete && r.DistanceEntryState != 1)
        distanceQuestions().clear();
    s.PlacesComplete = false;
    s.AddCount = c.count;
    s.PlaceCount = entered + c.count;
    s.FirstEntryMode = false;
    r.EntryStateA = r.EntryStateB = r.DistanceEntryState = 1;
    out.askPlace = s.NextPlace;
    return out;
}

CountOutcome PlaceEntry::acceptFirstCount(std::string_view text)
{
    auto& s = project_.State;
    auto& r = project_.Record;
    CountOutcome out { .handled = true };
    s.AddPlacesMode = false;
    s.AddCount = 0;
    const CountResult c = checkFirstCount(text);
    if (c.check == CountCheck::TooMany) {
        out.message = TotalOver99Text;
        return out;
    }
    if (c.check == CountCheck::Invalid) {
        out.message = InvalidCountText;
        return out;
    }
    out.raiseFirstCountAccepted = true;
    s.PlaceCount = c.count;
    s.NextPlace = 1;
    r.EntryStateA = r.EntryStateB = r.DistanceEntryState = 0;
    project_.Questions.clear();
    project_.QuestionsKnown = true;
    out.askPlace = 1;
    return out;
}

std::string PlaceEntry::nameOnEnter(std::string_view name) const
{
    if (name.empty())
        return std::string(BadPlaceNameText);
    try {
        if (placeNamed(project_.Record, project_.State.NextPlace - 1, Text100::fromUtf8(name)) > 0)
            return placeExistsText(name);
    } catch (const CodePageError&) {
        // A character outside the code page: the OK button says so.
    }
    return {};
}

PlaceOutcome PlaceEntry::acceptPlace(const PlaceTexts& texts)
{
    knowQuestions();
    return ProjectDocument(project_).execute(TypedPlaceCommand, [&]() -> PlaceOutcome {
        auto& s = project_.State;
        auto& r = project_.Record;
        PlaceOutcome out;
        if (s.NextPlace > s.PlaceCount || s.NextPlace < 1)
            return out;
        out.handled = true;

        auto refuse = [&out](PlaceField field, std::string_view message) {
            out.refused = field;
            out.message = std::string(message);
            return out;
        };
        if (texts.name.empty())
            return refuse(PlaceField::Name, BadPlaceNameText);
        Text100 name;
        try {
            name = Text100::fromUtf8(texts.name);
        } catch (const CodePageError& e) {
            return refuse(PlaceField::Name, e.what());
        }
        if (placeNamed(r, s.NextPlace - 1, name) > 0)
            return refuse(PlaceField::Name, placeExistsText(texts.name));
        const std::optional<double> x = coordinate(texts.x);
        if (!x)
            return refuse(PlaceField::X, BadCoordinateXText);
        const std::optional<double> y = coordinate(texts.y);
        if (!y)
            return refuse(PlaceField::Y, BadCoordinateYText);

        const int p = s.NextPlace;
        storeNewPlace(r, p, name, *x, *y);
        askAboutPlace(p, p);
        // While all entered places share one spot the list cannot be allocated.
        s.CoordsDiffer = coordinatesDiffer(r, p);
        s.NextPlace = p + 1;
        out.stored = p;
        if (s.NextPlace <= s.PlaceCount)
            out.askPlace = s.NextPlace;
        return out;
    });
}

ListSettling PlaceEntry::settleTypedList()
{
    knowQuestions();
    return ProjectDocument(project_).execute(SortingCommand, [&] {
        auto& s = project_.State;
        ListSettling out;
        if (s.NextPlace <= 2)
            return out;
        out.settled = true;
        sortPlaces(s.NextPlace - 1);
        if (s.NextPlace > s.PlaceCount) {
            out.completed = true;
            out.completion = completeList();
        }
        return out;
    });
}

ClickTarget PlaceEntry::clickTarget() const
{
    const int p = std::max(1, project_.State.NextPlace);
    if (p > MaxPlaceCount)
        return { .message = std::string(PictureOver99Text) };
    const std::string label = picturePlaceLabel(p);
    if (placeNamed(project_.Record, p - 1, Text100::fromUtf8(label)) > 0)
        return { .message = placeExistsText(label) };
    return { .place = p, .setsRange = p == 1 };
}

ClickedPlace PlaceEntry::storeClickedPlace(int place, double x, double y)
{
    knowQuestions();
    return ProjectDocument(project_).execute(ClickedPlaceCommand, [&]() -> ClickedPlace {
        auto& s = project_.State;
        auto& r = project_.Record;
        storeNewPlace(r, place, Text100::fromUtf8(picturePlaceLabel(place)), x, y);
        askAboutPlace(place, place);
        // Place 1 is the reference point; a later place differing from it makes the list usable.
        s.CoordsDiffer = coordinatesDiffer(r, place);
        s.PlaceCount = place;
        s.NextPlace = place + 1;
        return { .raiseSettingsOn = place >= 2, .completesList = s.NextPlace > 3 };
    });
}

ListCompletion PlaceEntry::completeCutShortList()
{
    knowQuestions();
    return ProjectDocument(project_).execute(CompletionCommand, [&] { return completeList(); });
}

ListCompletion PlaceEntry::completeClickedList()
{
    knowQuestions();
    return ProjectDocument(project_).execute(CompletionCommand, [&] {
        sortPlaces(project_.State.PlaceCount);
        return completeList();
    });
}

ListCompletion PlaceEntry::completeList()
{
    auto& s = project_.State;
    s.EntryStarted = false;
    s.PlacesComplete = true;
    s.AddPlacesMode = true;
    s.EntryClosable = true;
    if (s.CoordsDiffer)
        return { .tickSettings = true };
    return { .message = AllAtOneSpotText };
}

bool PlaceEntry::enterDistance(double km)
{
    knowQuestions();
    return ProjectDocument(project_).execute(DistanceCommand, [&] {
        const int n = project_.State.PlaceCount;
        if (!dorvan::enterDistance(project_.Record, distanceQuestions(), n, km))
            return false;
        // The last pair answered finishes the entry within the same step: an undo asks that
        // pair again, with the entry open.
        if (!project_.Questions.next(n))
            finishDistances();
        return true;
    });
}

void PlaceEntry::knowQuestions()
{
    // Learning what the record asks is no edit: it happens before a command looks at the
    // project, so that an undo never forgets it.
    distanceQuestions();
}

namespace {

// What a record asks before the entry has seen how its list came about (an opened project): a
// started entry asks every pair of the places entered.
DistanceQuestions questionsOfRecord(const Project& p)
{
    DistanceQuestions q;
    const int state = p.Record.DistanceEntryState;
    if (state == 0 || state == 1)
        q.askAll(std::clamp(p.State.NextPlace - 1, 0, MaxPlaceCount));
    return q;
}

} // namespace

DistanceQuestions& PlaceEntry::distanceQuestions()
{
    if (!project_.QuestionsKnown) {
        project_.Questions = questionsOfRecord(project_);
        project_.QuestionsKnown = true;
    }
    return project_.Questions;
}

std::optional<DistanceCursor> PlaceEntry::askedPair() const
{
    const int n = project_.State.PlaceCount;
    if (project_.QuestionsKnown)
        return project_.Questions.next(n);
    return questionsOfRecord(project_).next(n);
}

void PlaceEntry::finishDistances()
{
    knowQuestions();
    return ProjectDocument(project_).execute(DistancesDoneCommand, [&] {
        project_.Record.DistanceEntryState = 2;
        project_.Questions.clear();
        project_.QuestionsKnown = true;
    });
}

bool PlaceEntry::importDistances(const DistanceTable& table)
{
    knowQuestions();
    return ProjectDocument(project_).execute(DistanceImportCommand, [&]() -> bool {
        auto& r = project_.Record;
        const int n = table.count;
        if (n < 2 || n > MaxPlaceCount || n != project_.State.PlaceCount || !project_.State.PlacesComplete
            || table.tenThousandths.size() != static_cast<std::size_t>(n) * static_cast<std::size_t>(n))
            return false;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                r.Distance[i][j] = i == j ? 0.0 : table.km(i, j);
        finishDistances();
        r.setCriterion(CritRealDistances, true);
        project_.changed(ProjectChange::Places | ProjectChange::Criteria);
        return true;
    });
}

void PlaceEntry::askAboutPlace(int place, int count)
{
    auto& r = project_.Record;
    straightenDistances(r, place, count);
    distanceQuestions().askPlace(place, count);
    // A finished entry asks again, for the pairs of this place only (the entry may have been
    // finished while an addition waited for its first place).
    if (r.DistanceEntryState == 2)
        r.DistanceEntryState = 1;
}

void PlaceEntry::sortPlaces(int count)
{
    distanceQuestions().reorder(sortPlacesByName(project_.Record, count));
}

void PlaceEntry::storeEditedPlaces(
    const std::vector<Text100>& names, const std::vector<double>& xs, const std::vector<double>& ys)
{
    knowQuestions();
    return ProjectDocument(project_).execute(EditedPlacesCommand, [&] {
        auto& s = project_.State;
        auto& r = project_.Record;
        const int n = std::min({ static_cast<int>(names.size()), static_cast<int>(xs.size()),
            static_cast<int>(ys.size()), MaxPlaceCount });
        std::vector<Text100> oldNames;
        std::vector<int> moved;
        for (int k = 1; k <= n; ++k) {
            const auto slot = static_cast<std::size_t>(k - 1);
            oldNames.push_back(r.PlaceName[k]);
            if (coordinateChanged(r.PlaceX[k], xs[slot]) || coordinateChanged(r.PlaceY[k], ys[slot]))
                moved.push_back(k);
            r.PlaceName[k] = names[slot];
            r.PlaceX[k] = xs[slot];
            r.PlaceY[k] = ys[slot];
        }
        for (int k : moved)
            askAboutPlace(k, n);
        std::vector<int> sameNumbers(static_cast<std::size_t>(n));
        for (int k = 1; k <= n; ++k)
            sameNumbers[static_cast<std::size_t>(k - 1)] = k;
        followPlaceNames(r, oldNames, sameNumbers);
        project_.Choices.ExistingCentres
            = followedExistingCentres(project_.Choices.ExistingCentres, r, { oldNames, sameNumbers });
        s.CoordsDiffer = coordinatesDiffer(r, n);
        if (s.PlaceCount >= 3)
            sortPlaces(n);
    });
}

PlaceListChange PlaceEntry::deletePlace(int number, int entered, bool relabel)
{
    knowQuestions();
    return ProjectDocument(project_).execute(DeletedPlaceCommand, [&]() -> PlaceListChange {
        auto& r = project_.Record;
        entered = std::clamp(entered, 0, MaxPlaceCount);
        PlaceListChange change;
        if (number < 1 || number > entered)
            return change;
        for (int k = 1; k <= entered; ++k) {
            change.oldNames.push_back(r.PlaceName[k]);
            change.newNumber.push_back(k < number ? k : k == number ? 0 : k - 1);
        }
        distanceQuestions().remove(number, entered);
        removePlace(r, number, entered);
        if (relabel)
            for (int k = number; k < entered; ++k)
                r.PlaceName[k] = Text100::fromUtf8(picturePlaceLabel(k));
        followPlaceNames(r, change.oldNames, change.newNumber);
        project_.Choices.ExistingCentres
            = followedExistingCentres(project_.Choices.ExistingCentres, r, change);
        followGroups(project_.Choices, r, change);
        return change;
    });
}

} // namespace dorvan
