// Saves and opens a project with an 8000 x 6000 picture (a 144 MB file) and compares, in the
// same run, with copying that file: `cp` + `sync` for saving (our save flushes to disk too)
// and `cp` alone for opening (our open builds the picture in memory).
//   project_file_bench [folder] [repetitions]
#include "core/project/ProjectFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace dorvan;
using Clock = std::chrono::steady_clock;

namespace {

double secondsOf(const auto& work)
{
    auto t0 = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "command failed: %s\n", command.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "dorvan-bench";
    int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    fs::create_directories(dir);
    const std::string saved = (dir / "bench.mzd").string();
    const std::string copy = (dir / "copy.mzd").string();

    TProjectRecord r;
    ResetProjectAtStart(r);
    r.SavedPlaceCount = 2;
    r.PlaceX[2] = 10.0;
    r.PictureWidth = 8000;
    r.PictureHeight = 6000;
    RgbPicture picture(8000, 6000);
    std::uint32_t seed = 12345;
    for (auto& b : picture.data()) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }

    std::vector<double> save, cpSync, open, cp;
    for (int i = 0; i < reps; ++i) {
        int rows = 0;
        save.push_back(secondsOf([&] { saveProjectFile(saved, r, picture, [&](int, int, int) { ++rows; }); }));
        cpSync.push_back(secondsOf([&] { run("cp '" + saved + "' '" + copy + "' && sync"); }));
        LoadedProject loaded;
        open.push_back(secondsOf([&] { loaded = readProjectFile(saved, [&](int, int, int) { ++rows; }); }));
        if (loaded.picture != picture) {
            std::fprintf(stderr, "the picture read back differs\n");
            return 1;
        }
        fs::remove(copy);
        cp.push_back(secondsOf([&] { run("cp '" + saved + "' '" + copy + "'"); }));
        fs::remove(copy);
    }
    fs::remove(saved);

    const double s = median(save), cs = median(cpSync), o = median(open), c = median(cp);
    std::printf("file size            %.1f MB\n", (124680.0 + 8000.0 * 6000 * 3) / 1e6);
    std::printf("save (with fsync)    median %.3f s\n", s);
    std::printf("cp + sync            median %.3f s   ratio %.2f (target <= 1.5)\n", cs, s / cs);
    std::printf("open (picture built) median %.3f s\n", o);
    std::printf("cp                   median %.3f s   ratio %.2f (target <= 2.0)\n", c, o / c);
    return 0;
}
