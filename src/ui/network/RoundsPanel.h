#pragma once

#include "core/network/RoundsSearch.h"
#include "core/project/Project.h"

#include <QGroupBox>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// " Okruhy " in the network methods window: the delivery rounds of the project beside the
// stars, a list a round (its places in order, length, load and time), the total and the
// vehicles used. The search runs on a thread of its own with a progress bar; "Zastaviť" ends it
// with the best rounds found so far. Its results come back to the window's thread and are
// dropped when a newer search started meanwhile. The rounds go into the project for the
// station graph, and drawn() is called to draw it again.
class RoundsPanel : public QGroupBox {
public:
    RoundsPanel(dorvan::Project& project, std::function<void()> drawn, QWidget* parent = nullptr);
    ~RoundsPanel() override;

    // Once the rounds were asked for, searches the project as it stands again, unless the same
    // problem was searched last (or is being searched): the window calls it at every activation.
    void computeIfChanged();
    // Searches again whatever was searched before ("Vypočítať okruhy").
    void compute();
    // Ends a running search; the best rounds so far are shown when they arrive.
    void stop();
    bool busy() const { return !finished_; }

    // The search's steps and time limit (the defaults of the core unless set).
    void setOptions(const dorvan::RoundsOptions& options) { options_ = options; }

private:
    void start(dorvan::RoundsProblem problem);
    void showRefusal(const std::string& refusal);
    void searched(const dorvan::RoundsPlan& plan, std::uint64_t job);
    void progressed(int percent, std::uint64_t job);
    void searchFailed(std::exception_ptr failure, std::uint64_t job);
    void ended();
    void join();

    dorvan::Project& project_;
    std::function<void()> drawn_;
    dorvan::RoundsOptions options_;
    std::optional<dorvan::RoundsProblem> searchedProblem_;
    std::string searchedRefusal_;
    bool searchedOnce_ = false;
    std::uint64_t job_ = 0;
    bool finished_ = true;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::thread worker_;

    QListWidget* RoundsList = nullptr;
    QProgressBar* RoundsProgress = nullptr;
    QPushButton* RoundsCompute = nullptr;
    QPushButton* RoundsStop = nullptr;
    QLabel* RoundsStatus = nullptr;
};
