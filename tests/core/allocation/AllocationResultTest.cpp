// The project's allocation result: made once for the same inputs and again after any input
// changes, and told to a window in the order a run tells it.
#include "core/allocation/AllocationResult.h"
#include "core/entry/GroupList.h"
#include "core/entry/ProjectSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

struct KeptPlace {
    const char* name;
    double x, y, quantity;
};
const KeptPlace FivePlaces[]
    = { { "A", 0, 0, 1 }, { "B", 10, 0, 2 }, { "C", 5, 10, 1 }, { "D", 20, 5, 3 }, { "E", 8, 16, 1 } };

std::unique_ptr<Project> fivePlaceProject()
{
    TProjectRecord r;
    ResetProjectAtStart(r);
    int k = 0;
    for (const KeptPlace& p : FivePlaces) {
        ++k;
        r.PlaceName[k] = Text100::fromUtf8(p.name);
        r.PlaceX[k] = p.x;
        r.PlaceY[k] = p.y;
        r.PlaceQuantity[k] = p.quantity;
    }
    r.SavedPlaceCount = k;
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    ProjectSession(*p).open(r, "kept.mzd");
    p->Choices.SettingsOn = true;
    return p;
}

TEST(AllocationResults, AResultIsMadeOncePerRevisionAndAgainWhenAnInputChanges)
{
    auto p = fivePlaceProject();
    AllocationResults& kept = allocationsOf(*p);
    EXPECT_EQ(&kept, &allocationsOf(*p)) << "one keeper a project";
    const auto first = kept.of(*p, ",");
    EXPECT_EQ(kept.made(), 1);
    const std::uint64_t firstRevision = kept.revision();
    // Read again and again (the window at every click and resize): the same result.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(kept.of(*p, ",").get(), first.get());
    EXPECT_EQ(kept.made(), 1);
    EXPECT_EQ(kept.revision(), firstRevision);
    // Something a run does not take changes nothing.
    p->State.ProjectFileName = "other.mzd";
    p->Record.PlaceX[7] = 99.0; // beyond the place count
    EXPECT_EQ(kept.of(*p, ",").get(), first.get());
    EXPECT_EQ(kept.made(), 1);

    // Each input a run takes makes a new result under a new revision.
    const std::vector<std::pair<const char*, std::function<void(Project&)>>> edits {
        { "a coordinate", [](Project& q) { q.Record.PlaceX[2] = 11.0; } },
        { "a quantity while weighed",
            [](Project& q) {
                q.Record.setCriterion(CritQuantity, true);
                q.Record.PlaceQuantity[4] = 4.0;
            } },
        { "a name", [](Project& q) { q.Record.PlaceName[5] = Text100::fromUtf8("F"); } },
        { "the precision text", [](Project& q) { q.Choices.Settings.setPrecisionText("0,001"); } },
        { "the place count", [](Project& q) { q.State.PlaceCount = 4; } },
        { "the data mode", [](Project& q) { q.State.PictureMode = true; } },
        { "the groups",
            [](Project& q) {
                q.Record.setCriterion(CritGroups, true);
                q.Choices.Groups = groupsFromLines({ "--- Skupina 1 ---", "A", "B", "C" }, 1);
            } },
    };
    int made = 1;
    std::uint64_t revision = firstRevision;
    for (const auto& [what, edit] : edits) {
        const AllocationResult* before = kept.of(*p, ",").get();
        edit(*p);
        const auto after = kept.of(*p, ",");
        EXPECT_NE(after.get(), before) << what;
        EXPECT_EQ(kept.made(), ++made) << what;
        EXPECT_GT(kept.revision(), revision) << what;
        revision = kept.revision();
        EXPECT_EQ(kept.of(*p, ",").get(), after.get()) << what << ": kept again";
        EXPECT_EQ(kept.made(), made) << what;
    }
    // A separator of another locale gives other texts: another result.
    kept.of(*p, ".");
    EXPECT_EQ(kept.made(), made + 1);
}

// The result is the driver's over the same inputs, with the one-centre candidates priced.
TEST(AllocationResults, TheKeptResultIsTheRunOfItsInputs)
{
    auto p = fivePlaceProject();
    p->Record.setCriterion(CritQuantity, true);
    const auto kept = allocationsOf(*p).of(*p, ",");
    const CooperRunInputs in = runInputs(*p, ",");
    EXPECT_EQ(kept->inputs, in);
    auto state = std::make_unique<CooperState>();
    const CooperRunResult direct = runCooperDriver(*state, p->Record, p->State.PlaceCount, in);
    EXPECT_EQ(kept->run.pathLines, direct.pathLines);
    EXPECT_EQ(kept->run.placeLines, direct.placeLines);
    EXPECT_EQ(kept->run.optimumText, direct.optimumText);
    ASSERT_EQ(kept->path().size(), static_cast<std::size_t>(direct.finalIter));
    EXPECT_EQ(kept->path().back().x, state->IterX[direct.finalIter]);
    // Five candidates, cheapest first, none cheaper than the optimum's objective.
    ASSERT_EQ(kept->candidates.size(), 5U);
    for (std::size_t i = 1; i < kept->candidates.size(); ++i)
        EXPECT_LE(kept->candidates[i - 1].objective, kept->candidates[i].objective);
    EXPECT_GE(kept->candidates.front().objective, kept->run.certificate.objective * (1.0L - 1e-12L));
}

// What a run tells its callbacks, as a list of events with the lines listed at each group.
struct Told {
    std::vector<std::string> events;
    CooperRunCallbacks callbacks()
    {
        CooperRunCallbacks cb;
        cb.warn = [this](const std::string& text) { events.push_back("warn " + text); };
        cb.resetPrecision = [this] { events.push_back("precision"); };
        cb.resetCorrection = [this] { events.push_back("correction"); };
        cb.groupListed = [this](const CooperRunResult& soFar, int g) {
            events.push_back("group " + std::to_string(g) + ": " + std::to_string(soFar.pathLines.size())
                + " / " + std::to_string(soFar.placeLines.size()) + " lines, "
                + std::to_string(soFar.groups.size()) + " groups, last "
                + std::to_string(soFar.groups.back().no));
        };
        return cb;
    }
};

TEST(AllocationResults, AKeptResultIsToldInTheOrderOfTheRun)
{
    auto p = fivePlaceProject();
    p->Record.setCriterion(CritGroups, true);
    // Group 2 too small, group 3 without members, a precision and a correction that are refused.
    p->Choices.Groups = groupsFromLines(
        { "--- Skupina 1 ---", "A", "B", "C", "--- Skupina 2 ---", "D", "--- Skupina 4 ---", "E", "A", "B" },
        4);
    p->Choices.Settings.setPrecisionText("abc");
    p->Choices.Settings.setCorrectionText("0");
    p->Choices.Settings.rule = StoppingRule::Objective; // the rule that reads the correction
    const auto kept = allocationsOf(*p).of(*p, ",");

    Told direct;
    auto state = std::make_unique<CooperState>();
    runCooperDriver(*state, p->Record, p->State.PlaceCount, runInputs(*p, ","), direct.callbacks());
    Told replayed;
    replayAllocation(*kept, replayed.callbacks());
    EXPECT_EQ(replayed.events, direct.events);
    // Worked out by hand: group 1 lists its optimum and header + 3 members; group 2 a header and
    // one member; group 3 only its header (no members, so not told); group 4 one more optimum.
    ASSERT_GE(replayed.events.size(), 4U);
    EXPECT_NE(
        std::find(replayed.events.begin(), replayed.events.end(), "group 1: 1 / 4 lines, 1 groups, last 1"),
        replayed.events.end());
    EXPECT_NE(
        std::find(replayed.events.begin(), replayed.events.end(), "group 2: 1 / 6 lines, 2 groups, last 2"),
        replayed.events.end());
    EXPECT_NE(
        std::find(replayed.events.begin(), replayed.events.end(), "group 4: 2 / 11 lines, 4 groups, last 4"),
        replayed.events.end());
    EXPECT_NE(std::find(replayed.events.begin(), replayed.events.end(), "precision"), replayed.events.end());
    EXPECT_NE(std::find(replayed.events.begin(), replayed.events.end(), "correction"), replayed.events.end());
    // Told twice, the same twice: a kept result is shown as often as a window asks.
    Told again;
    replayAllocation(*kept, again.callbacks());
    EXPECT_EQ(again.events, replayed.events);
}

} // namespace
