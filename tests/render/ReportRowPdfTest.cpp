// A report's table row taller than a page, painted to PDF and read back with poppler's
// pdftotext (not with the program's code): every line of the row is on paper.
#include "render/ReportPainter.h"

#include "support/RenderTestApp.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace dorvan::report;

namespace {

QString pdftotextOf(const QString& pdf, int page)
{
    QProcess p;
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    p.start(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(ReportPdf, ARowTallerThanAPageIsPrintedWhole)
{
    dorvan::test::renderTestApp();
    constexpr int Names = 900; // about 80 wrapped lines in the members' column
    std::string members;
    for (int i = 1; i <= Names; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Obec%04d", i);
        members += (i > 1 ? " " : "") + std::string(name);
    }
    ReportContent content;
    content.projectName = "skupiny.mzd";
    content.date = "10. 12. 2026";
    content.title = "Zostava";
    ReportSection s;
    s.title = "Skupiny";
    ReportTable t;
    t.columns = { { "Skupina", 40, Align::Right }, { "Členovia", 200, Align::Left } };
    t.rows = { { "1", members }, { "2", "Koniec" } };
    s.tables = { t };
    content.sections = { s };

    PreparedReport report;
    report.layout = layoutReport(content, measuredWidth);
    ASSERT_GE(report.layout.pages.size(), 2u);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("skupiny.pdf"));
    const auto failed = writeReportPdf(report, pdf);
    ASSERT_FALSE(failed.has_value()) << failed->toStdString();

    const QString text = pdftotextOf(pdf, 0);
    QStringList notOnceOnPaper;
    for (int i = 1; i <= Names; ++i) {
        const QString name = QStringLiteral("Obec%1").arg(i, 4, 10, QLatin1Char('0'));
        if (text.count(name) != 1)
            notOnceOnPaper << name;
    }
    EXPECT_TRUE(notOnceOnPaper.isEmpty()) << notOnceOnPaper.join(u' ').toStdString();
    EXPECT_EQ(text.count(QStringLiteral("Koniec")), 1);
    // The second page goes on under the header again, with the row's next names.
    const QString second = pdftotextOf(pdf, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("Členovia"))) << second.toStdString();
    EXPECT_TRUE(second.contains(QRegularExpression(QStringLiteral("Obec0[0-9]{3}")))) << second.toStdString();
}
