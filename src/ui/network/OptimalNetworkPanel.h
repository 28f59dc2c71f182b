#pragma once

#include "core/network/ExactNetwork.h"
#include "core/network/StarSearch.h"

#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
namespace dorvan {
class UserDialogs;
} // namespace dorvan

namespace network {

// "Optimálna sieť" in the network methods window: the proven best star network of the same
// data as the star search, started from the star search's network. The search runs on a thread
// of its own with a time limit; its progress (the time, the best network and the bounds) shows
// in a bar and a line, "Zastaviť" ends it with the best network found. The result's lines go
// into a list of their own, a line compares it with the star search's, and a choice says which
// of the two networks the station graph draws. A result stays while the window's data stay the
// same; new data (a new search of the window on other places or criteria) drop it. Results of
// an older search are dropped by their job number.
class OptimalNetworkPanel : public QWidget {
public:
    OptimalNetworkPanel(dorvan::UserDialogs& dialogs, QWidget* parent);
    ~OptimalNetworkPanel() override;

    // The list of the result: the window puts it beside its lists.
    QListWidget* list() const { return OptimalList; }

    // The window's data after each of its searches.
    void setInputs(const dorvan::StarWorkingCopy& copy, const dorvan::StarSolution& heuristic);
    // What the station graph draws: the exact network when chosen and known, else nothing.
    std::optional<dorvan::StarSolution> graphSolution() const;
    // Told when the graph's choice or the exact result changes.
    void setGraphChanged(std::function<void()> changed) { graphChanged_ = std::move(changed); }

    bool busy() const { return worker_.joinable() && !finished_; }
    const std::optional<dorvan::ExactStarResult>& result() const { return result_; }

    // Ends a running search at once, its result dropped (the window closes).
    void stopSearch();

private:
    void OptimalButtonClick();
    void StopButtonClick();
    void progressed(const dorvan::ExactStarProgress& p, std::uint64_t job);
    void searched(const dorvan::ExactStarResult& r, std::uint64_t job);
    void searchFailed(std::exception_ptr failure, std::uint64_t job);
    void tick();
    void ended();
    void showResult();
    void clearResult();

    dorvan::UserDialogs& dialogs_;
    std::function<void()> graphChanged_;
    QPushButton* OptimalButton = nullptr;
    QLineEdit* TimeLimitEdit = nullptr;
    QPushButton* StopButton = nullptr;
    QProgressBar* OptimalProgress = nullptr;
    QLabel* OptimalStatus = nullptr;
    QLabel* OptimalLine = nullptr;
    QComboBox* GraphChoice = nullptr;
    QListWidget* OptimalList = nullptr;
    QTimer* clock_ = nullptr;

    dorvan::StarWorkingCopy copy_; // the window's data now
    dorvan::StarSolution heuristic_;
    dorvan::StarWorkingCopy solvedCopy_; // the data of result_
    dorvan::StarWorkingCopy searchedCopy_; // the data of the running search
    std::optional<dorvan::ExactStarResult> result_;

    std::uint64_t job_ = 0;
    bool finished_ = true;
    double limit_ = dorvan::DefaultExactTimeLimit;
    std::chrono::steady_clock::time_point started_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::thread worker_;
};

} // namespace network
