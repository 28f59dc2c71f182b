#pragma once

#include "core/entry/MapPlacement.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace entry {

// A picture or map file read (and a map warped) on a thread of its own, so that the window
// repaints and answers while a big map loads. The thread works on copies (the file name and the
// project's reference and places); its progress and its result come back to this object's thread,
// where the result is handed on once. stop() makes the thread give up at its next report and
// the result a Stopped load; whatever a stopped or replaced load still posts is dropped by its
// job number. A failure of the thread comes back the same way and is thrown on to the
// application's guard. Code in Vstupne_Udaje_Mapa_Beh.cpp.
class MapLoadTask : public QObject {
public:
    using Loader = std::function<dorvan::MapLoad(const std::string& path, const dorvan::MapLoadInputs& inputs,
        std::optional<int> epsg, const dorvan::StepProgress& progress)>;
    using Progress = std::function<void(int percent)>;
    using Done = std::function<void(dorvan::MapLoad load)>;

    explicit MapLoadTask(QObject* parent);
    // Stops a running load and waits for its thread; nothing is handed on any more.
    ~MapLoadTask() override;

    // Starts a load; a running one is stopped and forgotten first.
    void start(std::string path, dorvan::MapLoadInputs inputs, std::optional<int> epsg, Progress progress,
        Done done);
    void stop();
    bool busy() const { return busy_; }

    // What the thread runs: loadMapFile, or what a test puts in its place.
    void setLoader(Loader loader) { loader_ = std::move(loader); }

private:
    void finish(std::uint64_t job, std::shared_ptr<dorvan::MapLoad> load, std::exception_ptr failure);
    void join();

    Loader loader_;
    Progress progress_;
    Done done_;
    std::uint64_t job_ = 0;
    bool busy_ = false;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::thread worker_;
};

} // namespace entry
