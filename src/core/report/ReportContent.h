#pragma once

// What a report of an allocation run says, in order: the project summary, the result, the
// chart, the candidate sites and the place table; the window adds the group proposal's cost
// table and the star network where it has them. The command line and the window build it from
// the same run with the same function, so both print the same text.

#include "core/allocation/CandidateSites.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/project/ProjectRecord.h"
#include "core/project/StarSolution.h"
#include "core/report/ReportLayout.h"

#include <array>
#include <string>
#include <vector>

namespace dorvan::report {

struct ReportDate {
    int year = 0;
    int month = 0;
    int day = 0;
};
// "9. 12. 2026"
std::string dateText(ReportDate date);

// One run and what the report needs around it.
struct ReportRun {
    std::string projectName; // the project file's name without its folder
    ReportDate date;
    const TProjectRecord* record = nullptr;
    int placeCount = 0;
    // The criterion boxes as the data-entry window holds them (CriterionOn as opened).
    std::array<bool, CriterionCount> ticked {};
    const CooperRunInputs* inputs = nullptr;
    const CooperRunResult* result = nullptr;
    const CooperState* state = nullptr;
    // The one-centre candidates the result keeps; priced here from the state when none.
    const std::vector<CandidateSite>* candidates = nullptr;
    std::vector<double> contours; // percents above the optimum's cost; none when empty
    bool overPicture = false; // the chart is drawn over the map picture
    bool selectedPart = false; // the chart shows a magnified part of the drawing
};

// Everything but the window's extras; numbers with a decimal comma, as the window shows them.
ReportContent reportContent(const ReportRun& run);

// The star network of the network methods window: one row a star.
ReportSection starSection(const StarSolution& stars);
// "Okruhy rozvozu": the delivery rounds of the network window, a row a round.
ReportSection roundsSection(const RoundsTrace& rounds);

// A table the window shows, taken as it stands (the group proposal's totals by centre count).
ReportSection tableSection(const std::string& title, const std::vector<std::string>& header,
    const std::vector<std::vector<std::string>>& rows);

} // namespace dorvan::report
