// The CSV export as one table a GIS reads: written out by hand here for a run built by hand.
#include "core/cli/ResultExport.h"

#include <gtest/gtest.h>

#include <string>

using namespace dorvan;

namespace {

// Two groups: names that need quoting, whole numbers, tiny and huge values, a group without a
// gap served by an existing centre, and a path of one point.
cli::RunExport handMadeGroupRun()
{
    cli::RunExport run;
    run.groups = true;
    run.places = { { "Nitra, mesto", 1.0, 2.0, 3.0, 1 }, { "Say \"Hi\"", 48.5, 17.25, 1.5, 0 },
        { "\xC5\xBDilina", -0.5, 1e-5, 2.0, 2 } };
    cli::ExportResult first;
    first.group = 1;
    first.optimum = { 1.25, 2.5 };
    first.objective = 10.0;
    first.gap = 0.001;
    first.path = { { 0.0, 0.0 }, { 1.25, 2.5 } };
    cli::ExportResult second;
    second.group = 2;
    second.optimum = { 3.0, 4.0 };
    second.objective = 1e20;
    second.path = { { 3.0, 4.0 } };
    second.existingCentre = "Nitra, mesto";
    run.results = { first, second };
    return run;
}

} // namespace

TEST(ResultCsv, OneRowAFeatureWithDecimalPointsAndQuotedNames)
{
    cli::RunExport run = handMadeGroupRun();
    EXPECT_EQ(cli::exportCsv(run, nullptr),
        "kind,group,name,step,x,y,weight,objective,gap,existing\n"
        "place,1,\"Nitra, mesto\",,1.0,2.0,3.0,,,\n"
        "place,,\"Say \"\"Hi\"\"\",,48.5,17.25,1.5,,,\n"
        "place,2,\xC5\xBDilina,,-0.5,1e-05,2.0,,,\n"
        "optimum,1,,,1.25,2.5,,10.0,0.001,0\n"
        "optimum,2,\"Nitra, mesto\",,3.0,4.0,,1e+20,,1\n"
        "path,1,,0,0.0,0.0,,,,\n"
        "path,1,,1,1.25,2.5,,,,\n"
        "path,2,,0,3.0,4.0,,,,\n");

    // One centre: no group anywhere, 15 significant digits.
    run.groups = false;
    run.places.resize(1);
    run.places[0].group = 0;
    run.results.resize(1);
    run.results[0].optimum = { 2.0 / 3.0, 123456.789012345678 };
    run.results[0].path = { run.results[0].optimum };
    EXPECT_EQ(cli::exportCsv(run, nullptr),
        "kind,group,name,step,x,y,weight,objective,gap,existing\n"
        "place,,\"Nitra, mesto\",,1.0,2.0,3.0,,,\n"
        "optimum,,,,0.666666666666667,123456.789012346,,10.0,0.001,0\n"
        "path,,,0,0.666666666666667,123456.789012346,,,,\n");
}

TEST(ResultCsv, WithAReferenceEveryRowEndsInItsLatitudeAndLongitude)
{
    // Plate carrée on a sphere whose degree is one kilometre: longitude = x, latitude = y.
    const auto reference = geo::Projection::create("+proj=eqc +R=57295.77951308232 +units=km");
    ASSERT_TRUE(reference);
    const std::string text = cli::exportCsv(handMadeGroupRun(), &*reference);
    const std::string expectedStart
        = "kind,group,name,step,x,y,weight,objective,gap,existing,latitude,longitude\n"
          "place,1,\"Nitra, mesto\",,1.0,2.0,3.0,,,,2.0000000,1.0000000\n"
          "place,,\"Say \"\"Hi\"\"\",,48.5,17.25,1.5,,,,17.2500000,48.5000000\n"
          "place,2,\xC5\xBDilina,,-0.5,1e-05,2.0,,,,0.0000100,-0.5000000\n"
          "optimum,1,,,1.25,2.5,,10.0,0.001,0,2.5000000,1.2500000\n";
    EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
    EXPECT_TRUE(text.ends_with("path,2,,0,3.0,4.0,,,,,4.0000000,3.0000000\n")) << text;
}
