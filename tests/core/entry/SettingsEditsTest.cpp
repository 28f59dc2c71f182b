// The settings page's commands: keys typed into one field are one step, a text refused by a run
// or by the page's check goes back to its default with the edit that led to it, and nothing
// becomes unsaved at the saved point.
#include "core/entry/ProjectEdits.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

std::unique_ptr<Project> newSettingsProject()
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    ProjectSession(*p).startNew();
    return p;
}

} // namespace

TEST(SettingsEdits, KeysInOneFieldAreOneStepAndARefusedTextGoesWithTheEditBeforeIt)
{
    struct Scenario {
        const char* what;
        std::function<void(ProjectEdits&)> edits;
        std::size_t steps; // steps in the history afterwards
        // After one undo (or as they stand when there is no step).
        const char* precision;
        const char* correction;
        StoppingRule rule;
    };
    const auto both = StoppingRule::BothAxes;
    const std::vector<Scenario> scenarios = {
        { "the keys of one typing",
            [](ProjectEdits& e) {
                e.typePrecision("0", false);
                e.typePrecision("0,", true);
                e.typePrecision("0,5", true);
            },
            1, "0,01", "1,0", both },
        { "typing again after OK",
            [](ProjectEdits& e) {
                e.typePrecision("0,5", false);
                e.typePrecision("0,2", false);
            },
            2, "0,5", "1,0", both },
        { "the other field in between",
            [](ProjectEdits& e) {
                e.typePrecision("0,5", false);
                e.typeCorrection("2", true);
                e.typePrecision("0,2", true);
            },
            3, "0,5", "2", both },
        { "a rule in between",
            [](ProjectEdits& e) {
                e.typePrecision("0,5", false);
                e.setStoppingRule(StoppingRule::AxisX, false);
                e.typePrecision("0,2", true);
            },
            3, "0,5", "1,0", StoppingRule::AxisX },
        { "a text refused by the run the rule started",
            [](ProjectEdits& e) {
                e.typePrecision("abc", false);
                e.setStoppingRule(StoppingRule::Objective, true);
                e.resetPrecision();
            },
            2, "abc", "1,0", both },
        { "a text refused right after its typing",
            [](ProjectEdits& e) {
                e.typePrecision("abc", false);
                e.resetPrecision();
            },
            0, "0,01", "1,0", both },
        { "a correction refused right after its typing",
            [](ProjectEdits& e) {
                e.typeCorrection("0", false);
                e.resetCorrection();
            },
            0, "0,01", "1,0", both },
        { "a key that leaves the text as it was", [](ProjectEdits& e) { e.typePrecision("0,01", true); }, 0,
            "0,01", "1,0", both },
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        auto p = newSettingsProject();
        ProjectEdits e(*p);
        ProjectDocument doc(*p);
        s.edits(e);
        EXPECT_EQ(p->History->steps.size(), s.steps);
        if (s.steps > 0) {
            ASSERT_TRUE(doc.undo());
        }
        const CooperSettings& now = p->Choices.Settings;
        EXPECT_EQ(now.precisionText(), s.precision);
        EXPECT_EQ(now.correctionText(), s.correction);
        EXPECT_EQ(now.rule, s.rule);
        EXPECT_EQ(doc.clean(), s.steps <= 1) << "one undo back from the start";
    }
}

TEST(SettingsEdits, ARefusedTextAtTheSavedPointIsShownButLeavesNothingUnsaved)
{
    auto p = newSettingsProject();
    ProjectEdits e(*p);
    ProjectDocument doc(*p);
    std::vector<ProjectChange> told;
    auto watching = p->Observers.observe([&told](ProjectChange what) { told.push_back(what); });

    e.typePrecision("11", false);
    EXPECT_FALSE(p->Choices.Settings.precision());
    ProjectSession(*p).saved("a.mzd");
    ASSERT_TRUE(doc.clean());
    told.clear();
    e.resetPrecision();
    EXPECT_EQ(p->Choices.Settings.precisionText(), "0,01");
    EXPECT_EQ(p->Choices.Settings.precision(), 100);
    EXPECT_TRUE(doc.clean()) << "the texts are not saved";
    EXPECT_FALSE(p->State.UnsavedChanges);
    EXPECT_EQ(p->History->steps.size(), 1u);
    ASSERT_EQ(told.size(), 1u) << "the settings page is told";
    EXPECT_TRUE(has(told[0], ProjectChange::Settings));
    EXPECT_FALSE(has(told[0], ProjectChange::RunInputs));

    // A choice runs an open allocation window again; a key does not (its OK does).
    told.clear();
    e.setStartPoint(StartPoint::Origin, true);
    e.setStoppingRule(StoppingRule::AxisY, false);
    e.typeCorrection("3", false);
    ASSERT_EQ(told.size(), 3u);
    EXPECT_TRUE(has(told[0], ProjectChange::RunInputs));
    EXPECT_FALSE(has(told[1], ProjectChange::RunInputs)) << "no allocation window open";
    EXPECT_FALSE(has(told[2], ProjectChange::RunInputs));
    EXPECT_EQ(p->Choices.Settings.correction(), 30000);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(p->Choices.Settings.correction(), 10000) << "the number goes back with its text";
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(p->Choices.Settings.rule, StoppingRule::BothAxes);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(p->Choices.Settings.start, StartPoint::Computed);
    EXPECT_TRUE(doc.clean());
}
