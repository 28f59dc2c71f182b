// The report: "Súbor → Zostava (PDF) ..." and "Súbor → Tlačiť zostavu ..." in the window against
// dorvan-cli report, each PDF read back with poppler's own tools (pdfinfo, pdffonts, pdftotext,
// pdfimages, pdftocairo), not with the program's code.
#include "MainWindowTestSupport.h"
#include "support/CliProcess.h"
#include "support/QtPrinters.h"

#include "core/allocation/AllocationResult.h"
#include "core/entry/PlaceList.h"
#include "core/project/ProjectFile.h"
#include "ui/allocation/Cooperova_Metoda.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

using dorvan::test::CliRun;
using dorvan::test::MainWindowFixture;
using dorvan::test::runCli;

namespace {

const QString Sample = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");

// A poppler tool's standard output; the test fails when the tool does.
QString tool(const char* program, const QStringList& args)
{
    QProcess p;
    p.start(QString::fromLatin1(program), args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program << " " << args.join(' ').toStdString() << ": "
                      << p.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pageCount(const QString& pdf)
{
    const auto m = QRegularExpression(u("Pages:\\s+(\\d+)")).match(tool("pdfinfo", { pdf }));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString pdfText(const QString& pdf, int page = 0)
{
    QStringList args;
    if (page > 0)
        args << u("-f") << QString::number(page) << u("-l") << QString::number(page);
    return tool("pdftotext", args << pdf << u("-"));
}

// What every report must be: A4 pages, each with its number, the project's name and the date;
// every font embedded; the chart on a page of its own in vector paths, with no image but the
// map picture. Returns the text.
QString checkedReport(const QString& pdf, const QString& projectName, int images)
{
    const int pages = pageCount(pdf);
    EXPECT_GE(pages, 3) << pdf.toStdString();
    const QString sizes = tool("pdfinfo", { u("-f"), u("1"), u("-l"), QString::number(pages), pdf });
    // Portrait, or landscape for a wide chart or table.
    EXPECT_EQ(sizes.count(QRegularExpression(u("Page\\s+\\d+ size:\\s+(59[45](\\.\\d+)? x "
                                               "84[12]|84[12](\\.\\d+)? x 59[45])(\\.\\d+)? pts \\(A4\\)"))),
        pages)
        << sizes.toStdString();
    // Nothing written in part: no text cut short with an ellipsis.
    EXPECT_FALSE(pdfText(pdf).contains(QChar(0x2026))) << pdf.toStdString();

    const QStringList fonts = tool("pdffonts", { pdf }).split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fonts.isEmpty());
    for (const QString& line : fonts) {
        const QStringList f = line.split(QRegularExpression(u("\\s+")), Qt::SkipEmptyParts);
        EXPECT_TRUE(f.size() >= 6 && f[f.size() - 5] == u("yes")) << "not embedded: " << line.toStdString();
    }

    int chartPage = 0;
    const QString date = QDate::currentDate().toString(u("d. M. yyyy"));
    for (int p = 1; p <= pages; ++p) {
        const QString text = pdfText(pdf, p);
        EXPECT_TRUE(text.contains(projectName)) << p;
        EXPECT_TRUE(text.contains(date)) << p;
        EXPECT_TRUE(text.contains(u("Strana %1 z %2").arg(p).arg(pages))) << p;
        if (text.contains(u("Graf výsledku"))) {
            EXPECT_EQ(chartPage, 0) << "a second chart page " << p;
            chartPage = p;
            // Nothing else on the chart's page.
            EXPECT_FALSE(text.contains(u("Kandidátske miesta"))) << p;
            EXPECT_FALSE(text.contains(u("Výsledok\n"))) << p;
        }
    }
    EXPECT_GT(chartPage, 0);
    // The chart's lines, markers and frames are paths of their own.
    const QString svgBase = pdf + u("-chart");
    tool("pdftocairo",
        { u("-svg"), u("-f"), QString::number(chartPage), u("-l"), QString::number(chartPage), pdf,
            svgBase + u(".svg") });
    QFile svg(svgBase + u(".svg"));
    EXPECT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_GT(QString::fromUtf8(svg.readAll()).count(u("<path")), 40);
    const QStringList imageLines
        = tool("pdfimages", { u("-list"), pdf }).split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_EQ(imageLines.size(), images) << imageLines.join(u'\n').toStdString();
    return pdfText(pdf);
}

// The chart's page drawn by poppler without smoothing, at 40 pixels an inch unless told.
QImage chartPage(const QString& pdf, int dpi = 40)
{
    const int pages = pageCount(pdf);
    for (int p = 1; p <= pages; ++p) {
        if (!pdfText(pdf, p).contains(u("Graf výsledku")))
            continue;
        const QString base = pdf + u("-graf");
        tool("pdftoppm",
            { u("-aa"), u("no"), u("-aaVector"), u("no"), u("-r"), QString::number(dpi), u("-f"),
                QString::number(p), u("-l"), QString::number(p), u("-singlefile"), u("-png"), pdf, base });
        return QImage(base + u(".png"));
    }
    ADD_FAILURE() << "no chart page in " << pdf.toStdString();
    return {};
}

QString withoutPageNumbers(QString text)
{
    return text.remove(QRegularExpression(u("Strana \\d+ z \\d+"))).trimmed();
}

struct Report : MainWindowFixture {
    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    TCooperAlokMetod* openAndSolve(const QString& project)
    {
        w->resize(1200, 800);
        w->show();
        EXPECT_TRUE(w->openProjectFile(project));
        flushDeletes();
        w->CooperClick();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        return w->cooperWindow();
    }
    QString windowReport(const char* name)
    {
        const QString pdf = path(name);
        dialogs.fileAnswers.push_back(pdf);
        action("ZostavaPdf")->trigger();
        return pdf;
    }
    // A project of four places entered on a map picture of 160 x 50 pixels.
    QString pictureProject()
    {
        auto r = std::make_unique<dorvan::TProjectRecord>();
        dorvan::ResetProjectAtStart(*r);
        dorvan::ResetProjectForNew(*r);
        const char* names[] = { "Prvé", "Druhé", "Tretie", "Štvrté" };
        const double xy[][2] = { { 10, 20 }, { 200, 40 }, { 120, 160 }, { 60, 90 } };
        for (int i = 1; i <= 4; ++i) {
            dorvan::storeNewPlace(*r, i, dorvan::Text100::fromUtf8(names[i - 1]), xy[i - 1][0], xy[i - 1][1]);
            r->PlaceQuantity[i] = r->PlacePrice[i] = 1.0;
            r->PlaceFlexibility[i] = 1;
        }
        dorvan::computeDistances(*r, 4);
        r->SavedPlaceCount = 4;
        r->PictureWidth = 160;
        r->PictureHeight = 50;
        r->MapRangeX = 250;
        r->MapRangeY = 200;
        dorvan::RgbPicture picture(160, 50);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 160; ++x)
                picture.setPixel(
                    x, y, { static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y * 5), 90 });
        const QString project = path("obrazok.mzd");
        dorvan::saveProjectFile(project.toStdString(), *r, picture);
        return project;
    }
    QString cliReport(const QString& project, const char* name, const QStringList& options = {})
    {
        const QString pdf = path(name);
        const CliRun cli = runCli(QStringList { "report", project, "--out", pdf } + options);
        EXPECT_EQ(cli.code, 0) << cli.err.toStdString();
        return pdf;
    }
};

} // namespace

TEST_F(Report, SampleReportOfTheWindowIsTheCommandLinesAndHoldsWhatTheWindowShows)
{
    EXPECT_FALSE(on("ZostavaPdf")); // no result yet
    EXPECT_FALSE(on("TlacitZostavu"));
    TCooperAlokMetod* c = openAndSolve(Sample);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(on("ZostavaPdf"));
    // The report reads the result the window shows: nothing is solved again for it.
    const int solved = dorvan::allocationsOf(w->project()).made();
    const QString mine = windowReport("okno.pdf");
    ASSERT_TRUE(QFile::exists(mine)) << dialogs.messages().join('\n').toStdString();
    EXPECT_EQ(dorvan::allocationsOf(w->project()).made(), solved);
    const QString text = checkedReport(mine, u("slovak_towns.mzd"), 0);

    for (const char* name : { "Žilina", "Košice", "Banská Bystrica", "Trenčín", "Prešov" })
        EXPECT_TRUE(text.contains(u(name))) << name;
    const QString optimum = c->findChild<QLineEdit*>(u("Edit1"))->text();
    ASSERT_FALSE(optimum.isEmpty());
    EXPECT_TRUE(text.contains(optimum)) << optimum.toStdString();
    ASSERT_FALSE(c->lists().certificateLine().isEmpty());
    EXPECT_TRUE(text.contains(c->lists().certificateLine())) << c->lists().certificateLine().toStdString();
    ASSERT_FALSE(c->lists().positionLine().isEmpty());
    EXPECT_TRUE(text.contains(c->lists().positionLine())) << c->lists().positionLine().toStdString();
    // The window lists the ten cheapest candidates; the report all of them, in the same order.
    const QStringList candidates = c->lists().candidateLines();
    ASSERT_EQ(candidates.size(), 10);
    const QString cheapest = candidates.front().section(u(": "), 0, 0);
    EXPECT_TRUE(text.contains(u("1 ") + cheapest) || text.contains(cheapest)) << cheapest.toStdString();

    // The same text from the command line.
    EXPECT_EQ(pdfText(cliReport(Sample, "cli.pdf")), text);

    // The printer gets the same pages.
    const QString printed = path("tlac.pdf");
    dialogs.preparePrinter = [printed](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(printed);
    };
    dialogs.printerAnswers = { true };
    action("TlacitZostavu")->trigger();
    EXPECT_EQ(pdfText(printed), text);
    // In the same orientations: the chart's page turned to landscape on the printer too.
    const auto sizes = [](const QString& pdf) {
        return tool("pdfinfo", { u("-f"), u("1"), u("-l"), QString::number(pageCount(pdf)), pdf })
            .split(u'\n')
            .filter(QRegularExpression(u("^Page\\s+\\d+ size:")));
    };
    EXPECT_EQ(sizes(printed), sizes(mine));
    EXPECT_TRUE(sizes(mine).join(u'\n').contains(u("842 x 595"))) << sizes(mine).join(u'\n').toStdString();
    EXPECT_TRUE(dialogs.texts("error").isEmpty()) << dialogs.messages().join('\n').toStdString();
}

TEST_F(Report, GroupProjectReportsEachGroupAndItsCandidatesAlike)
{
    const QString groups = path("skupiny.mzd");
    const CliRun proposed = runCli({ "groups", Sample, "--centres", "3", "--out", groups });
    ASSERT_EQ(proposed.code, 0) << proposed.err.toStdString();
    const QString cli = cliReport(groups, "skupiny-cli.pdf", { "--groups" });
    const QString text = checkedReport(cli, u("skupiny.mzd"), 0);
    // Each group's centre as the window lists it, and the certificate line under the lists.
    const CliRun solved = runCli({ "solve", groups, "--groups" });
    const QStringList lines = solved.outLines();
    const int from = static_cast<int>(lines.indexOf(u("ListBox1"))) + 1;
    ASSERT_GT(from, 0);
    for (int i = from; i < from + 3; ++i) {
        ASSERT_TRUE(lines[i].startsWith(u("[Xopt"))) << lines[i].toStdString();
        EXPECT_TRUE(text.contains(lines[i])) << lines[i].toStdString();
    }
    // Each group's candidates in the order solve gives them.
    const CliRun json = runCli({ "solve", groups, "--groups", "--format", "json" });
    const QJsonArray solvedGroups
        = QJsonDocument::fromJson(json.out.toUtf8()).object()[u("groups")].toArray();
    ASSERT_EQ(solvedGroups.size(), 3);
    // In reading order, row by row.
    const QString rows = tool("pdftotext", { u("-layout"), cli, u("-") });
    qsizetype at = rows.indexOf(u("Kandidátske miesta"));
    ASSERT_GT(at, 0);
    for (const QJsonValue& g : solvedGroups) {
        const QJsonArray candidates = g.toObject()[u("candidates")].toArray();
        EXPECT_GE(candidates.size(), 3);
        at = rows.indexOf(
            QRegularExpression(u("\\n\\s*Skupina %1\\n").arg(g.toObject()[u("no")].toInt())), at);
        ASSERT_GT(at, 0);
        for (const QJsonValue& c : candidates) {
            const QString name = c.toObject()[u("name")].toString();
            at = rows.indexOf(name, at);
            ASSERT_GT(at, 0) << name.toStdString();
        }
    }

    TCooperAlokMetod* c = openAndSolve(groups);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(text.contains(c->lists().certificateLine())) << c->lists().certificateLine().toStdString();
    EXPECT_EQ(pdfText(windowReport("skupiny-okno.pdf")), text);

    // The star network, which only the window has, goes after the place table.
    dorvan::StarSolution& stars = w->project().BestStars;
    stars.StarCount = 1;
    stars.StarTotal = 12.5;
    stars.StarOrder = { dorvan::Text100::fromUtf8("Žilina"), dorvan::Text100::fromUtf8("Martin") };
    stars.StarSize = { 2 };
    stars.StarCentre = { 1 };
    stars.StarSum = { 12.5 };
    const QString withStars = pdfText(windowReport("hviezdy.pdf"));
    EXPECT_TRUE(withStars.contains(u("Hviezdicová sieť")));
    EXPECT_FALSE(text.contains(u("Hviezdicová sieť")));
    // So does the group proposal's table of totals, once the proposal ran.
    auto* entryWindow = w->entryWindow();
    ASSERT_NE(entryWindow, nullptr);
    entryWindow->findChild<QLineEdit*>(u("CentreCountEdit"))->setText(u("3"));
    QTest::mouseClick(entryWindow->findChild<QPushButton*>(u("ProposeButton")), Qt::LeftButton);
    auto* table = entryWindow->findChild<QTableWidget*>(u("CentreTable"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() == 8; }, 60000));
    const QString withProposal = pdfText(windowReport("navrh.pdf"));
    EXPECT_TRUE(withProposal.contains(u("Návrh skupín: náklady podľa počtu centier")));
    for (int r = 0; r < table->rowCount(); ++r)
        EXPECT_TRUE(withProposal.contains(table->item(r, 1)->text())) << r;

    // The pages before the place table's last are the same but for their numbers.
    const QString cli2 = path("skupiny-cli.pdf");
    const int pages = pageCount(cli2);
    ASSERT_GE(pageCount(path("hviezdy.pdf")), pages);
    for (int p = 1; p < pages; ++p)
        EXPECT_EQ(withoutPageNumbers(pdfText(path("hviezdy.pdf"), p)), withoutPageNumbers(pdfText(cli2, p)))
            << p;
}

TEST_F(Report, PictureProjectDrawsOverItsPictureTheOnlyImage)
{
    const QString project = pictureProject();
    const QString text
        = checkedReport(cliReport(project, "obrazok.pdf", { "--contours", "5,10" }), u("obrazok.mzd"), 1);
    EXPECT_TRUE(text.contains(u("Výsledok nad mapovým obrázkom projektu.")));
    EXPECT_TRUE(text.contains(u("Štvrté")));
    EXPECT_TRUE(text.contains(u("Izočiary nákladov: 5; 10 %")));
}

TEST_F(Report, AFailedWriteLeavesNoFileAndTheOldOneAsItWas)
{
    TCooperAlokMetod* c = openAndSolve(Sample);
    ASSERT_NE(c, nullptr);
    // A folder that does not exist: the Slovak file message, nothing written.
    dialogs.fileAnswers.push_back(path("chyba/zostava.pdf"));
    action("ZostavaPdf")->trigger();
    EXPECT_EQ(dialogs.texts("error"), QStringList { u("Súbor zostava.pdf sa nedá zapísať !!!") });
    EXPECT_FALSE(QFile::exists(path("chyba/zostava.pdf")));

    // Refused on the command line before anything is written.
    const struct {
        QStringList args;
        const char* message;
    } refused[] = {
        { { "report", Sample, "--out", path("zostava.png") }, "must end in .pdf" },
        { { "report", Sample }, "--out" },
        { { "report", path("chyba.mzd"), "--out", path("z.pdf") }, "chyba.mzd" },
        { { "report", Sample, "--out", path("chyba/z.pdf") }, "cannot be written" },
    };
    for (const auto& r : refused) {
        const CliRun cli = runCli(r.args);
        EXPECT_EQ(cli.code, 2) << r.message;
        EXPECT_TRUE(cli.err.contains(u(r.message))) << cli.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A disk that fills up (the file size limit, its signal ignored, makes each write past it
    // fail as on a full disk): the command line refuses, the earlier report stays as it was and
    // no part is left beside it.
    const QString target = path("plny.pdf");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier report");
    }
    QProcess p;
    p.start(u("bash"),
        { u("-c"), u("trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\""), QStringLiteral(DORVAN_CLI),
            u("report"), Sample, u("--out"), target });
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(u("plny.pdf: cannot be written")));
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("earlier report"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { u("plny.pdf") });
}

// "S obrázkom" / "Bez obrázku" in the window and --picture on the command line: over the
// picture the report holds it as its only image, without it none, and both give the same pages.
TEST_F(Report, PictureChoiceOfTheWindowIsTheCommandLinesPictureOption)
{
    const QString project = pictureProject();
    const QString over = u("Výsledok nad mapovým obrázkom projektu.");
    const QString cliWith = cliReport(project, "s-cli.pdf", { "--picture", "yes" });
    const QString cliWithout = cliReport(project, "bez-cli.pdf", { "--picture", "no" });
    EXPECT_TRUE(checkedReport(cliWith, u("obrazok.mzd"), 1).contains(over));
    EXPECT_FALSE(checkedReport(cliWithout, u("obrazok.mzd"), 0).contains(over));
    EXPECT_EQ(pdfText(cliReport(project, "s-cli2.pdf")), pdfText(cliWith)); // "yes" is the default
    EXPECT_NE(chartPage(cliWith), chartPage(cliWithout));

    TCooperAlokMetod* c = openAndSolve(project);
    ASSERT_NE(c, nullptr);
    auto* with = c->findChild<QRadioButton*>(u("RadioButton1"));
    auto* without = c->findChild<QRadioButton*>(u("RadioButton2"));
    ASSERT_TRUE(with->isChecked() && without->isEnabled());
    const struct {
        QRadioButton* choice;
        const char* name;
        QString cli;
        int images;
    } cases[] = { { without, "bez.pdf", cliWithout, 0 }, { with, "s.pdf", cliWith, 1 } };
    for (const auto& k : cases) {
        QTest::mouseClick(k.choice, Qt::LeftButton);
        QCoreApplication::processEvents();
        ASSERT_TRUE(k.choice->isChecked()) << k.name;
        const QString mine = windowReport(k.name);
        EXPECT_EQ(checkedReport(mine, u("obrazok.mzd"), k.images), pdfText(k.cli)) << k.name;
        EXPECT_EQ(chartPage(mine), chartPage(k.cli)) << k.name;
    }
    EXPECT_TRUE(dialogs.texts("error").isEmpty()) << dialogs.messages().join('\n').toStdString();
}

// "Rovnaká mierka osí" and the zoom of a drag over the chart in the window's report, and
// --equal-scale and --select (with the window's drawing area as --size) on the command line:
// the same pages, the chart still in vector paths and no image.
TEST_F(Report, EqualScaleAndTheSelectedPartAreTheWindowsAndTheCommandLines)
{
    TCooperAlokMetod* c = openAndSolve(Sample);
    ASSERT_NE(c, nullptr);
    QWidget* area = c->findChild<QWidget*>(u("Image1"));
    ASSERT_NE(area, nullptr);
    const QString size = u("%1x%2").arg(area->width()).arg(area->height());
    const QImage plain = chartPage(windowReport("cele.pdf"));
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(chartPage(cliReport(Sample, "cele-cli.pdf")), plain);
    // A selection of a pixel is a click: the whole chart.
    EXPECT_EQ(chartPage(cliReport(Sample, "bod-cli.pdf", { "--select", "5,5,6,6", "--size", size })), plain);

    auto* equal = c->findChild<QCheckBox*>(u("EqualScaleBox"));
    ASSERT_NE(equal, nullptr);
    equal->click();
    ASSERT_TRUE(equal->isChecked());
    const QString equalWindow = windowReport("rovnaka.pdf");
    const QString equalCli = cliReport(Sample, "rovnaka-cli.pdf", { "--equal-scale" });
    EXPECT_EQ(checkedReport(equalWindow, u("slovak_towns.mzd"), 0), pdfText(equalCli));
    EXPECT_EQ(chartPage(equalWindow), chartPage(equalCli));
    // On paper the chart is always to scale: the box changes nothing.
    EXPECT_EQ(chartPage(equalWindow), plain);
    equal->click();
    ASSERT_FALSE(equal->isChecked());

    // A drag with the right button zooms without running again.
    const QPoint from(area->width() / 4, area->height() / 3), to(area->width() / 2, area->height() * 2 / 3);
    QTest::mousePress(area, Qt::RightButton, {}, from);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, Qt::RightButton, {}, to);
    ASSERT_TRUE(c->zoomed());
    const QString zoomWindow = windowReport("vyber.pdf");
    const QString select = u("%1,%2,%3,%4").arg(from.x()).arg(from.y()).arg(to.x()).arg(to.y());
    const QString zoomCli = cliReport(Sample, "vyber-cli.pdf", { "--select", select, "--size", size });
    const QString text = checkedReport(zoomWindow, u("slovak_towns.mzd"), 0);
    EXPECT_TRUE(text.contains(u("Zväčšená vybraná časť grafu.")));
    EXPECT_FALSE(pdfText(cliReport(Sample, "cele-cli2.pdf")).contains(u("Zväčšená")));
    EXPECT_EQ(pdfText(zoomCli), text);
    const QImage zoomed = chartPage(zoomWindow);
    EXPECT_EQ(chartPage(zoomCli), zoomed);
    // The zoomed part has axes of its own: under it a row of round coordinates, evenly apart.
    const QString layoutText
        = tool("pdftotext", { u("-layout"), u("-f"), u("2"), u("-l"), u("2"), zoomWindow, u("-") });
    // No label of the drawing outside the part is in the PDF, not even hidden by the clip: the
    // page's head is its first text.
    EXPECT_TRUE(layoutText.trimmed().startsWith(u("slovak_towns.mzd"))) << layoutText.toStdString();
    std::vector<double> axisRow;
    for (const QString& line : layoutText.split(u'\n')) {
        const QStringList tokens = line.split(QRegularExpression(u("\\s+")), Qt::SkipEmptyParts);
        // The numbers of the line (labels of places cut off by the frame may share it).
        std::vector<double> numbers;
        for (const QString& t : tokens)
            if (QRegularExpression(u("^-?\\d+(,\\d+)?$")).match(t).hasMatch())
                numbers.push_back(QString(t).replace(QChar(u','), QChar(u'.')).toDouble());
        if (numbers.size() >= 3 && numbers.size() > axisRow.size())
            axisRow = numbers;
    }
    ASSERT_GE(axisRow.size(), 3u) << layoutText.toStdString();
    for (std::size_t i = 2; i < axisRow.size(); ++i)
        EXPECT_NEAR(axisRow[i] - axisRow[i - 1], axisRow[1] - axisRow[0], 1e-9) << i;
    EXPECT_GT(axisRow[1], axisRow[0]);
    EXPECT_NE(zoomed, plain);
    // The magnified dotted grid keeps its dots (silver), as the zoom in the window shows them.
    const QImage sharp = chartPage(zoomWindow, 96);
    int silver = 0;
    for (int y = 0; y < sharp.height(); ++y)
        for (int x = 0; x < sharp.width(); ++x)
            silver += sharp.pixelColor(x, y) == QColor(192, 192, 192) ? 1 : 0;
    EXPECT_GT(silver, 200);

    // A drawing of the whole result again ends the zoom, and the report shows the whole chart.
    c->SpustiCooper();
    ASSERT_FALSE(c->zoomed());
    EXPECT_EQ(chartPage(windowReport("cele2.pdf")), plain);
    EXPECT_TRUE(dialogs.texts("error").isEmpty()) << dialogs.messages().join('\n').toStdString();
}

namespace {

// The middles of the runs of rows (or columns) of the image in which at least a quarter of the
// pixels are the chart's silver grid: its dotted grid lines.
std::vector<double> gridLines(const QImage& image, bool columns)
{
    const QImage page = image.convertToFormat(QImage::Format_RGB32);
    const QRgb grid = qRgb(192, 192, 192);
    const int along = columns ? page.width() : page.height();
    const int across = columns ? page.height() : page.width();
    std::vector<int> silver(static_cast<std::size_t>(along), 0);
    for (int y = 0; y < page.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (grid & 0xFFFFFF))
                ++silver[static_cast<std::size_t>(columns ? x : y)];
    }
    std::vector<double> lines;
    int runStart = -1;
    for (int i = 0; i <= along; ++i) {
        // The dots cover half of a line's length, the line most of the page's.
        const bool line = i < along && silver[static_cast<std::size_t>(i)] * 8 >= across;
        if (line && runStart < 0)
            runStart = i;
        if (!line && runStart >= 0) {
            lines.push_back((runStart + i - 1) / 2.0);
            runStart = -1;
        }
    }
    return lines;
}

double medianGap(const std::vector<double>& lines)
{
    std::vector<double> gaps;
    for (std::size_t i = 1; i < lines.size(); ++i)
        gaps.push_back(lines[i] - lines[i - 1]);
    if (gaps.empty())
        return 0.0;
    std::sort(gaps.begin(), gaps.end());
    return gaps[gaps.size() / 2];
}

// The widths in points of the magenta contour curves on the chart's page, read from poppler's
// SVG: each path's stroke width times the scale of its transform.
std::vector<double> contourWidths(const QString& pdf, int page)
{
    const QString svgPath = pdf + u("-contours.svg");
    tool("pdftocairo",
        { u("-svg"), u("-f"), QString::number(page), u("-l"), QString::number(page), pdf, svgPath });
    QFile svg(svgPath);
    EXPECT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(svg.readAll());
    std::vector<double> widths;
    const QRegularExpression path(u("<path [^>]*stroke:rgb\\(100%,0%,100%\\)[^>]*>"));
    const QRegularExpression width(u("stroke-width:([0-9.]+)"));
    const QRegularExpression matrix(u("transform=\"matrix\\(([-0-9.]+),([-0-9.]+),"));
    for (auto it = path.globalMatch(text); it.hasNext();) {
        const QString tag = it.next().captured(0);
        const auto w = width.match(tag);
        const auto m = matrix.match(tag);
        const double scale
            = m.hasMatch() ? std::hypot(m.captured(1).toDouble(), m.captured(2).toDouble()) : 1.0;
        if (w.hasMatch())
            widths.push_back(w.captured(1).toDouble() * scale);
    }
    return widths;
}

int chartPageNumber(const QString& pdf)
{
    for (int p = 1; p <= pageCount(pdf); ++p)
        if (pdfText(pdf, p).contains(u("Graf výsledku")))
            return p;
    return 0;
}

} // namespace

// A planner's list: 35 places in latitude and longitude, names up to 40 letters (one without a
// space), a quantity of 123456789, four groups and two contour levels. Every number and name is
// printed whole, the chart is to scale (its grid squares are squares) and the contours are
// lines of at least half a point.
TEST_F(Report, ALargeProjectPrintsEveryNumberAndNameWholeToScaleWithVisibleContours)
{
    const QString longName = u("Liberec Mestská distribučná oblasť Sever"); // 40 letters
    const QString oneWord = u("Veľmidlhýnázovmiestabezjedinejmedzery12"); // 39
    ASSERT_EQ(longName.size(), 40);
    QFile csv(path("miesta.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("name;latitude;longitude;quantity\n");
    for (int i = 1; i <= 35; ++i) {
        const QString name = i == 4 ? longName : i == 6 ? oneWord : u("Mesto %1").arg(i);
        const double lat = 48.9 + (i * 37 % 100) / 50.0;
        const double lon = 12.6 + (i * 53 % 100) / 16.0;
        const long quantity = i == 8 ? 123456789L : 10L + i * 7;
        csv.write(
            u("%1;%2;%3;%4\n").arg(name).arg(lat, 0, 'f', 4).arg(lon, 0, 'f', 4).arg(quantity).toUtf8());
    }
    csv.close();
    const QString project = path("miesta.mzd"), groups = path("skupiny35.mzd");
    ASSERT_EQ(runCli({ "import", csv.fileName(), "--out", project }).code, 0);
    ASSERT_EQ(runCli({ "groups", project, "--centres", "4", "--out", groups }).code, 0);

    // The one-centre run of this list sits on the place of 123456789, where its contours shrink
    // to nothing: the sample's contours are drawn instead.
    for (const bool grouped : { false, true }) {
        SCOPED_TRACE(grouped ? "groups" : "one centre");
        const QString pdf = cliReport(grouped ? groups : project, grouped ? "g35.pdf" : "c35.pdf",
            grouped ? QStringList { "--groups", "--contours", "5,10" } : QStringList {});
        const QString text = checkedReport(pdf, grouped ? u("skupiny35.mzd") : u("miesta.mzd"), 0);
        EXPECT_TRUE(text.contains(u("123456789"))) << "the quantity";
        EXPECT_TRUE(text.contains(longName));
        EXPECT_TRUE(text.contains(oneWord));
        EXPECT_TRUE(text.contains(u("X [km]")));
        EXPECT_TRUE(text.contains(u("Súradnice X a Y sú v kilometroch (km).")));
        // Headers apart: poppler puts a space between words only where there is one on paper.
        EXPECT_TRUE(text.contains(u("Skupina Optimum")) || !grouped);
        EXPECT_FALSE(text.contains(u("SkupinaOptimum")));

        const QString contoured = grouped ? pdf : cliReport(Sample, "c-sample.pdf", { "--contours", "5,10" });
        const int page = chartPageNumber(contoured);
        ASSERT_GT(page, 0);
        const std::vector<double> widths = contourWidths(contoured, page);
        // Two curves a group whose optimum is not a heavy place (three of the four here).
        EXPECT_GE(widths.size(), grouped ? 6u : 2u);
        for (double w : widths)
            EXPECT_GE(w, 0.5);
        // The grid lines stand the same distance apart across and down: one scale.
        const QImage chart = chartPage(pdf, 100);
        const std::vector<double> across = gridLines(chart, true), down = gridLines(chart, false);
        ASSERT_GE(across.size(), 3u);
        ASSERT_GE(down.size(), 3u);
        EXPECT_NEAR(medianGap(across), medianGap(down), 1.5) << medianGap(across) << " / " << medianGap(down);
        EXPECT_GT(medianGap(across), 20.0);
    }
}
