#pragma once

#include "core/allocation/GroupSearch.h"
#include "ui/entry/EntryPages.h"

#include <QGroupBox>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <thread>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace entry {

// "Navrhnúť skupiny" on the groups sheet: proposes groups for the number of centres typed in
// "Počet centier" and lists the best total for 1 to 8 centres with what each further centre
// saves. The search runs on a thread of its own; its results come back to this window's thread
// in order (the groups first, then the table rows) and are dropped when the places changed in
// the meantime. A failure of the search comes back the same way and is shown by the
// application's guard. Code in Vstupne_Udaje_Skupiny_Navrh.cpp.
class GroupProposal : public QGroupBox {
public:
    // apply receives the group list lines and the number of groups to show.
    using Apply = std::function<void(const std::vector<std::string>& lines, int groupCount)>;
    GroupProposal(const EntryContext& context, Apply apply);
    ~GroupProposal() override;

    // Whether a search is running.
    bool busy() const { return worker_.joinable() && !finished_; }

    // The search the thread runs: searchGroups, or what a test puts in its place.
    using Search = std::function<dorvan::GroupSearchResult(
        std::span<const dorvan::GroupSite>, const dorvan::GroupSearchOptions&, const std::atomic<bool>*)>;
    void setSearch(Search search) { search_ = std::move(search); }

private:
    void ProposeButtonClick();
    void stopSearch();
    void searched(const dorvan::GroupSearchResult& result, std::uint64_t job);
    void tableRow(const dorvan::CentreCountRow& row, std::uint64_t job);
    void searchEnded(std::uint64_t job);
    void searchFailed(std::exception_ptr failure, std::uint64_t job);

    EntryContext context_;
    Apply apply_;
    Search search_;
    QLineEdit* CentreCountEdit = nullptr;
    QPushButton* ProposeButton = nullptr;
    QTableWidget* CentreTable = nullptr;

    std::vector<dorvan::GroupSite> sites_; // the places the running search groups
    std::uint64_t job_ = 0;
    bool finished_ = true;
    bool cursorSet_ = false;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::thread worker_;
};

} // namespace entry
