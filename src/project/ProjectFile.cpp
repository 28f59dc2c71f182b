#include "project/ProjectFile.h"

#include "common/Rounding.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dorvan {

std::string proposedProjectFileName(const std::string& projectFileName)
{
    return projectFileName.empty() ? std::string(DefaultProjectFileName) : projectFileName;
}

std::string withProjectExtension(const std::string& fileName)
{
    static constexpr std::array<const char*, 8> spellings = {".mzd", ".Mzd", ".mZd", ".mzD",
                                                             ".MZd", ".MzD", ".mZD", ".MZD"};
    if (fileName.size() >= 4) {
        std::string_view last4(fileName.data() + fileName.size() - 4, 4);
        for (const char* s : spellings)
            if (last4 == s)
                return fileName;
    }
    return fileName + ".mzd";
}

std::optional<ProgressTracker::Draw> ProgressTracker::afterRow(int y, int w0, int w1)
{
    if (width_ < 1 || height_ < 1)
        return std::nullopt;
    // The share of completed rows, computed in the order the display always used.
    long double share = static_cast<long double>(y + 1) * width_
        / (static_cast<long double>(width_) * height_) * 100.0L;
    int p = roundToInt(share);
    if (!(step_ <= p && p <= 100))
        return std::nullopt;
    Draw d;
    d.percent = p;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3d%%", p);
    d.text = buf;
    d.barRight = 133 + roundToInt(static_cast<long double>(w1 - 4) / 100.0L * step_);
    d.textX = w0 + roundToInt(static_cast<long double>(w1) / 2.0L) - 13;
    ++step_;
    return d;
}

namespace {

std::string systemReason(int err)
{
    return std::strerror(err);
}

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A temporary file beside the target that is removed unless it was committed.
class TempFile {
public:
    explicit TempFile(const std::string& target) : target_(target)
    {
        path_ = target + ".XXXXXX";
        std::vector<char> templ(path_.begin(), path_.end());
        templ.push_back('\0');
        int fd = ::mkstemp(templ.data());
        if (fd < 0)
            throw ProjectFileError("Súbor \"" + target + "\" nemožno vytvoriť: " + systemReason(errno) + " !!!");
        path_.assign(templ.data());
        // Keep the mode of a file being replaced; a new file gets the usual mode.
        struct stat st {};
        mode_t mode;
        if (::stat(target.c_str(), &st) == 0) {
            mode = st.st_mode & 07777;
        } else {
            mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::fchmod(fd, mode);
        file_.reset(::fdopen(fd, "wb"));
        if (!file_) {
            ::close(fd);
            ::unlink(path_.c_str());
            throw ProjectFileError("Súbor \"" + target + "\" nemožno vytvoriť: " + systemReason(errno) + " !!!");
        }
        buffer_.resize(std::size_t{1} << 20);
        std::setvbuf(file_.get(), buffer_.data(), _IOFBF, buffer_.size());
    }
    ~TempFile()
    {
        if (!committed_) {
            file_.reset();
            ::unlink(path_.c_str());
        }
    }

    void write(const void* data, std::size_t n)
    {
        if (n != 0 && std::fwrite(data, 1, n, file_.get()) != n)
            fail();
    }

    void commit()
    {
        if (std::fflush(file_.get()) != 0)
            fail();
        if (::fsync(::fileno(file_.get())) != 0)
            fail();
        std::FILE* f = file_.release();
        if (std::fclose(f) != 0)
            fail();
        if (std::rename(path_.c_str(), target_.c_str()) != 0)
            fail();
        committed_ = true;
    }

private:
    [[noreturn]] void fail()
    {
        int err = errno;
        throw ProjectFileError("Zápis do súboru \"" + target_ + "\" zlyhal: " + systemReason(err) + " !!!");
    }

    std::string target_;
    std::string path_;
    FilePtr file_;
    std::vector<char> buffer_;
    bool committed_ = false;
};

// Reads exactly n bytes if they are there; returns how many it got.
class FileSource {
public:
    explicit FileSource(std::FILE* f) : f_(f) {}
    std::size_t read(void* dst, std::size_t n)
    {
        std::size_t got = std::fread(dst, 1, n, f_);
        if (got < n && std::ferror(f_))
            throw ProjectFileError(std::string("Čítanie súboru zlyhalo: ") + systemReason(errno) + " !!!");
        return got;
    }

private:
    std::FILE* f_;
};

class MemorySource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t read(void* dst, std::size_t n)
    {
        std::size_t got = std::min(n, size_ - pos_);
        if (got)
            std::memcpy(dst, data_ + pos_, got);
        pos_ += got;
        return got;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void checkText(const Text100& t, const char* what)
{
    if (t.rawLength() > Text100::Capacity)
        throw ProjectFileError(std::string("Poškodený súbor: dĺžka mena v zozname ") + what + " presahuje 100 znakov !!!");
}

template <typename Source>
LoadedProject readFrom(Source& src, const RowProgress& progress, std::size_t maxPictureBytes)
{
    RecordBytes bytes;
    if (src.read(bytes.data(), bytes.size()) != bytes.size())
        throw ProjectFileError("Súbor nie je projekt DORVAN: je kratší ako záznam projektu (124 680 bajtov) !!!");
    LoadedProject out;
    out.record = decodeRecord(bytes);
    validateRecord(out.record, maxPictureBytes);

    const TProjectRecord& r = out.record;
    if (!r.hasPicture())
        return out;
    out.picture.resize(r.PictureWidth, r.PictureHeight);
    const std::size_t rowBytes = out.picture.rowBytes();
    for (int y = 0; y < r.PictureHeight; ++y) {
        if (!out.pictureTruncated) {
            std::size_t got = src.read(out.picture.row(y), rowBytes);
            if (got < rowBytes)
                out.pictureTruncated = true;   // the rest of the picture stays black
        }
        if (progress)
            progress(y);
    }
    return out;
}

} // namespace

void validateRecord(const TProjectRecord& r, std::size_t maxPictureBytes)
{
    if (r.SavedPlaceCount < 0 || r.SavedPlaceCount > 99)
        throw ProjectFileError("Poškodený súbor: počet miest " + std::to_string(r.SavedPlaceCount)
                               + " je mimo rozsahu 0 až 99 !!!");
    auto checkCount = [](std::int32_t v, const char* what) {
        if (v < 0 || v > 100)
            throw ProjectFileError(std::string("Poškodený súbor: počet ") + what + " " + std::to_string(v)
                                   + " je mimo rozsahu 0 až 100 !!!");
    };
    checkCount(r.WarehouseCount, "skladov");
    checkCount(r.PriorityCount, "prioritných miest");
    checkCount(r.GroupCount, "skupín");
    std::int64_t groupTotal = 0;
    for (int k = 1; k <= r.GroupCount; ++k) {
        if (r.GroupPlaceCount[k] < 0 || r.GroupPlaceCount[k] > 100)
            throw ProjectFileError("Poškodený súbor: veľkosť skupiny " + std::to_string(k) + " je mimo rozsahu !!!");
        groupTotal += r.GroupPlaceCount[k];
    }
    if (groupTotal > 100)
        throw ProjectFileError("Poškodený súbor: skupiny majú spolu viac ako 100 miest !!!");
    for (int k = 1; k <= MaxPlaces; ++k) {
        checkText(r.PlaceName[k], "miest");
        checkText(r.WarehouseName[k], "skladov");
        checkText(r.PriorityName[k], "priorít");
        checkText(r.GroupedPlaceName[k], "skupín");
    }
    checkText(r.CentralName, "centrály");
    for (int k = 1; k <= r.SavedPlaceCount; ++k)
        if (!std::isfinite(r.PlaceX[k]) || !std::isfinite(r.PlaceY[k]))
            throw ProjectFileError("Poškodený súbor: súradnice miesta " + std::to_string(k) + " nie sú číslo !!!");
    if (r.PictureWidth < 0 || r.PictureHeight < 0)
        throw ProjectFileError("Poškodený súbor: záporná veľkosť obrázku !!!");
    if (r.hasPicture()
        && (!RgbPicture::sizeAcceptable(r.PictureWidth, r.PictureHeight)
            || static_cast<std::uint64_t>(r.PictureWidth) * static_cast<std::uint64_t>(r.PictureHeight) * 3u
                > maxPictureBytes))
        throw ProjectFileError("Obrázok projektu (" + std::to_string(r.PictureWidth) + " x "
                               + std::to_string(r.PictureHeight) + ") je väčší, ako program dokáže načítať !!!");
}

void saveProjectFile(const std::string& path, const TProjectRecord& record, const RgbPicture& picture,
                     const RowProgress& progress)
{
    TempFile out(path);
    const RecordBytes bytes = encodeRecord(record);
    out.write(bytes.data(), bytes.size());
    if (record.hasPicture()) {
        const int w = record.PictureWidth;
        std::vector<std::uint8_t> black;
        for (int y = 0; y < record.PictureHeight; ++y) {
            if (picture.width() == w && y < picture.height()) {
                out.write(picture.row(y), picture.rowBytes());
            } else {
                // The picture does not cover this row as the record describes it: copy what
                // there is and write black for the rest, so the file keeps its layout.
                black.assign(static_cast<std::size_t>(w) * 3u, 0);
                if (y < picture.height())
                    std::memcpy(black.data(), picture.row(y), std::min(black.size(), picture.rowBytes()));
                out.write(black.data(), black.size());
            }
            if (progress)
                progress(y);
        }
    }
    out.commit();
}

LoadedProject readProjectFile(const std::string& path, const RowProgress& progress)
{
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        throw ProjectFileError("Súbor \"" + path + "\" nemožno otvoriť: " + systemReason(errno) + " !!!");
    std::vector<char> buffer(std::size_t{1} << 20);
    std::setvbuf(f.get(), buffer.data(), _IOFBF, buffer.size());
    FileSource src(f.get());
    return readFrom(src, progress, RgbPicture::MaxBytes);
}

LoadedProject readProjectBytes(const std::uint8_t* data, std::size_t size, const RowProgress& progress,
                               std::size_t maxPictureBytes)
{
    MemorySource src(data, size);
    return readFrom(src, progress, maxPictureBytes);
}

} // namespace dorvan
