// The edit history's bounds and what it keeps apart: the oldest steps go beyond its limits of
// steps and bytes (the saved point with them), the picture's range follows its display within
// its command, and what the project tells beside its content marks nothing unsaved. Expected
// counts are worked out by hand in each row.
#include "support/HistoryProjects.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

using namespace dorvan;
using namespace dorvan::test::history;

TEST(ProjectHistory, ThePictureRangeFollowsTheDisplayUnlessItIsKilometres)
{
    struct Row {
        const char* what;
        std::unique_ptr<Project> (*start)();
        PixelSize shown;
        int rangeX, rangeY; // record and working state after
    };
    const Row rows[] = {
        // Width by height less one, as a click measures from the bottom row.
        { "a plain picture", plainPictureProject, { 300, 201 }, 300, 200 },
        { "a plain picture shown small", plainPictureProject, { 31, 21 }, 31, 20 },
        // 200 x 100 km whatever the display.
        { "a scaled picture", clickedProject, { 300, 201 }, 200, 100 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto p = row.start();
        ProjectEdits(*p).takePictureRange(row.shown);
        EXPECT_EQ(p->Record.MapRangeX, row.rangeX);
        EXPECT_EQ(p->Record.MapRangeY, row.rangeY);
        EXPECT_EQ(p->State.PictureRangeX, row.rangeX);
        EXPECT_EQ(p->State.PictureRangeY, row.rangeY);
    }
}

TEST(ProjectHistory, TheOldestStepsGoBeyondTheBoundsAndTheSavedPointWithThem)
{
    // Edit k sets the vehicle speed to k; a picture edit takes a 100 x 100 picture (30,000
    // bytes of pixels): its step keeps the picture before and after it.
    const auto speed = [](int k) {
        return [k](Project& p) { ProjectEdits(p).setValue(&TProjectRecord::VehicleSpeed, k); };
    };
    const auto picture = [](std::uint8_t shade) {
        return [shade](Project& p) {
            RgbPicture pic(100, 100);
            pic.setPixel(0, 0, { shade, shade, shade });
            ProjectSession(p).takeMapPicture(std::move(pic));
        };
    };
    struct Row {
        const char* what;
        std::size_t stepLimit, byteLimit;
        std::vector<std::function<void(Project&)>> edits;
        std::size_t savedAfter; // the edits done when the project was saved
        std::size_t kept; // steps left to undo
        bool savedReachable;
    };
    const std::size_t plenty = std::size_t { 1 } << 30;
    const Row rows[] = {
        { "within the bounds", 10, plenty, { speed(1), speed(2), speed(3) }, 0, 3, true },
        { "eight edits, five kept", 5, plenty,
            { speed(1), speed(2), speed(3), speed(4), speed(5), speed(6), speed(7), speed(8) }, 0, 5, false },
        { "saved after a kept step", 3, plenty,
            { speed(1), speed(2), speed(3), speed(4), speed(5), speed(6) }, 4, 3, true },
        { "saved at the last dropped step", 3, plenty,
            { speed(1), speed(2), speed(3), speed(4), speed(5), speed(6) }, 3, 3, true },
        { "saved before it", 3, plenty, { speed(1), speed(2), speed(3), speed(4), speed(5), speed(6) }, 2, 3,
            false },
        // 30,000 + 60,000 bytes held, then 60,000 more: the two oldest go to come under 100,000.
        { "pictures over the byte bound", 1000, 100000, { picture(1), picture(2), picture(3) }, 0, 1, false },
        { "pictures then small edits", 1000, 100000,
            { picture(1), picture(2), picture(3), speed(9), speed(10) }, 0, 3, false },
        // The newest step stays whatever it holds.
        { "one step larger than the bound", 1000, 10000, { picture(7) }, 0, 1, true },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto p = typedProject();
        ProjectDocument doc(*p);
        doc.startClean();
        p->History->stepLimit = row.stepLimit;
        p->History->byteLimit = row.byteLimit;
        std::vector<ContentOf> states { contentOf(*p) };
        for (std::size_t k = 0; k < row.edits.size(); ++k) {
            row.edits[k](*p);
            states.push_back(contentOf(*p));
            if (k + 1 == row.savedAfter)
                doc.markSaved();
        }
        const std::size_t n = row.edits.size();
        bool sawClean = doc.clean();
        std::size_t undone = 0;
        while (doc.undo()) {
            ++undone;
            ASSERT_LE(undone, n);
            expectSame(contentOf(*p), states[n - undone]);
            sawClean = sawClean || doc.clean();
            EXPECT_EQ(p->State.UnsavedChanges, !doc.clean());
        }
        EXPECT_EQ(undone, row.kept);
        EXPECT_EQ(sawClean, row.savedReachable);
        while (doc.redo()) { }
        expectSame(contentOf(*p), states[n]);
        EXPECT_EQ(doc.clean(), row.savedAfter == n);
    }
}

TEST(ProjectHistory, WhatIsToldBesideTheContentMarksNothing)
{
    auto p = typedProject();
    ProjectDocument doc(*p);
    doc.startClean();
    std::vector<unsigned> told;
    auto watching
        = p->Observers.observe([&told](ProjectChange what) { told.push_back(static_cast<unsigned>(what)); });
    const std::uint64_t r0 = doc.revision();
    p->tell(ProjectChange::DataMode);
    p->tell(ProjectChange::Coordinates);
    EXPECT_EQ(told, (std::vector<unsigned> { 16u, 32u }));
    EXPECT_TRUE(doc.clean());
    EXPECT_FALSE(p->State.UnsavedChanges);
    EXPECT_EQ(doc.revision(), r0);

    // Told within a command, it is no part of the step: its undo does not tell it again.
    doc.execute({ .name = "Hodnota" }, [&p] {
        p->Record.VehicleSpeed = 50;
        p->tell(ProjectChange::DataMode);
    });
    told.clear();
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(told, (std::vector<unsigned> { 128u | 256u })); // History | Restored
    // A content change, by contrast, is unsaved and a new revision.
    p->changed(ProjectChange::Places);
    EXPECT_TRUE(p->State.UnsavedChanges);
    EXPECT_EQ(doc.revision(), r0 + 3);
}
