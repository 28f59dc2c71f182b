// A group run after a proposal with an existing centre: the group that holds it is served from
// its place without iterating, its lines say so, and the run's total is the proposal's. The
// totals are checked against the brute-force reference of tests/support (every partition, a
// textbook Weiszfeld iteration), not against the search under test.
#include "core/allocation/ConstrainedGroups.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/entry/GroupList.h"
#include "core/entry/ProjectSession.h"
#include "core/geo/GeoReference.h"
#include "core/report/ReportContent.h"

#include "support/GroupReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

// Nine weighted places typed in kilometres around the origin of an azimuthal projection, so
// that place "Stred" at (0, 0) lies exactly at 48° N, 19° E.
struct RunPlace {
    const char* name;
    double x, y, quantity;
};
const RunPlace NinePlaces[] = { { "Stred", 0, 0, 2 }, { "Sever", 3, 40, 1 }, { "Juh", -6, -35, 3 },
    { "Vychod", 52, 4, 1 }, { "Zapad", -48, 7, 2 }, { "Kopec", 60, 45, 4 }, { "Dolina", 70, 52, 1 },
    { "Les", 66, 38, 2 }, { "Breh", -20, 30, 1 } };

std::unique_ptr<Project> existingCentreProject()
{
    TProjectRecord r;
    ResetProjectAtStart(r);
    int k = 0;
    for (const RunPlace& p : NinePlaces) {
        ++k;
        r.PlaceName[k] = Text100::fromUtf8(p.name);
        r.PlaceX[k] = p.x;
        r.PlaceY[k] = p.y;
        r.PlaceQuantity[k] = p.quantity;
    }
    r.SavedPlaceCount = k;
    r.setCriterion(CritQuantity, true);
    EXPECT_TRUE(geo::setProjectReference(r, "+proj=aeqd +lat_0=48 +lon_0=19 +datum=WGS84 +units=km"));
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    ProjectSession(*p).open(r, "plan.mzd");
    return p;
}

// The proposal of the groups page for 3 centres with Stred existing, taken into the project.
GroupSearchResult takeProposal(Project& p, const std::vector<GroupSite>& sites)
{
    GroupRules rules;
    rules.fixed = { 0 }; // Stred
    const GroupSearchResult found = proposeGroups(sites, { 3, DefaultGroupStarts, DefaultGroupSeed }, rules);
    p.Choices.Groups = groupsFromLines(groupListLines(found, sites), found.centres);
    p.Choices.ExistingCentres = { "Stred" };
    p.Record.setCriterion(CritGroups, true);
    return found;
}

// The members of a run's group as indices of the sites.
std::vector<int> memberIndices(const CooperGroupResult& g, const std::vector<GroupSite>& sites)
{
    std::vector<int> out;
    for (const std::string& name : g.memberNames)
        for (std::size_t i = 0; i < sites.size(); ++i)
            if (sites[i].name == name)
                out.push_back(static_cast<int>(i));
    return out;
}

TEST(ExistingCentreRun, TheGroupOfAnExistingCentreStaysAtItsPlaceAndTheTotalIsTheProposals)
{
    auto p = existingCentreProject();
    const std::vector<GroupSite> sites = groupingSites(*p);
    ASSERT_EQ(sites.size(), 9U);
    const GroupSearchResult proposal = takeProposal(*p, sites);
    // The best grouping with Stred serving its own group, by trying every partition.
    const double best = group_reference::bruteForce(sites, 3, { 0 });
    EXPECT_NEAR(static_cast<double>(proposal.total), best, 1e-9 * best);

    const CooperRunInputs in = runInputs(*p, ",");
    EXPECT_EQ(in.existingCentres, std::vector<std::string> { "Stred" });
    auto state = std::make_unique<CooperState>();
    const CooperRunResult res = runCooperDriver(*state, p->Record, p->State.PlaceCount, in);
    ASSERT_TRUE(res.groupRun);
    ASSERT_EQ(res.groups.size(), 3U);

    const CooperGroupResult& fixed = res.groups[0];
    EXPECT_EQ(fixed.existingCentre, "Stred");
    EXPECT_TRUE(fixed.solved);
    EXPECT_EQ(fixed.finalIter, 1);
    ASSERT_EQ(fixed.iterates.size(), 1U);
    EXPECT_EQ(fixed.iterates[0].x, 0.0L);
    EXPECT_EQ(fixed.iterates[0].y, 0.0L);
    EXPECT_EQ(res.pathLines.at(0), "[X1;Y1]=[0;0] Existujúce centrum: Stred");
    const double fixedCost = group_reference::cost(sites, memberIndices(fixed, sites), 0.0, 0.0);
    EXPECT_NEAR(static_cast<double>(fixed.certificate.objective), fixedCost, 1e-12 * fixedCost);
    EXPECT_EQ(groupCertificateText(fixed, ","), "Existujúce centrum: Stred");

    double referenceTotal = fixedCost;
    long double worstGap = 0.0L;
    for (std::size_t g = 1; g < res.groups.size(); ++g) {
        const CooperGroupResult& free = res.groups[g];
        EXPECT_TRUE(free.existingCentre.empty());
        EXPECT_GT(free.finalIter, 1);
        EXPECT_TRUE(res.pathLines.at(g).starts_with("[Xopt" + std::to_string(g + 1) + ";"))
            << res.pathLines[g];
        referenceTotal += group_reference::weber(sites, memberIndices(free, sites));
        worstGap = std::max(worstGap, free.certificate.gap);
    }
    // The run's total is the proposal's and the reference's, to the digits a list shows.
    EXPECT_NEAR(static_cast<double>(groupRunTotal(res)), best, 1e-9 * best);
    EXPECT_NEAR(referenceTotal, best, 1e-9 * best);
    const std::string totalText = groupTotalText(res, ",");
    ASSERT_TRUE(totalText.starts_with("Vážený súčet skupín: ")) << totalText;
    std::string digits = totalText.substr(std::string("Vážený súčet skupín: ").size());
    std::replace(digits.begin(), digits.end(), ',', '.');
    EXPECT_NEAR(std::stod(digits), best, 0.00005);
    // The certificate line speaks for the iterated groups only.
    EXPECT_EQ(certificateText(res, p->Record, ","), gapText(worstGap, ","));

    // Stred lies at 48° N, 19° E by the projection; each other group's optimum is told as such.
    const std::vector<std::string> positions = groupPositionLines(res, p->Record);
    ASSERT_EQ(positions.size(), 3U);
    EXPECT_EQ(positions[0], "Skupina 1: Existujúce centrum Stred: 48,0000000° s. š., 19,0000000° v. d.");
    EXPECT_TRUE(positions[1].starts_with("Skupina 2: Poloha optima: ")) << positions[1];
    EXPECT_TRUE(positions[2].starts_with("Skupina 3: Poloha optima: ")) << positions[2];

    // The same groups without the existing centre: group 1's centre leaves Stred for the Weber
    // point of its members, which costs less.
    CooperRunInputs freeRun = in;
    freeRun.existingCentres.clear();
    const CooperRunResult moved = runCooperDriver(*state, p->Record, p->State.PlaceCount, freeRun);
    EXPECT_TRUE(moved.groups[0].existingCentre.empty());
    EXPECT_GT(moved.groups[0].finalIter, 1);
    const double weber1 = group_reference::weber(sites, memberIndices(moved.groups[0], sites));
    EXPECT_LT(weber1, fixedCost - 1.0);
    EXPECT_NEAR(static_cast<double>(moved.groups[0].certificate.objective), weber1, 1e-6 * weber1);
}

TEST(ExistingCentreRun, TheReportNamesTheExistingCentreAndTheTotal)
{
    auto p = existingCentreProject();
    const std::vector<GroupSite> sites = groupingSites(*p);
    takeProposal(*p, sites);
    const CooperRunInputs in = runInputs(*p, ",");
    auto state = std::make_unique<CooperState>();
    const CooperRunResult res = runCooperDriver(*state, p->Record, p->State.PlaceCount, in);

    report::ReportRun run;
    run.projectName = "plan.mzd";
    run.record = &p->Record;
    run.placeCount = p->State.PlaceCount;
    run.ticked = p->tickedCriteria();
    run.inputs = &in;
    run.result = &res;
    run.state = state.get();
    const report::ReportContent c = report::reportContent(run);
    ASSERT_GE(c.sections.size(), 2U);
    const auto& summary = c.sections[0].lines;
    EXPECT_NE(std::find(summary.begin(), summary.end(), "Existujúce centrá: Stred"), summary.end());
    const report::ReportSection& result = c.sections[1];
    ASSERT_FALSE(result.tables.empty());
    const auto& row = result.tables[0].rows.at(0);
    ASSERT_EQ(row.size(), 6U);
    EXPECT_EQ(row[1], "[X1;Y1]=[0;0] Existujúce centrum: Stred");
    EXPECT_EQ(row[3], "0"); // no iteration
    EXPECT_EQ(row[5], "Existujúce centrum: Stred");
    EXPECT_NE(
        std::find(result.lines.begin(), result.lines.end(), groupTotalText(res, ",")), result.lines.end());
    EXPECT_NE(std::find(result.lines.begin(), result.lines.end(),
                  "Skupina 1: Existujúce centrum Stred: 48,0000000° s. š., 19,0000000° v. d."),
        result.lines.end());
}

} // namespace
