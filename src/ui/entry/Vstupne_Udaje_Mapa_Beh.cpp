// A picture or map file read on a thread of its own (MapLoadTask).
#include "ui/entry/EntryMapLoad.h"

#include <QMetaObject>

#include <utility>

entry::MapLoadTask::MapLoadTask(QObject* parent)
    : QObject(parent)
    , loader_([](const std::string& path, const dorvan::MapLoadInputs& inputs, std::optional<int> epsg,
                  const dorvan::StepProgress& progress) {
        return dorvan::loadMapFile(path, inputs, epsg, progress);
    })
{
    setObjectName("MapLoadTask");
}

entry::MapLoadTask::~MapLoadTask()
{
    ++job_;
    if (stop_)
        stop_->store(true);
    join();
}

void entry::MapLoadTask::join()
{
    if (worker_.joinable())
        worker_.join();
}

void entry::MapLoadTask::stop()
{
    if (busy_ && stop_)
        stop_->store(true);
}

void entry::MapLoadTask::start(
    std::string path, dorvan::MapLoadInputs inputs, std::optional<int> epsg, Progress progress, Done done)
{
    if (stop_)
        stop_->store(true);
    join();
    const std::uint64_t job = ++job_;
    progress_ = std::move(progress);
    done_ = std::move(done);
    busy_ = true;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    // Posted to this object: a post to an object that has gone is never delivered, and the
    // destructor waits for the thread.
    worker_ = std::thread([this, job, path = std::move(path), inputs = std::move(inputs), epsg, stop = stop_,
                              loader = loader_] {
        auto load = std::make_shared<dorvan::MapLoad>();
        std::exception_ptr failure;
        int posted = -1;
        try {
            *load = loader(path, inputs, epsg, [&](double done) {
                const int percent = static_cast<int>(done * 100.0);
                if (percent != posted) {
                    posted = percent;
                    QMetaObject::invokeMethod(
                        this,
                        [this, job, percent] {
                            if (job == job_ && progress_)
                                progress_(percent);
                        },
                        Qt::QueuedConnection);
                }
                return !stop->load();
            });
        } catch (...) {
            // Nothing may leave the thread.
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, job, load, failure] { finish(job, load, failure); }, Qt::QueuedConnection);
    });
}

void entry::MapLoadTask::finish(
    std::uint64_t job, std::shared_ptr<dorvan::MapLoad> load, std::exception_ptr failure)
{
    if (job != job_)
        return;
    join();
    busy_ = false;
    // A stop asked for counts even when the thread had just finished: nothing is taken.
    if (failure || stop_->load()) {
        dorvan::MapLoad stopped;
        stopped.kind = dorvan::MapLoad::Stopped;
        stopped.message = dorvan::RasterStoppedText;
        *load = std::move(stopped);
    }
    const Done done = std::move(done_);
    done_ = nullptr;
    if (done)
        done(std::move(*load));
    if (failure)
        std::rethrow_exception(failure);
}
