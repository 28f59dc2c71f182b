#pragma once

// The projects and the comparisons the edit history's tests share: projects as the windows leave
// them after typing or clicking places, and what an undo must give back besides the record.
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectEdits.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace dorvan::test::history {

// What an undo must give back besides the record: the choices and the entry's progress.
struct ContentOf {
    RecordBytes bytes;
    EntryChoices choices;
    int placeCount, nextPlace;
    bool complete, addMode, differ;
    int pictureWidth;
    DistanceQuestions questions;
    int rangeX, rangeY;
};

inline ContentOf contentOf(const Project& p)
{
    return { encodeRecord(p.Record), p.Choices, p.State.PlaceCount, p.State.NextPlace, p.State.PlacesComplete,
        p.State.AddPlacesMode, p.State.CoordsDiffer, p.MapPicture.width(), p.Questions, p.State.PictureRangeX,
        p.State.PictureRangeY };
}

inline void expectSame(const ContentOf& a, const ContentOf& b)
{
    EXPECT_TRUE(a.bytes == b.bytes) << "record bytes differ";
    EXPECT_TRUE(a.choices == b.choices) << "choices differ";
    EXPECT_EQ(a.placeCount, b.placeCount);
    EXPECT_EQ(a.nextPlace, b.nextPlace);
    EXPECT_EQ(a.complete, b.complete);
    EXPECT_EQ(a.addMode, b.addMode);
    EXPECT_EQ(a.differ, b.differ);
    EXPECT_EQ(a.pictureWidth, b.pictureWidth);
    EXPECT_TRUE(a.questions == b.questions) << "distance questions differ";
    EXPECT_EQ(a.rangeX, b.rangeX);
    EXPECT_EQ(a.rangeY, b.rangeY);
}

// A new project with four typed places, each settled as the window does.
inline std::unique_ptr<Project> typedProject()
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    ProjectSession s(*p);
    s.startNew();
    EXPECT_TRUE(s.acceptCount("4").message.empty());
    const char* names[] = { "Nitra", "Trnava", "Zlín", "Žilina" };
    const char* xs[] = { "10", "2,5", "40", "7" };
    const char* ys[] = { "3", "20", "8,25", "33" };
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.places().acceptPlace({ names[k], xs[k], ys[k] }).refused, PlaceField::None);
        s.places().settleTypedList();
    }
    return p;
}

// A new project of places clicked on a 20 × 10 picture of 200 × 100 km.
inline std::unique_ptr<Project> clickedProject()
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    ProjectSession s(*p);
    s.startNew();
    RgbPicture picture(20, 10);
    picture.setPixel(3, 4, { 200, 10, 10 });
    s.takeScaledPicture(std::move(picture), { 200, 100 });
    const double at[][2] = { { 10, 20 }, { 150, 80 }, { 60, 40 } };
    for (const auto& xy : at) {
        const ClickTarget t = s.places().clickTarget();
        EXPECT_GT(t.place, 0) << t.message;
        if (s.places().storeClickedPlace(t.place, xy[0], xy[1]).completesList)
            s.places().completeClickedList();
    }
    return p;
}

// The typed project with a plain picture (no scale) taken.
inline std::unique_ptr<Project> plainPictureProject()
{
    auto p = typedProject();
    ProjectSession(*p).takeMapPicture(RgbPicture(30, 20));
    return p;
}

// The same with an addition of one place under way.
inline std::unique_ptr<Project> addingProject()
{
    auto p = typedProject();
    EXPECT_EQ(ProjectSession(*p).acceptCount("1").askPlace, 5);
    return p;
}

// The typed project with every distance pair answered but the last one, (3,4).
inline std::unique_ptr<Project> lastPairProject()
{
    auto p = typedProject();
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(ProjectSession(*p).places().enterDistance(20.5 + k));
    return p;
}

// A fingerprint of the record's bytes, for the many states of a long sequence.
inline std::size_t fingerprint(const Project& p)
{
    const RecordBytes bytes = encodeRecord(p.Record);
    return std::hash<std::string_view> {}(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

inline DistanceTable tableOf(int n)
{
    DistanceTable t { n, {} };
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            t.tenThousandths.push_back(i == j ? 0 : 10000 * (i + j) + 37 * i * j);
    return t;
}

} // namespace dorvan::test::history
