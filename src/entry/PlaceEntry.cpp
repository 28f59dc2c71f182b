#include "entry/PlaceEntry.h"

#include "common/CodePage.h"
#include "common/DecimalText.h"
#include "entry/PicturePlacement.h"
#include "entry/PlaceList.h"
#include "project/Project.h"

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
    if (project_.State.AddPlacesMode)
        return acceptAddCount(text);
    if (project_.State.FirstEntryMode)
        return acceptFirstCount(text);
    return {};
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
    // also when the count is typed again during the addition.
    if (s.PlacesComplete)
        placesBeforeAddition_ = entered;
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
    out.askPlace = 1;
    return out;
}

PlaceOutcome PlaceEntry::acceptPlace(const PlaceTexts& texts)
{
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
    const std::optional<double> x = coordinate(texts.x);
    if (!x)
        return refuse(PlaceField::X, BadCoordinateXText);
    const std::optional<double> y = coordinate(texts.y);
    if (!y)
        return refuse(PlaceField::Y, BadCoordinateYText);

    const int p = s.NextPlace;
    storeNewPlace(r, p, name, *x, *y);
    // While all entered places share one spot the list cannot be allocated.
    s.CoordsDiffer = coordinatesDiffer(r, p);
    s.NextPlace = p + 1;
    out.stored = p;
    if (s.NextPlace <= s.PlaceCount)
        out.askPlace = s.NextPlace;
    return out;
}

ListSettling PlaceEntry::settleTypedList()
{
    auto& s = project_.State;
    auto& r = project_.Record;
    ListSettling out;
    if (s.NextPlace <= 2)
        return out;
    out.settled = true;
    sortPlacesByName(r, s.NextPlace - 1);
    computeDistances(r, s.PlaceCount);
    if (s.NextPlace > s.PlaceCount) {
        out.completed = true;
        out.completion = completeList();
    }
    return out;
}

ClickTarget PlaceEntry::clickTarget() const
{
    const int p = std::max(1, project_.State.NextPlace);
    if (p > MaxPlaceCount)
        return { .message = PictureOver99Text };
    return { .place = p, .setsRange = p == 1 };
}

ClickedPlace PlaceEntry::storeClickedPlace(int place, double x, double y)
{
    auto& s = project_.State;
    auto& r = project_.Record;
    storeNewPlace(r, place, Text100::fromUtf8(picturePlaceLabel(place)), x, y);
    // Place 1 is the reference point; a later place differing from it makes the list usable.
    s.CoordsDiffer = coordinatesDiffer(r, place);
    s.PlaceCount = place;
    s.NextPlace = place + 1;
    return { .raiseSettingsOn = place >= 2, .completesList = s.NextPlace > 3 };
}

ListCompletion PlaceEntry::completeClickedList()
{
    auto& r = project_.Record;
    const int count = project_.State.PlaceCount;
    sortPlacesByName(r, count);
    computeDistances(r, count);
    return completeList();
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

} // namespace dorvan
