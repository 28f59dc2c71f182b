// The existing centres kept with the project: their bytes in the record (offsets worked out by
// hand from the record layout), a file without them, damaged marks, save and open through the
// session, and the names following their places.
#include "core/entry/ExistingCentres.h"
#include "core/entry/ProjectSession.h"

#include "core/allocation/GroupSearch.h"
#include "core/project/Project.h"
#include "core/project/RecordCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

// Distance[100][k] lies at 13,760 + 800 * 99 + 8 * (k - 1) = 92,960 + 8 * (k - 1).
double markInBytes(const RecordBytes& bytes, int k)
{
    double v = 0.0;
    std::memcpy(&v, bytes.data() + 92960 + 8 * (k - 1), sizeof v);
    return v;
}

TProjectRecord fivePlaces()
{
    TProjectRecord r;
    ResetProjectAtStart(r);
    const char* names[] = { "Brno", "Praha", "Žilina", "Ostrava", "Zlín" };
    for (int k = 1; k <= 5; ++k) {
        r.PlaceName[k] = Text100::fromUtf8(names[k - 1]);
        r.PlaceX[k] = 10.0 * k;
        r.PlaceY[k] = k % 2 == 0 ? 5.0 : 15.0;
    }
    r.SavedPlaceCount = 5;
    return r;
}

TEST(ExistingCentres, AreMarkedInDistanceRow100InTheirOrderAndReadBack)
{
    TProjectRecord r = fivePlaces();
    // Distances of the places stay as they are; only row 100 takes the marks.
    r.Distance[2][3] = 7.5;
    storeExistingCentres({ "Ostrava", "Brno", "Nikde" }, 5, r);
    const RecordBytes bytes = encodeRecord(r);
    const double expected[] = { 2.0, 0.0, 0.0, 1.0, 0.0 };
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(markInBytes(bytes, k), expected[k - 1]) << k;
    for (int k = 6; k <= 100; ++k)
        EXPECT_EQ(markInBytes(bytes, k), 0.0) << k;
    EXPECT_EQ(decodeRecord(bytes).Distance[2][3], 7.5);
    EXPECT_EQ(
        storedExistingCentres(decodeRecord(bytes), 5), (std::vector<std::string> { "Ostrava", "Brno" }));

    // Stored again with fewer names, the earlier marks go.
    storeExistingCentres({ "Zlín" }, 5, r);
    EXPECT_EQ(storedExistingCentres(r, 5), std::vector<std::string> { "Zlín" });
    EXPECT_EQ(r.Distance[100][1], 0.0);
    EXPECT_EQ(r.Distance[100][4], 0.0);
    // Places beyond the count are not read.
    EXPECT_TRUE(storedExistingCentres(r, 4).empty());
}

TEST(ExistingCentres, AFileWithoutThemOrWithDamagedMarksHasNone)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::vector<double> marks; // places 1..5
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        { "an older file: zeros", { 0, 0, 0, 0, 0 }, {} },
        { "not whole, negative, too large, not finite", { 2.5, -1, 100, nan, inf }, {} },
        { "one good mark among damaged ones", { 1e300, 3, -0.0, 0.5, nan }, { "Praha" } },
        { "the same order number twice: place order", { 0, 0, 4, 4, 1 }, { "Zlín", "Žilina", "Ostrava" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TProjectRecord r = fivePlaces();
        for (int k = 1; k <= 5; ++k)
            r.Distance[100][k] = c.marks[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(storedExistingCentres(r, 5), c.expected);
        // The project as opened shows them, and opening never fails on them.
        Project p;
        p.resetAtStart();
        ProjectSession(p).open(r, "plan.mzd");
        EXPECT_EQ(p.Choices.ExistingCentres, c.expected);
    }
}

TEST(ExistingCentres, SurviveSaveAndOpenWithTheGroupSizeLimit)
{
    Project p;
    p.resetAtStart();
    TProjectRecord r = fivePlaces();
    r.setCriterion(CritEvenGroups, true);
    r.PlacesPerGroup = 12;
    ProjectSession session(p);
    session.open(r, "plan.mzd");
    EXPECT_TRUE(p.Choices.ExistingCentres.empty());
    EXPECT_EQ(projectGroupSizeLimit(p), 12);

    p.Choices.ExistingCentres = { "Žilina", "Praha" };
    session.prepareSave();
    const RecordBytes saved = encodeRecord(p.Record);
    EXPECT_EQ(markInBytes(saved, 3), 1.0);
    EXPECT_EQ(markInBytes(saved, 2), 2.0);

    Project reopened;
    reopened.resetAtStart();
    ProjectSession(reopened).open(decodeRecord(saved), "plan.mzd");
    EXPECT_EQ(reopened.Choices.ExistingCentres, (std::vector<std::string> { "Žilina", "Praha" }));
    EXPECT_EQ(projectGroupSizeLimit(reopened), 12);

    // "Nový" forgets them; the next save clears the row the record still holds.
    session.startNew();
    EXPECT_TRUE(p.Choices.ExistingCentres.empty());
    p.State.PlaceCount = 5;
    p.State.NextPlace = 6;
    session.prepareSave();
    EXPECT_EQ(p.Record.Distance[100][3], 0.0);
    EXPECT_EQ(p.Record.Distance[100][2], 0.0);
}

TEST(ExistingCentres, FollowTheirPlacesWhenOneIsDeletedOrRenamed)
{
    Project p;
    p.resetAtStart();
    ProjectSession session(p);
    session.open(fivePlaces(), "plan.mzd");
    p.Choices.ExistingCentres = { "Ostrava", "Praha", "Zlín" };

    // Praha (place 2) goes: so does its centre; the others keep theirs and their order.
    session.deleteTypedPlace(2);
    EXPECT_EQ(p.Choices.ExistingCentres, (std::vector<std::string> { "Ostrava", "Zlín" }));

    // Ostrava renamed in the grid: the centre takes the new name (the list is sorted again).
    std::vector<std::string> texts; // the rows' names and X, kept alive for the views
    for (int k = 1; k <= p.State.PlaceCount; ++k) {
        const std::string name = p.Record.PlaceName[k].toUtf8();
        texts.push_back(name == "Ostrava" ? "Olomouc" : name);
        texts.push_back(std::to_string(10 + k));
    }
    std::vector<PlaceTexts> rows;
    for (std::size_t i = 0; i < texts.size(); i += 2)
        rows.push_back({ texts[i], texts[i + 1], "2" });
    ASSERT_FALSE(session.editPlaces(rows).has_value());
    EXPECT_EQ(p.Choices.ExistingCentres, (std::vector<std::string> { "Olomouc", "Zlín" }));

    // Saved, the marks sit on the places' new numbers.
    session.prepareSave();
    EXPECT_EQ(storedExistingCentres(p.Record, p.State.PlaceCount),
        (std::vector<std::string> { "Olomouc", "Zlín" }));
}

} // namespace
