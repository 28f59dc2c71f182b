#include "core/report/OutputNames.h"

#include <gtest/gtest.h>

namespace dorvan {
namespace {

TEST(OutputNames, ExportFormatFollowsTheChosenSuffixElseTheReference)
{
    struct Case {
        const char* chosen;
        bool reference;
        const char* file;
        bool geoJson;
        bool refused;
    };
    const Case cases[] = {
        { "/d/out.csv", true, "/d/out.csv", false, false },
        { "/d/out.CSV", false, "/d/out.CSV", false, false },
        { "/d/out.geojson", true, "/d/out.geojson", true, false },
        { "/d/out.JSON", true, "/d/out.JSON", true, false },
        // GeoJSON asked for by the name, but the project has no reference.
        { "/d/out.geojson", false, "/d/out.geojson", true, true },
        // Any other name takes the format the project suggests, and its extension.
        { "/d/out", true, "/d/out.geojson", true, false },
        { "/d/out", false, "/d/out.csv", false, false },
        { "/d/out.txt", false, "/d/out.txt.csv", false, false },
        { "/d.x/out", true, "/d.x/out.geojson", true, false },
    };
    for (const Case& c : cases) {
        const ExportTarget t = exportTarget(c.chosen, c.reference);
        EXPECT_EQ(t.fileName, c.file) << c.chosen;
        EXPECT_EQ(t.geoJson, c.geoJson) << c.chosen;
        EXPECT_EQ(t.refused, c.refused) << c.chosen;
    }
}

TEST(OutputNames, ProposalsTakeTheProjectsBaseNameOrAFallback)
{
    EXPECT_EQ(proposedExportName("/home/a/Trnava.mzd", true), "Trnava.geojson");
    EXPECT_EQ(proposedExportName("/home/a/Trnava.mzd", false), "Trnava.csv");
    EXPECT_EQ(proposedExportName("", false), "Vysledok.csv");
    EXPECT_EQ(proposedExportName("/home/a.b/v1.2.mzd", false), "v1.2.csv");
    EXPECT_EQ(proposedOutputName("Novy.mzd", "Zostava", ".pdf"), "Novy.pdf");
    EXPECT_EQ(proposedOutputName("", "Zostava", ".pdf"), "Zostava.pdf");

    EXPECT_EQ(withPdfExtension("/d/z.pdf"), "/d/z.pdf");
    EXPECT_EQ(withPdfExtension("/d/z.PDF"), "/d/z.PDF");
    EXPECT_EQ(withPdfExtension("/d/z"), "/d/z.pdf");
    EXPECT_EQ(withPdfExtension("/d.pdf/z"), "/d.pdf/z.pdf");
}

TEST(OutputNames, EveryPrintJobAfterTheFirstGetsItsNumberBeforeTheSuffix)
{
    EXPECT_EQ(printJobFileName("/tmp/p/out.pdf", 1), "/tmp/p/out.pdf");
    EXPECT_EQ(printJobFileName("/tmp/p/out.pdf", 2), "/tmp/p/out-2.pdf");
    EXPECT_EQ(printJobFileName("/tmp/p/out.v1.PDF", 3), "/tmp/p/out.v1-3.PDF");
    EXPECT_EQ(printJobFileName("/tmp/p/out", 2), "/tmp/p/out-2");
    EXPECT_EQ(printJobFileName("out.pdf", 2), "./out-2.pdf");
    EXPECT_EQ(printJobFileName("/out.pdf", 2), "/out-2.pdf");
    // Printing to a printer, not a file.
    EXPECT_EQ(printJobFileName("", 2), "");
}

} // namespace
} // namespace dorvan
