#include "core/entry/ProjectSession.h"

#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"
#include "core/entry/ExistingCentres.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"
#include "core/project/ProjectDocument.h"

#include <algorithm>
#include <utility>

namespace dorvan {

EntryChoices choicesAsOpened(const TProjectRecord& record, int placeCount)
{
    EntryChoices c;
    c.SettingsOn = coordinatesDiffer(record, placeCount);
    c.Groups = storedGroups(record, placeCount);
    c.ExistingCentres = storedExistingCentres(record, placeCount);
    return c;
}

namespace {

// No picture: its size and coordinate range go from the record, the picture from the project.
void dropPicture(Project& p)
{
    p.Record.PictureHeight = 0;
    p.Record.PictureWidth = 0;
    p.Record.MapRangeX = 0;
    p.Record.MapRangeY = 0;
    p.State.MapPictureOwned = false;
    p.MapPicture.clear();
}

const EditCommand MapTakenStep { .name = "Mapa", .picture = true };
const EditCommand DeletedPlaceStep { .name = "Vymazanie miesta" };
const EditCommand EditedPlacesStep { .name = "Úprava miest" };
const EditCommand ImportStep { .name = "Import miest", .told = ProjectChange::Places };
// What saving sets in the record belongs to the last edit, or to none.
const EditCommand SavingStep { .name = "Uloženie", .join = StepJoin::PreviousElseNone };

// The distance entry starts again from what the record says of it.
void forgetQuestions(Project& p)
{
    p.Questions.clear();
    p.QuestionsKnown = false;
}

// The content of a new project: no places, no picture, no choices.
void clearContent(Project& p)
{
    auto& s = p.State;
    ResetProjectForNew(p.Record);
    // The coordinate reference belongs to the places, which go (unlike entries above the count).
    geo::clearProjectReference(p.Record);
    dropPicture(p);
    s.AddPlacesMode = false;
    s.FirstEntryMode = true;
    s.PlaceCount = 0;
    s.NextPlace = 1;
    // No places, so none that differ (the last project's verdict went with it).
    s.CoordsDiffer = false;
    s.PlacesComplete = false;
    s.EntryStarted = true;
    s.EntryClosable = false;
    p.Choices = EntryChoices {};
    forgetQuestions(p);
}

} // namespace

void ProjectSession::startNew()
{
    auto& s = project_.State;
    clearContent(project_);
    s.OpenCriterionPages = 0;
    s.PictureMode = false;
    // A new project has no file yet: saving proposes "Novy.mzd" and asks before it replaces
    // any existing file.
    s.ProjectFileName.clear();
    s.ProjectFile.clear();
    ProjectDocument(project_).startClean();
}

void ProjectSession::importShown()
{
    ProjectDocument(project_).startCleanBefore(ImportStep, [this] { clearContent(project_); });
}

void ProjectSession::open(const TProjectRecord& record, const std::string& file)
{
    auto& s = project_.State;
    project_.Record = record;
    project_.MapPicture.clear();
    s.MapPictureOwned = false;
    s.PictureMode = record.hasPicture();
    s.PlaceCount = std::clamp(record.SavedPlaceCount, 0, MaxPlaceCount);
    s.NextPlace = s.PlaceCount + 1;
    s.PictureRangeX = record.MapRangeX;
    s.PictureRangeY = record.MapRangeY;
    s.ProjectFileName = file;
    s.ProjectFile = file;
    // A file may hold fewer than two places, or places all at one spot: no allocation can be
    // made of them, so the solution waits until the list is completed as typing would.
    s.CoordsDiffer = coordinatesDiffer(record, s.PlaceCount);
    s.AddPlacesMode = true;
    s.PlacesComplete = true;
    s.EntryClosable = true;
    project_.Choices = choicesAsOpened(record, s.PlaceCount);
    forgetQuestions(project_);
    ProjectDocument(project_).startClean();
}

void ProjectSession::takePicture(RgbPicture picture)
{
    project_.MapPicture = std::move(picture);
    project_.State.MapPictureOwned = !project_.MapPicture.empty();
}

void ProjectSession::openShown()
{
    ProjectDocument(project_).startClean();
}

void ProjectSession::openCancelled()
{
    project_.State.AddPlacesMode = false;
    dropPicture(project_);
}

void ProjectSession::close()
{
    auto& s = project_.State;
    s.AddPlacesMode = false;
    s.EntryClosable = false;
    s.PlacesComplete = false;
    // With the window its boxes go: nothing is ticked any more.
    project_.Choices = EntryChoices {};
    geo::clearProjectReference(project_.Record);
    dropPicture(project_);
    forgetQuestions(project_);
    ProjectDocument(project_).startClean();
}

void ProjectSession::takeMapPicture(RgbPicture picture)
{
    ProjectDocument(project_).execute(MapTakenStep, [&] {
        project_.MapPicture = std::move(picture);
        project_.Record.PictureHeight = project_.MapPicture.height();
        project_.Record.PictureWidth = project_.MapPicture.width();
        project_.State.MapPictureOwned = true;
        project_.State.NextPlace = 1;
    });
}

void ProjectSession::takeFittedMap(geo::MapFit fit)
{
    ProjectDocument(project_).execute(MapTakenStep, [&] {
        placeFittedMap(project_, placesToSave(), std::move(fit));
        project_.State.NextPlace = 1;
    });
}

void ProjectSession::takeScaledPicture(RgbPicture picture, ScaleKm scale)
{
    ProjectDocument(project_).execute(MapTakenStep, [&] {
        placeScaledPicture(project_, std::move(picture), scale);
        project_.State.NextPlace = 1;
    });
}

void ProjectSession::allocationOpened()
{
    auto& s = project_.State;
    s.FirstEntryMode = true;
    s.PlacesComplete = false;
    s.EntryStarted = true;
}

PlaceDeletion ProjectSession::deleteTypedPlace(int row)
{
    places_.distanceQuestions(); // what the record asks, learnt before the step (no edit)
    return ProjectDocument(project_).execute(DeletedPlaceStep, [&] { return deleteTypedPlaceNow(row); });
}

PlaceDeletion ProjectSession::deleteTypedPlaceNow(int row)
{
    auto& s = project_.State;
    const bool entryUnfinished = s.NextPlace <= s.PlaceCount;
    const int entered = std::clamp(s.NextPlace - 1, 0, MaxPlaceCount);
    PlaceDeletion d = afterDeletion(places_.deletePlace(row, entered, false));
    // The entry under way ends with the places entered: the boxes would otherwise go on asking
    // for a place that no OK can store any more.
    if (entryUnfinished) {
        d.entryEnded = true;
        if (s.PlaceCount > 0)
            d.completion = places_.completeCutShortList();
    }
    return d;
}

PlaceDeletion ProjectSession::deletePicturePlace(int row)
{
    places_.distanceQuestions();
    return ProjectDocument(project_).execute(DeletedPlaceStep, [&] {
        const int entered = std::clamp(project_.State.NextPlace - 1, 0, MaxPlaceCount);
        return afterDeletion(places_.deletePlace(row, entered, true));
    });
}

PlaceDeletion ProjectSession::afterDeletion(PlaceListChange change)
{
    auto& s = project_.State;
    PlaceDeletion d;
    const bool deleted
        = std::find(change.newNumber.begin(), change.newNumber.end(), 0) != change.newNumber.end();
    d.change = std::move(change);
    if (!deleted)
        return d;
    s.NextPlace = std::clamp(s.NextPlace - 1, 0, MaxPlaceCount);
    s.PlaceCount = s.NextPlace - 1;
    s.CoordsDiffer = coordinatesDiffer(project_.Record, s.PlaceCount);
    // Fewer than two places cannot be allocated.
    d.settingsOff = s.PlaceCount < 2;
    return d;
}

std::optional<GridRefusal> ProjectSession::editPlaces(const std::vector<PlaceTexts>& rows)
{
    places_.distanceQuestions();
    return ProjectDocument(project_).execute(EditedPlacesStep, [&] { return editPlacesNow(rows); });
}

std::optional<GridRefusal> ProjectSession::editPlacesNow(const std::vector<PlaceTexts>& rows)
{
    const std::size_t n = rows.size();
    std::vector<Text100> names(n);
    for (std::size_t k = 0; k < n; ++k) {
        const int row = static_cast<int>(k) + 1;
        if (rows[k].name.empty())
            return GridRefusal { row, 1, std::string(BadPlaceNameText) };
        try {
            names[k] = Text100::fromUtf8(rows[k].name);
        } catch (const CodePageError& e) {
            return GridRefusal { row, 1, e.what() };
        }
    }
    // A renamed place may not take the name of another; names a file already repeats stay.
    for (std::size_t k = 0; k < n; ++k) {
        const int row = static_cast<int>(k) + 1;
        if (row <= MaxPlaceCount && names[k] == project_.Record.PlaceName[row])
            continue;
        const std::string key = placeNameKey(names[k].bytes());
        bool taken = false;
        for (std::size_t j = 0; j < n && !taken; ++j)
            taken = j != k && placeNameKey(names[j].bytes()) == key;
        // Places after the rows keep their names.
        for (int j = static_cast<int>(n) + 1; j <= placesToSave() && !taken; ++j)
            taken = placeNameKey(project_.Record.PlaceName[j].bytes()) == key;
        if (taken)
            return GridRefusal { row, 1, placeExistsText(rows[k].name) };
    }
    std::vector<double> xs(n), ys(n);
    for (int column : { 2, 3 }) {
        for (std::size_t k = 0; k < n; ++k) {
            const DecimalParse p = parseDecimal4(column == 2 ? rows[k].x : rows[k].y);
            if (!p.ok())
                return GridRefusal { static_cast<int>(k) + 1, column, std::string(BadGridCoordinateText) };
            (column == 2 ? xs : ys)[k] = p.number->value();
        }
    }
    places_.storeEditedPlaces(names, xs, ys);
    return std::nullopt;
}

int ProjectSession::placesToSave() const
{
    const auto& s = project_.State;
    // A list still being typed is saved with the places entered so far: the planned rest has
    // no names or coordinates yet, and its slots may still hold an earlier project's places.
    return std::clamp(std::min(s.PlaceCount, s.NextPlace - 1), 0, MaxPlaceCount);
}

bool ProjectSession::savable() const
{
    // Judged on the places to save: a list started again at place 1 has none, whatever it had
    // before.
    return project_.State.CoordsDiffer && coordinatesDiffer(project_.Record, placesToSave());
}

void ProjectSession::prepareSave()
{
    ProjectDocument(project_).execute(SavingStep, [&] { prepareSaveNow(); });
}

void ProjectSession::prepareSaveNow()
{
    auto& r = project_.Record;
    const auto& s = project_.State;
    if (project_.ticked(CritGroups))
        storeGroups(project_.Choices.Groups, r.GroupCount, r);
    else
        r.setCriterion(CritGroups, false);
    r.SavedPlaceCount = placesToSave();
    // The existing centres belong to the places, whether groups are on or not.
    storeExistingCentres(project_.Choices.ExistingCentres, r.SavedPlaceCount, r);
    if (r.hasPicture()) {
        r.MapRangeX = s.PictureRangeX;
        r.MapRangeY = s.PictureRangeY;
    } else {
        r.MapRangeX = 0;
        r.MapRangeY = 0;
    }
}

void ProjectSession::saveCancelled()
{
    project_.State.AddPlacesMode = false;
}

void ProjectSession::saved(const std::string& file)
{
    project_.State.ProjectFile = file;
    ProjectDocument(project_).markSaved();
}

} // namespace dorvan
