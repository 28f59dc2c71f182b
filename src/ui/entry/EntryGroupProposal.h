#pragma once

#include "core/allocation/ConstrainedGroups.h"
#include "core/allocation/GroupSearch.h"
#include "core/project/ProjectRecord.h"
#include "ui/entry/EntryPages.h"

#include <QGroupBox>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace entry {
class TwoListPicker;
}

namespace entry {

// "Navrhnúť skupiny" on the groups sheet: proposes groups for the number of centres typed in
// "Počet centier" and lists the best total for 1 to 8 centres (or up to the number typed, when
// larger) with what each further centre saves. Places moved into "Existujúce centrá" keep their
// centres; with "Rovnomernosť počtu miest v skupinách" ticked no group holds more places than
// its value. A row the rules cannot fill stays empty, its refusal in its tooltip, and the row
// after it shows no saving. The search runs on a thread of its own; its results come back to
// this window's thread in order (the groups first, then the table rows) and are dropped when
// the places changed in the meantime. A failure of the search comes back the same way and is
// shown by the application's guard. Code in Vstupne_Udaje_Skupiny_Navrh.cpp.
class GroupProposal : public QGroupBox {
public:
    // apply receives the group list lines and the number of groups to show.
    using Apply = std::function<void(const std::vector<std::string>& lines, int groupCount)>;
    GroupProposal(const EntryContext& context, Apply apply);
    ~GroupProposal() override;

    // Whether a search is running.
    bool busy() const { return worker_.joinable() && !finished_; }

    // The search the thread runs: proposeGroups, or what a test puts in its place.
    using Search = std::function<dorvan::GroupSearchResult(std::span<const dorvan::GroupSite>,
        const dorvan::GroupSearchOptions&, const dorvan::GroupRules&, const std::atomic<bool>*)>;
    void setSearch(Search search) { search_ = std::move(search); }

    // Fills the place list and "Existujúce centrá" anew from the project (its existing centres,
    // which it keeps and saves): the central place first when its criterion is ticked, existing
    // centres no place carries are not shown.
    void showFixedCentres();

    // The table of totals by centre count as it stands: its header, then one row a count; empty
    // while it has no row.
    std::vector<std::vector<std::string>> costTable() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void moveFixedCentre(bool in, int row, const dorvan::Text100& name);
    // The rules of the proposal: the existing centres chosen, the project's group size limit.
    dorvan::GroupRules rules(std::span<const dorvan::GroupSite> sites) const;
    void ProposeButtonClick();
    void stopSearch();
    void searched(const dorvan::GroupSearchResult& result, std::uint64_t job);
    // refusal: why the rules cannot be kept with this many centres; the row stays empty.
    void tableRow(const dorvan::CentreCountRow& row, const std::string& refusal, std::uint64_t job);
    void searchEnded(std::uint64_t job);
    void searchFailed(std::exception_ptr failure, std::uint64_t job);

    EntryContext context_;
    Apply apply_;
    Search search_;
    QLineEdit* CentreCountEdit = nullptr;
    QPushButton* ProposeButton = nullptr;
    QTableWidget* CentreTable = nullptr;
    TwoListPicker* fixedPicker_ = nullptr;

    std::vector<dorvan::GroupSite> sites_; // the places the running search groups
    std::uint64_t job_ = 0;
    bool finished_ = true;
    bool cursorSet_ = false;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::thread worker_;
};

} // namespace entry
