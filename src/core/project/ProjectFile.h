#pragma once

#include "core/common/RgbPicture.h"
#include "core/project/ProjectRecord.h"
#include "core/project/RecordCodec.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dorvan {

// A project file that cannot be written or read, with a message for the user.
class ProjectFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file itself cannot be created (saving) or opened (opening): nothing was written or read.
class ProjectFileUnavailable : public ProjectFileError {
public:
    using ProjectFileError::ProjectFileError;
};

// "Vstupné údaje dorvan ( .mzd )|*.mzd|Všetky súbory|*.*" as a Qt filter.
inline constexpr const char* ProjectFileFilter = "Vstupné údaje dorvan ( .mzd ) (*.mzd);;Všetky súbory (*)";
inline constexpr const char* DefaultProjectFileName = "Novy.mzd";

// Why the system refused a file operation, in words for the user's message box (Slovak for the
// usual reasons, the system's own text for the rest).
std::string systemErrorText(int err);

// The name proposed by the save dialog: the last name used, else "Novy.mzd".
std::string proposedProjectFileName(const std::string& projectFileName);

// Appends ".mzd" unless the last four characters are one of the eight letter-case spellings
// of the extension, compared as a whole.
std::string withProjectExtension(const std::string& fileName);

// The status-bar progress display of saving and opening: after each picture row it says
// whether to draw, what text and how wide a bar. One tracker per phase.
class ProgressTracker {
public:
    struct Draw {
        int percent = 0;
        std::string text; // p right-aligned in three characters, then "%"
        int barLeft = 133, barTop = 18, barRight = 133, barBottom = 23;
        int textX = 0, textY = 3;
    };

    ProgressTracker(int pictureWidth, int pictureHeight)
        : width_(pictureWidth)
        , height_(pictureHeight)
    {
    }

    // After row y (0-based) is complete; w0 and w1 are the widths of status panels 0 and 1.
    std::optional<Draw> afterRow(int y, int w0, int w1);
    int step() const { return step_; }

private:
    int width_;
    int height_;
    int step_ = 0;
};

// Called after every picture row with the 0-based row index and the picture's size.
using RowProgress = std::function<void(int row, int width, int height)>;

// Writes the record and then the picture rows (red, green, blue per pixel, rows from the top)
// when the record says there is a picture. The bytes go to a temporary file in the same folder
// that replaces the target only after everything was written and flushed to disk, so a failed
// save leaves an existing file as it was. Pixels the picture lacks are written black.
// created is called once the file exists, before the first byte is written; a failure before
// that point is a ProjectFileUnavailable.
void saveProjectFile(const std::string& path, const TProjectRecord& record, const RgbPicture& picture,
    const RowProgress& progress = {}, const std::function<void()>& created = {});

// What the user is told after opening a project whose picture was cut short.
inline constexpr std::string_view TruncatedPictureMessage
    = "Obrázok v súbore je neúplný, chýbajúce body sú čierne !!!";

struct LoadedProject {
    TProjectRecord record;
    RgbPicture picture; // empty when the project has none
    bool pictureTruncated = false; // the file ended inside the picture: the rest is black
};

// Reads a project. Everything is checked before the caller replaces anything: a file shorter
// than the record, counts out of range, damaged name lengths, non-finite coordinates of the
// places and pictures beyond RgbPicture::MaxBytes are refused with a ProjectFileError (a file
// that cannot be opened at all with a ProjectFileUnavailable).
LoadedProject readProjectFile(const std::string& path, const RowProgress& progress = {});

// The same from bytes in memory (used by the file reader and by the fuzz target).
// maxPictureBytes lowers the picture bound (the fuzz target keeps its inputs cheap).
LoadedProject readProjectBytes(const std::uint8_t* data, std::size_t size, const RowProgress& progress = {},
    std::size_t maxPictureBytes = RgbPicture::MaxBytes);

// Builds the map picture from the picture rows read with a project: row by row from the top,
// calling progress after each row. picture must already have the size of rows (the caller
// takes the memory before it replaces anything of the project).
void buildMapPicture(const RgbPicture& rows, RgbPicture& picture, const RowProgress& progress = {});

// The checks of a decoded record; throws ProjectFileError naming the problem.
void validateRecord(const TProjectRecord& record, std::size_t maxPictureBytes = RgbPicture::MaxBytes);

} // namespace dorvan
