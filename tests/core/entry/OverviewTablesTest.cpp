#include "core/entry/OverviewTables.h"

#include "core/entry/PlaceList.h"
#include "core/entry/PlaceRelations.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

std::unique_ptr<TProjectRecord> threePlaces()
{
    auto r = std::make_unique<TProjectRecord>();
    storeNewPlace(*r, 1, Text100::fromUtf8("Alfa"), 0, 0);
    storeNewPlace(*r, 2, Text100::fromUtf8("Beta"), 2.5, -1.25);
    storeNewPlace(*r, 3, Text100::fromUtf8("Čadca"), 3, 4);
    r->PlaceQuantity[2] = 12.34567;
    r->PlacePrice[3] = 0.5;
    r->PlaceFlexibility[3] = 7;
    computeDistances(*r, 3);
    r->Distance[2][3] = r->Distance[3][2] = 17.5;
    return r;
}

std::vector<std::string> column(const TextTable& t, int c)
{
    std::vector<std::string> out;
    for (int row = 0; row < t.rows(); ++row)
        out.push_back(t.at(c, row));
    return out;
}

std::vector<std::string> row(const TextTable& t, int r)
{
    std::vector<std::string> out;
    for (int c = 0; c < t.columns(); ++c)
        out.push_back(t.at(c, r));
    return out;
}

} // namespace

// The window tests look at the texts of a small list; these look at the numbers' forms and at
// counts out of range.
TEST(OverviewTables, NumbersNamesAndCountsOutOfRange)
{
    auto r = threePlaces();
    const OverviewTables t = overviewTables(*r, 3, {}, ",");
    EXPECT_EQ(
        row(t.amounts, 2), (std::vector<std::string> { "2", "Beta", "2,5", "-1,25", "12,3457", "1", "1" }));
    EXPECT_EQ(row(t.amounts, 3), (std::vector<std::string> { "3", "Čadca", "3", "4", "1", "0,5", "7" }));
    EXPECT_EQ(row(t.distances, 4), (std::vector<std::string> { "3", "Čadca", "5", "17,5", "0" }));
    EXPECT_EQ(t.distances.at(3, 2), "2,7951"); // sqrt(2,5^2 + 1,25^2) = 2,79508...

    // Nothing beyond 99 places, nothing below none.
    EXPECT_EQ(overviewTables(*r, 150, {}, ",").amounts.rows(), 100);
    const OverviewTables none = overviewTables(*r, -3, {}, ",");
    EXPECT_EQ(none.amounts.rows(), 1);
    EXPECT_EQ(none.distances.rows(), 2);
    EXPECT_EQ(none.distances.at(1, 1), "Vzdialenosť");
    EXPECT_THROW((void)none.distances.at(2, 0), std::out_of_range);
}

TEST(OverviewTables, FurtherSettingsShowTheirValuesOrWhatIsMissing)
{
    TProjectRecord r;
    r.MaxDistributionTime = 2.25;
    r.LoadTimeDS = 0.1;
    r.VehicleCount = 12;
    r.VehicleSpeed = 55.55557;
    OverviewTables t = overviewTables(r, 0, {}, ".");
    ASSERT_EQ(t.settings.rows(), 12);
    ASSERT_EQ(t.settings.columns(), 2);
    EXPECT_EQ(column(t.settings, 0),
        (std::vector<std::string> { "Maximálna dĺžka distribučnej trasy", "Maximálny čas distribúcie",
            "Distribučná centrála", "Čas nakladania - vykladania v DC", "Čas nakladania - vykladania v DS",
            "Čas nakladania - vykladania v DM", "Kapacita skladu v DC", "Kapacita skladov v DS",
            "Kapacita skladov v DM", "Počet dopravných prostriedkov", "Kapacita dopravných prostriedkov",
            "Priemerná rýchlosť dopravných prostriedkov" }));
    EXPECT_EQ(column(t.settings, 1),
        (std::vector<std::string> { "Bez obmedzenia", "2.25", "Nedefinované", "0", "0.1", "0", "0", "0", "0",
            "12", "0", "55.5556" }));
    r.MaxRouteLength = 40;
    r.CentralName = Text100::fromUtf8("Žilina");
    t = overviewTables(r, 0, {}, ",");
    EXPECT_EQ(t.settings.at(1, 0), "40");
    EXPECT_EQ(t.settings.at(1, 2), "Žilina");
}

TEST(OverviewTables, PrioritiesInTheirOrderWhileTicked)
{
    TProjectRecord r;
    addPriority(r, Text100::fromUtf8("Zvolen"));
    addPriority(r, Text100::fromUtf8("Ajka"));
    EXPECT_EQ(column(overviewTables(r, 0, { .priorities = true }, ",").priorities, 0),
        (std::vector<std::string> { "Poradie miest podľa priority", "Zvolen", "Ajka" }));
    EXPECT_EQ(column(overviewTables(r, 0, { .priorities = false }, ",").priorities, 0),
        (std::vector<std::string> { "Poradie miest podľa priority", "Priorita neurčená" }));
    // A count from a damaged file stays inside the stored list.
    r.PriorityCount = 5000;
    EXPECT_EQ(overviewTables(r, 0, { .priorities = true }, ",").priorities.rows(), 101);
}
