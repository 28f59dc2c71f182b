#pragma once

#include "core/entry/PlaceRelations.h"
#include "core/project/ProjectRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

struct Project;

// Messages of place entry (UTF-8), shown exactly as written.
inline constexpr std::string_view InvalidCountText = "Chybné zadanie!!!";
inline constexpr std::string_view TotalOver99Text = "Chybné zadanie - celkový počet MAX 99 !!!";
inline constexpr std::string_view BadPlaceNameText = "Chybné zadanie MENA MIESTA !!!";
inline constexpr std::string_view BadCoordinateXText = "Chybné zadanie SÚRADNICE X !!!";
inline constexpr std::string_view BadCoordinateYText = "Chybné zadanie SÚRADNICE Y !!!";
inline constexpr std::string_view AllAtOneSpotText = "Nesmú byť všetky rovnaké SÚRADNICE !!!";
inline constexpr std::string_view PictureOver99Text = "Celkový počet miest - MAX 99 !!!";
// The caption of the count field once a list is complete.
inline constexpr std::string_view AddPlacesPromptText = " Koľko miest doplniť ? ";

// The captions of the entry boxes while place n is asked for; n = 0 gives those at rest.
struct PlaceCaptions {
    std::string group;
    std::string name;
    std::string x;
    std::string y;
};
PlaceCaptions placeCaptions(int n);

// Enter in the name or the X box only looks at that box; the empty view means it is fine.
std::string_view nameOnEnterMessage(std::string_view name);
std::string_view xOnEnterMessage(std::string_view x);

// A count typed into the count field.
struct CountOutcome {
    bool handled = false; // false: the field means nothing now and nothing happens
    bool showAddPrompt = false; // first of all the field is captioned as asking for places to add
    bool raiseFirstCountAccepted = false; // the main window's "first count accepted" event
    std::string_view message {}; // not empty: refused; the field is emptied and takes the focus
    int askPlace = 0; // accepted: the entry boxes open for this place
};

// The texts of the name, X and Y boxes.
struct PlaceTexts {
    std::string_view name;
    std::string_view x;
    std::string_view y;
};
enum class PlaceField { None, Name, X, Y };

// One typed place.
struct PlaceOutcome {
    bool handled = false; // false: no place is awaited and nothing happens
    std::string message; // a refusal: the box `refused` is emptied and takes the focus
    PlaceField refused = PlaceField::None;
    int stored = 0; // the number the place was stored under (0: refused)
    int askPlace = 0; // stored and another place awaited: the boxes ask for this one
};

// A complete list: either the settings box is ticked or the user is told that every place
// shares one spot. The main window always hears of it ("last place entered").
struct ListCompletion {
    bool tickSettings = false;
    std::string_view message {};
};

// After a typed place, from the third on: the list sorted and the distances recomputed.
struct ListSettling {
    bool settled = false;
    bool completed = false;
    ListCompletion completion;
};

// A click on the map picture.
struct ClickTarget {
    int place = 0; // the place the click makes (0: refused)
    std::string message {};
    bool setsRange = false; // the first place fixes the coordinate range of the picture
};
struct ClickedPlace {
    bool raiseSettingsOn = false; // "Riešenie DORVAN" may follow from the second place on
    bool completesList = false; // from the third place on every click completes the list
};

// The rules of entering a list of places: the count of a first list and of places to add, each
// typed place, and the completion of a list typed or clicked on the map picture. It works on the
// project's record and working state, each change one command of the project's document (a
// sorting or completion that follows a place joins that place's step); the window shows what
// the outcomes say.
class PlaceEntry {
public:
    explicit PlaceEntry(Project& project)
        : project_(project)
    {
    }

    // The count field: in the first entry a total of 2..99, once a list exists places to add.
    CountOutcome acceptCount(std::string_view text);

    // Enter in the name box: an empty name, or the name of a place entered before (the same
    // place in any case and spacing, "Miesto NAME už existuje !!!"); empty when it is fine.
    std::string nameOnEnter(std::string_view name) const;

    // The place awaited (NextPlace), stored unsorted; NextPlace moves on. A name that is
    // another place's already is refused.
    PlaceOutcome acceptPlace(const PlaceTexts& texts);
    // Follows every acceptPlace that was handled, refused or not.
    ListSettling settleTypedList();

    // The picture page: which place a click makes, storing it, and completing the list.
    ClickTarget clickTarget() const;
    ClickedPlace storeClickedPlace(int place, double x, double y);
    ListCompletion completeClickedList();

    // The places 1..count typed over in the place grid (names, X and Y by row), stored and
    // sorted again. A place whose coordinates changed gets straight-line distances again and
    // its pairs are asked anew; every other typed distance stays with its pair. The depot and
    // priority lists follow renamed places.
    void storeEditedPlaces(
        const std::vector<Text100>& names, const std::vector<double>& xs, const std::vector<double>& ys);
    // Place `number` of the `entered` places goes, with its row and column of distances and its
    // name in the depot and priority lists. On the picture page the later places take the
    // labels of their new numbers (relabel). Returns the change, for the lists that follow it.
    PlaceListChange deletePlace(int number, int entered, bool relabel);
    // A deletion cut an unfinished entry short: the places entered are the whole list now.
    ListCompletion completeCutShortList();

    // The pairs the distance entry still asks for. Until the entry has seen how the list came
    // about (an opened project), a started entry asks every pair of the list.
    DistanceQuestions& distanceQuestions();
    // The pair the distance entry asks next among the places, read without learning anything
    // into the project (a view may ask it while it shows the project); none when nothing is asked.
    std::optional<DistanceCursor> askedPair() const;
    // The distance of the pair asked next among the places, stored for both directions, as one
    // step; the last pair finishes the entry (state 2) in the same step. False when no pair is
    // asked.
    bool enterDistance(double km);
    // Every pair has its value: the entry is finished (state 2). Nothing changes when it is.
    void finishDistances();
    // A whole matrix for places 1..table.count (the complete list) at once: the record holds
    // it as if every pair had been typed, the entry is finished and "Reálne vzdialenosti medzi
    // miestami" is ticked, in the record's byte and in the choices. Pairs of places beyond the
    // table are left as they are. Returns false, changing nothing, for a table of another size
    // than the list.
    bool importDistances(const DistanceTable& table);

private:
    void knowQuestions();
    CountOutcome acceptAddCount(std::string_view text);
    CountOutcome acceptFirstCount(std::string_view text);
    ListCompletion completeList();
    // Sorts places 1..count; the distances and the questions move with their places.
    void sortPlaces(int count);
    // A new or moved place: straight-line distances to places 1..count, and its pairs asked.
    void askAboutPlace(int place, int count);

    Project& project_;
};

} // namespace dorvan
