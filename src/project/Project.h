#pragma once

#include "common/RgbPicture.h"
#include "project/ProjectRecord.h"

#include <cstdint>
#include <string>

namespace dorvan {

inline constexpr const char* ProgramTitleText = "Program DORVAN verzia 2.0";

// The state shared by the windows that is never saved: counters, mode flags and one flag per
// child window.
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
    bool DataEntryOpen = false;
    bool CooperWindowOpen = false;
    bool NetworkWindowOpen = false;
    bool GraphWindowOpen = false;
    bool HelpWindowOpen = false;
    // Set by the code about to close that window, so it closes without asking.
    bool CooperClosedByProgram = false;
    bool NetworkClosedByProgram = false;
    bool GraphClosedByProgram = false;
    bool CoordsDiffer = false;
    std::string ProgramTitle; // UTF-8
    std::string ProjectFileName; // UTF-8, as chosen in the last save or open dialog
    bool MapPictureOwned = false;
};

// The open project: the record, the working state and the map picture, owned by the main
// window for the whole run; child windows hold a reference to it.
struct Project {
    TProjectRecord Record;
    WorkingState State;
    RgbPicture MapPicture;

    // What the main window does on creation: the record starts from zero bytes, then takes
    // its start values, and the working state takes its start flags.
    void resetAtStart()
    {
        Record = TProjectRecord {};
        ResetProjectAtStart(Record);
        // Every other flag and counter starts at zero or false.
        State = WorkingState {};
        State.ProgramTitle = ProgramTitleText;
        State.EntryWindowClosed = true;
        State.FirstEntryMode = true;
        MapPicture.clear();
    }
};

} // namespace dorvan
