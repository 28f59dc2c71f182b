#include "core/project/ProjectFile.h"

#include "core/common/Rounding.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

std::string systemErrorText(int err)
{
    switch (err) {
    case ENOENT:
        return "súbor alebo priečinok neexistuje";
    case EACCES:
    case EPERM:
        return "prístup zamietnutý";
    case EISDIR:
        return "je to priečinok";
    case ENOTDIR:
        return "časť cesty nie je priečinok";
    case ENOSPC:
        return "na disku nie je dosť miesta";
    case EDQUOT:
        return "prekročená kvóta disku";
    case EFBIG:
        return "súbor je príliš veľký";
    case EROFS:
        return "disk je len na čítanie";
    case ENAMETOOLONG:
        return "meno súboru je príliš dlhé";
    case EIO:
        return "chyba pri čítaní alebo zápise na disk";
    case EMFILE:
    case ENFILE:
        return "príliš veľa otvorených súborov";
    case ELOOP:
        return "príliš veľa symbolických odkazov";
    case EBUSY:
    case ETXTBSY:
        return "súbor je používaný";
    default:
        return std::strerror(err);
    }
}

namespace {

std::string systemReason(int err)
{
    return systemErrorText(err);
}

// Retries reads and writes that the system cut short or interrupted.
bool writeAll(int fd, const std::uint8_t* data, std::size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// The folder of a path and its last component.
std::pair<std::string, std::string> splitPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return { ".", path };
    return { slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1) };
}

// "NAME.XXXXXX" as mkstemp makes it: six letters or digits after the target's name and a dot.
bool isTemporaryOf(const std::string& entry, const std::string& name)
{
    if (entry.size() != name.size() + 7 || entry.compare(0, name.size(), name) != 0 || entry[name.size()] != '.')
        return false;
    return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(name.size()) + 1, entry.end(),
        [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes the temporaries of earlier saves of this target that were cut short (the program
// killed, the power lost). A running save holds a lock on its temporary, so what can be
// locked here belongs to no save any more.
void removeStaleTemporaries(const std::string& target)
{
    const auto [folder, name] = splitPath(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir)) {
        const std::string entry = e->d_name;
        if (!isTemporaryOf(entry, name))
            continue;
        const std::string path = folder + "/" + entry;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// The mode of a file being replaced, or the usual mode of a new file.
mode_t modeFor(const std::string& target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A temporary file beside the target that becomes the target only when everything was written.
// Where the file system allows it, the file has no name until then (O_TMPFILE), so a save cut
// short leaves nothing behind; it is linked under a temporary name and renamed over the target,
// since a link cannot replace a file. Elsewhere it is an mkstemp file, locked while the save
// runs, that the next save into the folder removes if the save never ended.
class TempFile {
public:
    explicit TempFile(const std::string& target) : target_(target)
    {
        removeStaleTemporaries(target);
        const mode_t mode = modeFor(target);
        fd_ = ::open(splitPath(target).first.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd_ < 0) {
            std::string templ = target + ".XXXXXX";
            fd_ = ::mkstemp(templ.data());
            if (fd_ < 0)
                throw ProjectFileUnavailable("Súbor \"" + target + "\" nemožno vytvoriť: " + systemReason(errno)
                                             + " !!!");
            path_ = templ;
            ::fchmod(fd_, mode);
        }
        ::flock(fd_, LOCK_EX | LOCK_NB);
    }
    ~TempFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_ && !path_.empty())
            ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Whether the file has no name yet (tests).
    bool unnamed() const { return path_.empty(); }

    void write(const std::uint8_t* data, std::size_t n)
    {
        if (!writeAll(fd_, data, n))
            fail();
    }

    void commit()
    {
        if (::fsync(fd_) != 0)
            fail();
        if (path_.empty())
            linkUnderTemporaryName();
        // The lock is held until the rename, so a save starting meanwhile leaves this file alone.
        if (std::rename(path_.c_str(), target_.c_str()) != 0)
            fail();
        committed_ = true;
        // Everything reached the disk with the fsync above; the close only ends the lock.
        ::close(fd_);
        fd_ = -1;
    }

private:
    void linkUnderTemporaryName()
    {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string templ = target_ + ".XXXXXX";
            // mkstemp only to draw a free name; the name is taken over by the link at once.
            const int probe = ::mkstemp(templ.data());
            if (probe < 0)
                fail();
            ::close(probe);
            ::unlink(templ.c_str());
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, templ.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                path_ = templ;
                return;
            }
            if (errno != EEXIST)
                fail();
        }
        fail();
    }

    [[noreturn]] void fail()
    {
        int err = errno;
        throw ProjectFileError("Zápis do súboru \"" + target_ + "\" zlyhal: " + systemReason(err) + " !!!");
    }

    std::string target_;
    std::string path_; // empty while the file has no name
    int fd_ = -1;
    bool committed_ = false;
};

// Reads straight into the caller's memory; returns how many bytes there were.
class FileSource {
public:
    explicit FileSource(int fd) : fd_(fd) {}
    std::size_t read(void* dst, std::size_t n)
    {
        auto* out = static_cast<std::uint8_t*>(dst);
        std::size_t got = 0;
        while (got < n) {
            ssize_t r = ::read(fd_, out + got, n - got);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                throw ProjectFileError(std::string("Čítanie súboru zlyhalo: ") + systemReason(errno) + " !!!");
            }
            if (r == 0)
                break;
            got += static_cast<std::size_t>(r);
        }
        return got;
    }

private:
    int fd_;
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

// Pictures move in blocks of whole rows of about this many bytes: large enough for the disk,
// small enough that the progress display keeps moving.
constexpr std::size_t BlockBytes = std::size_t{4} << 20;

int rowsPerBlock(std::size_t rowBytes)
{
    return static_cast<int>(std::max<std::size_t>(1, BlockBytes / std::max<std::size_t>(rowBytes, 1)));
}

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
    out.picture.resizeForOverwrite(r.PictureWidth, r.PictureHeight);
    const std::size_t rowBytes = out.picture.rowBytes();
    const int block = rowsPerBlock(rowBytes);
    for (int y0 = 0; y0 < r.PictureHeight; y0 += block) {
        const int rows = std::min(block, r.PictureHeight - y0);
        const std::size_t want = rowBytes * static_cast<std::size_t>(rows);
        std::uint8_t* dst = out.picture.row(y0);
        std::size_t got = out.pictureTruncated ? 0 : src.read(dst, want);
        if (got < want) {
            out.pictureTruncated = true;   // the rest of the picture is black
            std::memset(dst + got, 0, want - got);
        }
        if (progress)
            for (int y = y0; y < y0 + rows; ++y)
                progress(y, r.PictureWidth, r.PictureHeight);
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
    for (int k = 1; k <= r.SavedPlaceCount; ++k) {
        if (!std::isfinite(r.PlaceX[k]) || !std::isfinite(r.PlaceY[k]))
            throw ProjectFileError("Poškodený súbor: súradnice miesta " + std::to_string(k) + " nie sú číslo !!!");
        // Quantity, price and flexibility weigh the place in the allocation: a value that is
        // not a number or is negative would make every result meaningless.
        if (!std::isfinite(r.PlaceQuantity[k]) || r.PlaceQuantity[k] < 0.0 || !std::isfinite(r.PlacePrice[k])
            || r.PlacePrice[k] < 0.0 || r.PlaceFlexibility[k] < 0)
            throw ProjectFileError("Poškodený súbor: množstvo, cena alebo flexibilita miesta " + std::to_string(k)
                                   + " nie je platné číslo !!!");
    }
    if (r.PictureWidth < 0 || r.PictureHeight < 0)
        throw ProjectFileError("Poškodený súbor: záporná veľkosť obrázku !!!");
    if (r.hasPicture()
        && (!RgbPicture::sizeAcceptable(r.PictureWidth, r.PictureHeight)
            || static_cast<std::uint64_t>(r.PictureWidth) * static_cast<std::uint64_t>(r.PictureHeight) * 3u
                > maxPictureBytes))
        throw ProjectFileError("Obrázok projektu (" + std::to_string(r.PictureWidth) + " x "
                               + std::to_string(r.PictureHeight) + ") je väčší, ako program dokáže načítať !!!");
}

namespace {

// Where the bytes really go: a symbolic link is followed, so the link stays and the file it
// names is replaced; anything but a regular file (a device, a pipe, a folder) is refused,
// because replacing it by renaming would destroy it.
std::string saveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return path;   // a new file
    std::string target = path;
    if (S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved != nullptr) {
            target = resolved;
            std::free(resolved);
        }
        if (::stat(target.c_str(), &st) != 0)
            return target;   // a link to a file not there yet
    }
    if (!S_ISREG(st.st_mode))
        throw ProjectFileUnavailable("Do \"" + path + "\" nemožno uložiť projekt: nie je to obyčajný súbor !!!");
    return target;
}

} // namespace

void saveProjectFile(const std::string& path, const TProjectRecord& record, const RgbPicture& picture,
                     const RowProgress& progress, const std::function<void()>& created)
{
    TempFile out(saveTarget(path));
    if (created)
        created();
    const RecordBytes bytes = encodeRecord(record);
    out.write(bytes.data(), bytes.size());
    if (record.hasPicture()) {
        const int w = record.PictureWidth;
        const int h = record.PictureHeight;
        if (picture.width() == w && picture.height() == h) {
            const int block = rowsPerBlock(picture.rowBytes());
            for (int y0 = 0; y0 < h; y0 += block) {
                const int rows = std::min(block, h - y0);
                out.write(picture.row(y0), picture.rowBytes() * static_cast<std::size_t>(rows));
                if (progress)
                    for (int y = y0; y < y0 + rows; ++y)
                        progress(y, w, h);
            }
        } else {
            // The picture does not match the size the record states: write what it has and
            // black for the rest, so the file keeps its layout.
            std::vector<std::uint8_t> line;
            for (int y = 0; y < h; ++y) {
                line.assign(static_cast<std::size_t>(w) * 3u, 0);
                if (y < picture.height())
                    std::memcpy(line.data(), picture.row(y), std::min(line.size(), picture.rowBytes()));
                out.write(line.data(), line.size());
                if (progress)
                    progress(y, w, h);
            }
        }
    }
    out.commit();
}

LoadedProject readProjectFile(const std::string& path, const RowProgress& progress)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ProjectFileUnavailable("Súbor \"" + path + "\" nemožno otvoriť: " + systemReason(errno) + " !!!");
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    FileSource src(fd);
    return readFrom(src, progress, RgbPicture::MaxBytes);
}

void buildMapPicture(const RgbPicture& rows, RgbPicture& picture, const RowProgress& progress)
{
    if (picture.width() != rows.width() || picture.height() != rows.height())
        throw std::invalid_argument("map picture not sized for the rows read");
    for (int y = 0; y < rows.height(); ++y) {
        std::memcpy(picture.row(y), rows.row(y), rows.rowBytes());
        if (progress)
            progress(y, rows.width(), rows.height());
    }
}

LoadedProject readProjectBytes(const std::uint8_t* data, std::size_t size, const RowProgress& progress,
                               std::size_t maxPictureBytes)
{
    MemorySource src(data, size);
    return readFrom(src, progress, maxPictureBytes);
}

} // namespace dorvan
