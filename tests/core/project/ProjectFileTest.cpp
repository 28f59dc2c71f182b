#include "core/project/ProjectFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace dorvan;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
    {
        std::string templ = (fs::temp_directory_path() / "dorvan-test-XXXXXX").string();
        path_ = ::mkdtemp(templ.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, ec);
        fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::vector<std::uint8_t> slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TProjectRecord twoPlaces()
{
    TProjectRecord r;
    ResetProjectAtStart(r);
    r.SavedPlaceCount = 2;
    r.PlaceName[1] = Text100::fromUtf8("Banská Bystrica");
    r.PlaceName[2] = Text100::fromUtf8("Žilina");
    r.PlaceX[1] = 1.5;
    r.PlaceY[2] = 2.25;
    r.PlaceX[57] = 99.0;   // an entry beyond the count from an earlier, larger project
    return r;
}

std::vector<std::uint8_t> encoded(const TProjectRecord& r)
{
    RecordBytes b = encodeRecord(r);
    return {b.begin(), b.end()};
}

} // namespace

TEST(ProjectFileNames, ExtensionRuleAndProposedName)
{
    EXPECT_EQ(withProjectExtension("projekt"), "projekt.mzd");
    EXPECT_EQ(withProjectExtension("projekt.MZD"), "projekt.MZD");
    EXPECT_EQ(withProjectExtension("projekt.mZd"), "projekt.mZd");
    EXPECT_EQ(withProjectExtension("/a/b/x.mzd"), "/a/b/x.mzd");
    EXPECT_EQ(withProjectExtension("projekt.mzd.bak"), "projekt.mzd.bak.mzd");
    EXPECT_EQ(withProjectExtension("mzd"), "mzd.mzd");
    EXPECT_EQ(withProjectExtension(".mz"), ".mz.mzd");
    EXPECT_EQ(withProjectExtension(""), ".mzd");
    EXPECT_EQ(withProjectExtension("x.mzdd"), "x.mzdd.mzd");
    EXPECT_EQ(proposedProjectFileName(""), "Novy.mzd");
    EXPECT_EQ(proposedProjectFileName("/home/a/sklad.mzd"), "/home/a/sklad.mzd");
}

TEST(ProjectFileProgress, PercentTextAndBarFollowTheRows)
{
    ProgressTracker hundred(100, 100);
    auto first = hundred.afterRow(0, 130, 130);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->percent, 1);
    EXPECT_EQ(first->text, "  1%");
    EXPECT_EQ(first->barLeft, 133);
    EXPECT_EQ(first->barRight, 133);        // step 0 when the first bar is drawn
    EXPECT_EQ(first->barTop, 18);
    EXPECT_EQ(first->barBottom, 23);
    EXPECT_EQ(first->textX, 130 + 65 - 13);
    EXPECT_EQ(first->textY, 3);
    std::optional<ProgressTracker::Draw> last;
    for (int y = 1; y < 100; ++y)
        last = hundred.afterRow(y, 130, 130);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->percent, 100);
    EXPECT_EQ(last->text, "100%");
    EXPECT_EQ(last->barRight, 133 + 125);   // round(126 / 100 * 99) = round(124.74)

    ProgressTracker single(2, 1);
    auto only = single.afterRow(0, 130, 130);
    ASSERT_TRUE(only);
    EXPECT_EQ(only->percent, 100);
    EXPECT_EQ(single.step(), 1);

    // 1000 rows: p repeats for ten rows, a display is drawn only when the step catches up.
    ProgressTracker tall(3, 1000);
    int drawn = 0;
    for (int y = 0; y < 1000; ++y)
        if (tall.afterRow(y, 130, 130))
            ++drawn;
    EXPECT_EQ(drawn, 101);   // p = 0 (rows 0..4 round to 0 at 0.5 → halves to even) up to 100

    ProgressTracker none(5, 0);
    EXPECT_FALSE(none.afterRow(0, 130, 130));
}

TEST(ProjectFile, SizesAndPixelOrderOfTheFile)
{
    TempDir dir;
    TProjectRecord r = twoPlaces();
    saveProjectFile(dir.file("a.mzd"), r, RgbPicture());
    EXPECT_EQ(fs::file_size(dir.file("a.mzd")), 124680u);

    RgbPicture pic(2, 1);
    pic.setPixel(0, 0, {1, 2, 3});
    pic.setPixel(1, 0, {4, 5, 6});
    r.PictureWidth = 2;
    r.PictureHeight = 1;
    int rows = 0;
    saveProjectFile(dir.file("b.mzd"), r, pic, [&](int y, int w, int h) {
        EXPECT_EQ(y, rows++);
        EXPECT_EQ(w, 2);
        EXPECT_EQ(h, 1);
    });
    EXPECT_EQ(rows, 1);
    auto bytes = slurp(dir.file("b.mzd"));
    ASSERT_EQ(bytes.size(), 124686u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 124680, bytes.end()),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 124680), encoded(r));
}

TEST(ProjectFile, SaveThenOpenGivesBackRecordAndPicture)
{
    TempDir dir;
    std::mt19937 rng(7);
    TProjectRecord r = twoPlaces();
    r.PictureWidth = 37;
    r.PictureHeight = 11;
    RgbPicture pic(37, 11);
    for (auto& b : pic.data())
        b = static_cast<std::uint8_t>(rng());
    saveProjectFile(dir.file("p.mzd"), r, pic);
    int rows = 0;
    LoadedProject back = readProjectFile(dir.file("p.mzd"), [&](int, int, int) { ++rows; });
    EXPECT_EQ(encodeRecord(back.record), encodeRecord(r));
    EXPECT_EQ(back.record.PlaceX[57], 99.0);
    EXPECT_EQ(back.picture, pic);
    EXPECT_FALSE(back.pictureTruncated);
    EXPECT_EQ(rows, 11);
}

TEST(ProjectFile, MapPictureIsBuiltRowByRowFromTheRowsRead)
{
    RgbPicture rows(3, 4);
    std::mt19937 rng(11);
    for (auto& b : rows.data())
        b = static_cast<std::uint8_t>(rng());
    RgbPicture picture;
    picture.resizeForOverwrite(3, 4);
    std::vector<int> seen;
    buildMapPicture(rows, picture, [&](int y, int w, int h) {
        seen.push_back(y);
        EXPECT_EQ(w, 3);
        EXPECT_EQ(h, 4);
        // Row y is complete when it is reported.
        EXPECT_EQ(std::memcmp(picture.row(y), rows.row(y), rows.rowBytes()), 0) << y;
    });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(picture, rows);

    // A picture of another size is never written past its end.
    RgbPicture small(2, 4);
    EXPECT_THROW(buildMapPicture(rows, small), std::invalid_argument);
    EXPECT_EQ(small, RgbPicture(2, 4));
}

TEST(ProjectFile, WidthWithoutHeightMeansNoPicture)
{
    TProjectRecord r = twoPlaces();
    r.PictureWidth = 5;
    r.PictureHeight = 0;
    auto bytes = encoded(r);
    LoadedProject p = readProjectBytes(bytes.data(), bytes.size());
    EXPECT_TRUE(p.picture.empty());
    EXPECT_EQ(p.record.PictureWidth, 5);
}

TEST(ProjectFile, ShortPictureOpensWithBlackPixels)
{
    TProjectRecord r = twoPlaces();
    r.PictureWidth = 2;
    r.PictureHeight = 2;
    auto bytes = encoded(r);
    for (std::uint8_t b : {10, 20, 30, 40})   // one pixel and a third of the next
        bytes.push_back(b);
    LoadedProject p = readProjectBytes(bytes.data(), bytes.size());
    EXPECT_TRUE(p.pictureTruncated);
    EXPECT_EQ(p.picture.pixel(0, 0), (RgbPicture::Rgb{10, 20, 30}));
    EXPECT_EQ(p.picture.pixel(1, 0), (RgbPicture::Rgb{40, 0, 0}));
    EXPECT_EQ(p.picture.pixel(1, 1), (RgbPicture::Rgb{0, 0, 0}));
}

TEST(ProjectFile, DamagedFilesAreRefusedWithAMessage)
{
    auto refusal = [](const std::vector<std::uint8_t>& bytes) -> std::string {
        try {
            readProjectBytes(bytes.data(), bytes.size());
        } catch (const ProjectFileError& e) {
            return e.what();
        }
        return "";
    };
    auto with = [](auto change) {
        TProjectRecord r = twoPlaces();
        change(r);
        return encoded(r);
    };
    std::vector<std::uint8_t> shortFile(124679, 0);
    EXPECT_NE(refusal(shortFile).find("kratší"), std::string::npos);
    EXPECT_NE(refusal({}), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.SavedPlaceCount = 100; })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.SavedPlaceCount = -1; })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.WarehouseCount = 101; })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.PriorityCount = -3; })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.GroupCount = 101; })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) {
                  r.GroupCount = 2;
                  r.GroupPlaceCount[1] = 60;
                  r.GroupPlaceCount[2] = 41;
              })),
              "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.PictureWidth = -1; })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) {
                  r.PictureWidth = 100000;
                  r.PictureHeight = 100000;
              })),
              "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.PlaceX[2] = std::numeric_limits<double>::infinity(); })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.PlaceY[1] = std::nan(""); })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.PlaceQuantity[2] = std::numeric_limits<double>::infinity(); })),
              "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.PlacePrice[1] = -1.0; })), "");
    EXPECT_NE(refusal(with([](TProjectRecord& r) { r.PlaceFlexibility[2] = -3; })), "");
    // A damaged length byte in any name list.
    auto bytes = encoded(twoPlaces());
    bytes[RecordOffset::PriorityName + 101 * 4] = 101;
    EXPECT_NE(refusal(bytes), "");
    // Every message is a notice in the program's style.
    std::string m = refusal(with([](TProjectRecord& r) { r.SavedPlaceCount = 100; }));
    EXPECT_EQ(m.substr(m.size() - 4), " !!!");
    // Non-finite values beyond the place count are not places and do not matter.
    EXPECT_EQ(refusal(with([](TProjectRecord& r) { r.PlaceX[3] = std::nan(""); })), "");
}

TEST(ProjectFile, FailedSaveLeavesThePreviousFileIntact)
{
    TempDir dir;
    const std::string target = dir.file("p.mzd");
    spit(target, {1, 2, 3});

    // A folder we may not write into (skipped for root, who may write anywhere): the file
    // cannot even be created.
    if (::geteuid() != 0) {
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        bool created = false;
        EXPECT_THROW(saveProjectFile(target, twoPlaces(), RgbPicture(), {}, [&] { created = true; }),
                     ProjectFileUnavailable);
        EXPECT_FALSE(created);
        fs::permissions(dir.path(), fs::perms::owner_all);
        EXPECT_EQ(slurp(target), (std::vector<std::uint8_t>{1, 2, 3}));
    }

    // A device that fills up half-way: a file size limit makes writing fail as a full disk
    // would. Run in a child so the limit does not outlive the case.
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim{65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &lim);
        int code = 3;
        bool created = false;
        try {
            saveProjectFile(target, twoPlaces(), RgbPicture(), {}, [&] { created = true; });
            code = 1;
        } catch (const ProjectFileUnavailable&) {
            code = 4;   // the file was created; it is the writing that fails
        } catch (const ProjectFileError&) {
            code = created ? 0 : 5;
        } catch (...) {
            code = 2;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report the failure";
    EXPECT_EQ(slurp(target), (std::vector<std::uint8_t>{1, 2, 3}));
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);

    // And a save that succeeds replaces it.
    saveProjectFile(target, twoPlaces(), RgbPicture());
    EXPECT_EQ(fs::file_size(target), 124680u);
}

TEST(ProjectFile, SaveCutShortLeavesNothingBehind)
{
    // The program killed half-way through writing a picture: the old file stays and no
    // temporary of the size of the project is left beside it.
    TempDir dir;
    const std::string target = dir.file("p.mzd");
    spit(target, {7, 7, 7});
    TProjectRecord r = twoPlaces();
    r.PictureWidth = 400;
    r.PictureHeight = 300;
    const RgbPicture picture(400, 300);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        saveProjectFile(target, r, picture, [](int y, int, int) {
            if (y >= 150)
                ::raise(SIGKILL);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save was meant to be cut short";
    EXPECT_EQ(slurp(target), (std::vector<std::uint8_t>{7, 7, 7}));
    std::vector<std::string> left;
    for (auto& e : fs::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"p.mzd"});
}

TEST(ProjectFile, NextSaveRemovesStaleTemporariesOfItsTarget)
{
    // What a save killed on a file system without unnamed files leaves: "p.mzd.XXXXXX". The next
    // save of p.mzd removes those no running save holds, and nothing else.
    TempDir dir;
    for (const char* name : {"p.mzd.Ab12Cd", "p.mzd.zz99ZZ", "p.mzd.notes", "q.mzd.Ab12Cd", "p.mzd.Held01"})
        spit(dir.file(name), {1});
    const int held = ::open(dir.file("p.mzd.Held01").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0) << "as a running save holds its temporary";
    saveProjectFile(dir.file("p.mzd"), twoPlaces(), RgbPicture());
    ::close(held);
    std::vector<std::string> left;
    for (auto& e : fs::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"p.mzd", "p.mzd.Held01", "p.mzd.notes", "q.mzd.Ab12Cd"}));
    EXPECT_EQ(readProjectFile(dir.file("p.mzd")).record.SavedPlaceCount, 2);
}

TEST(ProjectFile, MissingFileIsReportedNotCrashed)
{
    EXPECT_THROW(readProjectFile("/nonexistent/dir/x.mzd"), ProjectFileUnavailable);
    EXPECT_THROW(saveProjectFile("/nonexistent/dir/x.mzd", twoPlaces(), RgbPicture()), ProjectFileUnavailable);
    // A file that opens but is no project is a damaged file, not a missing one.
    TempDir dir;
    spit(dir.file("short.mzd"), {1, 2, 3});
    try {
        readProjectFile(dir.file("short.mzd"));
        ADD_FAILURE() << "a short file was accepted";
    } catch (const ProjectFileUnavailable&) {
        ADD_FAILURE() << "a short file was reported as missing";
    } catch (const ProjectFileError&) {
    }
}

TEST(ProjectFile, LinksAreFollowedAndDevicesRefused)
{
    TempDir dir;
    const std::string real = dir.file("real.mzd");
    const std::string link = dir.file("link.mzd");
    spit(real, {1});
    fs::create_symlink(real, link);
    saveProjectFile(link, twoPlaces(), RgbPicture());
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(fs::file_size(real), 124680u);

    // Replacing a device by renaming would destroy it.
    EXPECT_THROW(saveProjectFile("/dev/full", twoPlaces(), RgbPicture()), ProjectFileUnavailable);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_THROW(saveProjectFile(dir.path().string(), twoPlaces(), RgbPicture()), ProjectFileUnavailable);
    EXPECT_TRUE(fs::is_directory(dir.path()));
}

TEST(ProjectFile, FullFilesystemLeavesThePreviousFileIntact)
{
    // A 64 KiB file system, mounted in a private mount namespace of a child process, so nothing
    // outside the test sees it. Where mounting is not allowed the case is skipped.
    TempDir dir;
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(77);
        const std::string target = dir.file("p.mzd");
        std::vector<std::uint8_t> previous(20000, 7);
        spit(target, previous);
        int code = 0;
        try {
            saveProjectFile(target, twoPlaces(), RgbPicture());
            code = 1;   // 124,680 bytes cannot fit
        } catch (const ProjectFileError& e) {
            if (std::string(e.what()).find("zlyhal") == std::string::npos)
                code = 2;
        }
        if (code == 0 && slurp(target) != previous)
            code = 3;
        int files = 0;
        for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path()))
            ++files;
        if (code == 0 && files != 1)
            code = 4;   // a temporary file was left behind
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no permission to mount a small file system here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save claimed success, 2: wrong message, 3: previous file changed, "
                                         "4: temporary file left";
}

// The reasons of the system reach the user's message box, so they are told in Slovak.
TEST(ProjectFile, SystemReasonsAreToldInSlovak)
{
    TempDir dir;
    const std::string folder = dir.file("priecinok.mzd");
    fs::create_directory(folder);
    struct Case {
        const char* what;
        std::function<void()> run;
        const char* reason;
    };
    const std::vector<Case> cases = {
        { "missing", [] { readProjectFile("/nonexistent/dir/x.mzd"); }, "súbor alebo priečinok neexistuje" },
        { "folder opened", [&] { readProjectFile(folder); }, "je to priečinok" },
        { "into a missing folder",
            [] { saveProjectFile("/nonexistent/dir/x.mzd", twoPlaces(), RgbPicture()); },
            "súbor alebo priečinok neexistuje" },
    };
    for (const Case& c : cases) {
        try {
            c.run();
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const ProjectFileError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.reason), std::string::npos) << c.what << ": " << message;
            EXPECT_EQ(message.find("No such"), std::string::npos) << message;
            EXPECT_EQ(message.find("Is a directory"), std::string::npos) << message;
            EXPECT_TRUE(message.ends_with(" !!!")) << message;
        }
    }
    // A reason without a Slovak text keeps the system's own, never an empty one.
    EXPECT_EQ(systemErrorText(ENOSPC), "na disku nie je dosť miesta");
    EXPECT_EQ(systemErrorText(EACCES), "prístup zamietnutý");
    EXPECT_FALSE(systemErrorText(EXDEV).empty());
}
