#pragma once

#include "core/entry/MapPlacement.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceRelations.h"
#include "core/project/Project.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// "The project as opened": the criterion boxes as the file's bytes tick them, the groups the
// file stores, the settings at their defaults, and "Riešenie DORVAN" on when the places can be
// allocated (at least two of them, not all at one spot). The program's window shows these
// choices after "Otvor ako ..."; the command line runs on them.
EntryChoices choicesAsOpened(const TProjectRecord& record, int placeCount);

inline constexpr std::string_view BadGridCoordinateText = "Chybné zadanie SÚRADNICE !!!";

// A cell of the place grid typed over that cannot be stored: its place (row) and column (1 the
// name, 2 X, 3 Y), and why.
struct GridRefusal {
    int row = 0;
    int column = 0;
    std::string message;
};

// What deleting a place did to the list, for the windows that show it.
struct PlaceDeletion {
    PlaceListChange change; // for the lists that follow the places (groups, depots, ...)
    bool settingsOff = false; // fewer than two places: "Riešenie DORVAN" goes off
    // The typed entry under way ended with the deletion. With places left it completed the
    // list (completion says how); with none left the entry boxes simply close.
    bool entryEnded = false;
    std::optional<ListCompletion> completion;
};

// The life of the open project: each transition is one function that leaves the record, the
// choices and the working state consistent. An edit (places added, moved, renamed or deleted,
// a map taken, distances imported) is one command of the project's document, undone and redone
// as one step; a new, opened or closed project starts a clean history and a save marks its
// saved point. The windows call these and show the result. The flags that tell which windows
// are open stay with the windows.
class ProjectSession {
public:
    explicit ProjectSession(Project& project)
        : project_(project)
        , places_(project)
    {
    }

    // Place entry under way: counts, typed and clicked places, grid edits.
    PlaceEntry& places() { return places_; }

    // "Nový": an empty project awaiting its first count, no file, no picture, no choices.
    void startNew();

    // "Otvor ako ...": the checked record of `file` becomes the project, its list complete and
    // open for additions, its choices those of the project as opened. The picture, if any,
    // follows with takePicture; nothing of it is kept from before.
    void open(const TProjectRecord& record, const std::string& file);
    void takePicture(RgbPicture picture);
    // What the windows did to show the opened project is no change of it.
    void openShown();
    // An imported place list shown as an opened project: it is one step of its own, whose undo
    // leaves the project as "Nový" does; that empty project is the saved point.
    void importShown();
    // An open that was cancelled or refused leaves no picture and no add mode behind.
    void openCancelled();

    // The data-entry window closed: the project with its picture and choices is gone.
    void close();

    // A map picture chosen on the picture page of a new project: the project owns it, the
    // record takes its size, and the clicked places start again at place 1.
    void takeMapPicture(RgbPicture picture);
    // The same for a georeferenced map fitted to the project (the places move with its origin)
    // and for a plain picture given its size in kilometres.
    void takeFittedMap(geo::MapFit fit);
    void takeScaledPicture(RgbPicture picture, ScaleKm scale);

    // "Riešenie DORVAN" opened its window: a later addition of places starts as a first entry
    // would, and the entry counts as started.
    void allocationOpened();

    // A first count or a count of places to add was accepted and the entry began.
    CountOutcome acceptCount(std::string_view text) { return places_.acceptCount(text); }

    // Place `row` of the typed list goes; an unfinished entry ends with the places entered.
    PlaceDeletion deleteTypedPlace(int row);
    // Place `row` of the list clicked on the picture goes; the later places take the labels of
    // their new numbers.
    PlaceDeletion deletePicturePlace(int row);

    // Places 1..n typed over in the place grid (renamed or moved): the texts of each row. They
    // are checked column by column, top to bottom; at the first bad cell nothing is stored and
    // the refusal tells which cell and why. Otherwise the places are stored and sorted again.
    std::optional<GridRefusal> editPlaces(const std::vector<PlaceTexts>& rows);

    // A matrix of real distances imported for the complete list (see PlaceEntry): one change
    // of the project. False, with nothing changed, when the list is not complete or the table
    // has another size.
    bool importDistances(const DistanceTable& table) { return places_.importDistances(table); }

    // The places a save stores: those entered so far, a list being typed included.
    int placesToSave() const;
    // A save is refused while the places to save all share one spot (or there are none).
    bool savable() const;
    // What saving sets in the record: the groups (or the groups criterion off), the place
    // count saved, and the picture's coordinate range (none without a picture).
    void prepareSave();
    // The save dialog was cancelled.
    void saveCancelled();
    // The file was written: the project belongs to it and has no unsaved changes.
    void saved(const std::string& file);

private:
    PlaceDeletion deleteTypedPlaceNow(int row);
    std::optional<GridRefusal> editPlacesNow(const std::vector<PlaceTexts>& rows);
    void prepareSaveNow();
    PlaceDeletion afterDeletion(PlaceListChange change);

    Project& project_;
    PlaceEntry places_;
};

} // namespace dorvan
