// The project's star search and rounds: made once for the same inputs and again after any
// input changes; a stopped rounds search is not kept.
#include "core/network/NetworkResults.h"
#include "core/entry/PlaceList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace dorvan;

namespace {

std::unique_ptr<Project> sixTowns()
{
    struct Town {
        const char* name;
        double x, y;
    };
    const Town towns[]
        = { { "A", 0, 0 }, { "B", 4, 0 }, { "C", 0, 3 }, { "D", 20, 20 }, { "E", 23, 20 }, { "F", 20, 24 } };
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    int i = 0;
    for (const Town& t : towns)
        storeNewPlace(p->Record, ++i, Text100::fromUtf8(t.name), t.x, t.y);
    computeDistances(p->Record, i);
    p->State.PlaceCount = i;
    return p;
}

TEST(NetworkResults, TheStarSearchIsMadeOncePerRevision)
{
    auto p = sixTowns();
    NetworkResults& kept = networkResultsOf(*p);
    const auto first = kept.stars(*p, ",");
    EXPECT_EQ(kept.stars(*p, ",").get(), first.get());
    EXPECT_EQ(kept.starSearchesMade(), 1);
    // The search's own figures, independent of the keeping: all six places in the stars.
    int placed = 0;
    for (int size : first->best.StarSize)
        placed += size;
    EXPECT_EQ(placed, 6);

    // A reach of 6 km parts the two clusters: another input, another search.
    p->Record.setCriterion(CritMaxRouteLength, true);
    p->Record.MaxRouteLength = 6.0;
    const auto second = kept.stars(*p, ",");
    EXPECT_NE(second.get(), first.get());
    EXPECT_EQ(kept.starSearchesMade(), 2);
    EXPECT_EQ(second->best.StarCount, 2);
    EXPECT_EQ(kept.stars(*p, ",").get(), second.get());
    EXPECT_EQ(kept.starSearchesMade(), 2);
}

TEST(NetworkResults, RoundsAreKeptForTheirProblemAndOptionsButNotWhenStopped)
{
    auto p = sixTowns();
    const RoundsInput in = roundsProblem(*p);
    ASSERT_TRUE(in.problem) << in.refusal;
    NetworkResults& kept = networkResultsOf(*p);
    RoundsOptions o;
    o.iterations = 200;
    o.threads = 1;
    const auto plan = kept.searchedRounds(*in.problem, o, ",");
    EXPECT_EQ(kept.searchedRounds(*in.problem, o, ",").get(), plan.get());
    EXPECT_EQ(kept.roundsSearchesMade(), 1);
    EXPECT_EQ(kept.rounds(*in.problem, o, ",").get(), plan.get());
    // Another seed or another problem is another search.
    RoundsOptions other = o;
    other.seed = 7;
    EXPECT_EQ(kept.rounds(*in.problem, other, ","), nullptr);
    RoundsProblem moved = *in.problem;
    moved.depotX += 1.0;
    EXPECT_EQ(kept.rounds(moved, o, ","), nullptr);

    // A stopped search keeps nothing; the rounds kept before stay.
    RoundsPlan stopped = *plan;
    stopped.cancelled = true;
    kept.keepRounds(moved, o, ",", stopped);
    EXPECT_EQ(kept.rounds(moved, o, ","), nullptr);
    EXPECT_EQ(kept.rounds(*in.problem, o, ",").get(), plan.get());
}

} // namespace
