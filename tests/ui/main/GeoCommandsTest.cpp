// Real coordinates in the windows: a place list imported through "Súbor → Importovať miesta
// ...", the optimum's latitude/longitude in the allocation window, the places' positions in the
// place grid's tooltips, and "Súbor → Exportovať výsledok ..." against dorvan-cli export.
#include "MainWindowTestSupport.h"
#include "support/CliProcess.h"
#include "support/QtPrinters.h"

#include "core/allocation/CooperRunDriver.h"
#include "core/entry/GroupList.h"
#include "core/geo/GeoReference.h"
#include "support/TestFiles.h"
#include "ui/allocation/Cooperova_Metoda.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <proj.h>

#include <cmath>
#include <map>
#include <optional>

using dorvan::test::MainWindowFixture;

using dorvan::test::CliRun;
using dorvan::test::runCli;

namespace {

// Four towns, one with a name too long for its grid cell.
const char* const TownsCsv = "name;latitude;longitude;quantity\n"
                             "Bratislava;48.1486;17.1077;475\n"
                             "Košice;48.7164;21.2611;229\n"
                             "Žilina;49.2231;18.7394;81\n"
                             "Banská Bystrica pod Urpínom na rieke Hron;48.7363;19.1462;76\n";
const std::map<QString, std::pair<double, double>> TownDegrees {
    { u("Bratislava"), { 48.1486, 17.1077 } },
    { u("Košice"), { 48.7164, 21.2611 } },
    { u("Žilina"), { 49.2231, 18.7394 } },
    { u("Banská Bystrica pod Urpínom na rieke Hron"), { 48.7363, 19.1462 } },
};

// Latitude/longitude of a point of the plane, by PROJ on the stored definition directly (not
// through the program's own transformation).
std::pair<double, double> inverse(const std::string& definition, double x, double y)
{
    PJ_CONTEXT* ctx = proj_context_create();
    PJ* p = proj_create(ctx, definition.c_str());
    EXPECT_NE(p, nullptr) << definition;
    if (p == nullptr) {
        proj_context_destroy(ctx);
        return { NAN, NAN };
    }
    const PJ_COORD c = proj_trans(p, PJ_INV, proj_coord(x, y, 0, 0));
    proj_destroy(p);
    proj_context_destroy(ctx);
    return { proj_todeg(c.lp.phi), proj_todeg(c.lp.lam) };
}

// "48,7312345° s. š., 19,1456789° v. d." written out here, apart from the program's formatter.
QString degreesText(double lat, double lon)
{
    const auto part = [](double v) { return QString::number(std::fabs(v), 'f', 7).replace(u'.', u','); };
    return part(lat) + u("° ") + (lat < 0 ? u("j. š.") : u("s. š.")) + u(", ") + part(lon) + u("° ")
        + (lon < 0 ? u("z. d.") : u("v. d."));
}

using dorvan::test::fileBytes;

struct GeoCommands : MainWindowFixture {
    QTemporaryDir dir;

    QString write(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // A list with plain X/Y is asked its system: `system` answers (nothing: no question expected).
    void import(const QString& path, std::optional<QString> system = std::nullopt)
    {
        dialogs.fileAnswers.push_back(path);
        if (system)
            dialogs.textAnswers.push_back(*system);
        action("ImportujMiesta")->trigger();
    }
    QTableWidget* grid() const
    {
        auto* g = w->entryWindow() ? w->entryWindow()->findChild<QTableWidget*>("StringGrid6") : nullptr;
        EXPECT_NE(g, nullptr);
        return g;
    }
    // The window shown, a list imported and the allocation run on it.
    TCooperAlokMetod* importAndSolve(const QString& csv, std::optional<QString> system = std::nullopt)
    {
        w->resize(1200, 800);
        w->show();
        import(csv, system);
        EXPECT_TRUE(on("Cooper"));
        w->CooperClick();
        return w->cooperWindow();
    }
    std::string reference() const
    {
        return dorvan::geo::projectReference(w->project().Record).value_or(std::string());
    }
};

} // namespace

TEST_F(GeoCommands, ImportedLatLonListGivesThePlacesWithTheirPositionsInTheGridTooltips)
{
    import(write("towns.csv", TownsCsv));
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('\n').toStdString();
    const auto& r = w->project().Record;
    ASSERT_EQ(state().PlaceCount, 4);
    const std::string definition = reference();
    ASSERT_TRUE(definition.starts_with("+proj=aeqd")) << definition;
    // No file name: saving asks for one, as after "Nový".
    EXPECT_EQ(state().ProjectFileName, "");
    EXPECT_TRUE(w->caption().endsWith(u(" - Novy.mzd")));
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_EQ(w->statusPanelText(1), u("Importované miesta: 4"));

    QTableWidget* g = grid();
    ASSERT_NE(g, nullptr);
    for (int row = 1; row <= 4; ++row) {
        const QString name = QString::fromStdString(r.PlaceName[row].toUtf8());
        ASSERT_TRUE(TownDegrees.count(name)) << name.toStdString();
        const auto [lat, lon] = TownDegrees.at(name);
        // The stored X/Y (4 decimals) lead back to the degrees read.
        const auto [backLat, backLon] = inverse(definition, r.PlaceX[row], r.PlaceY[row]);
        EXPECT_NEAR(backLat, lat, 1e-5) << name.toStdString();
        EXPECT_NEAR(backLon, lon, 1e-5) << name.toStdString();
        const QString position = degreesText(backLat, backLon);
        EXPECT_EQ(g->item(row, 1)->text(), name);
        for (int col = 2; col <= 6; ++col)
            EXPECT_EQ(g->item(row, col)->toolTip(), position) << row << ' ' << col;
        // A name cut by its cell keeps its tooltip, the position under it.
        const bool longName = name.size() > 20;
        EXPECT_EQ(g->item(row, 1)->toolTip(), longName ? name + u'\n' + position : position);
    }
}

// The file is read and checked first: a refused, cancelled or kept-back import leaves the open
// project (unsaved groups included) byte for byte, and only a list that can be imported leads
// to the question about closing it.
TEST_F(GeoCommands, ImportChecksTheListBeforeTheOpenProjectIsClosed)
{
    import(write("plain.csv", "name;x;y\nA;1;1\nB;4;5\nC;9;2\n"), u(""));
    ASSERT_EQ(state().PlaceCount, 3);
    EXPECT_EQ(reference(), "");
    EXPECT_EQ(grid()->item(1, 2)->toolTip(), QString());
    auto& p = w->project();
    p.Record.setCriterion(dorvan::CritGroups, true);
    p.Choices.Groups = dorvan::groupsFromLines({ "--- Skupina 1 ---", "A", "B", "C" }, 1);
    QByteArray record(reinterpret_cast<const char*>(&p.Record), sizeof p.Record);
    const auto groups = p.Choices.Groups;
    const QString caption = w->caption();
    QWidget* entry = w->entryWindow();
    const auto unchanged = [&](const char* what) {
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&p.Record), sizeof p.Record), record) << what;
        EXPECT_EQ(p.Choices.Groups, groups) << what;
        EXPECT_TRUE(p.ticked(dorvan::CritGroups)) << what;
        EXPECT_EQ(state().PlaceCount, 3) << what;
        EXPECT_TRUE(state().UnsavedChanges) << what;
        EXPECT_EQ(w->entryWindow(), entry) << what;
        EXPECT_EQ(w->caption(), caption) << what;
        EXPECT_TRUE(on("UlozAkoVU")) << what;
        EXPECT_TRUE(on("Cooper")) << what;
    };
    const auto questions
        = [&] { return dialogs.texts("confirmSave").size() + dialogs.texts("confirm").size(); };

    // The file dialog cancelled: nothing asked, nothing changed.
    dialogs.fileAnswers.push_back(QString());
    action("ImportujMiesta")->trigger();
    unchanged("cancelled");
    EXPECT_EQ(questions(), 0);

    // A list with two bad lines: refused in one warning naming both, before any question.
    import(write("bad.csv", "name;latitude;longitude\nA;48.1;17.1\nB;91;17.2\nC;48.3;x\nD;48.2;17.3\n"));
    ASSERT_EQ(dialogs.texts("warn").size(), 1);
    EXPECT_EQ(dialogs.texts("warn")[0],
        u("Zoznam miest bad.csv sa nedá načítať:\n"
          "riadok 3: zemepisná šírka \"91\" nie je v rozsahu -90 až 90\n"
          "riadok 4: zemepisná dĺžka \"x\" nie je číslo\n"
          "Nič nebolo zmenené."));
    EXPECT_EQ(questions(), 0);
    unchanged("refused");

    // A file that cannot be read; a system PROJ does not know; the system question cancelled.
    import(dir.filePath("missing.csv"));
    EXPECT_EQ(dialogs.texts("warn").last(), u("Súbor missing.csv sa nedá čítať !!!"));
    import(write("grid.csv", "name;x;y\nD;-568000;-1160000\nE;-560000;-1200000\n"), u("4711999"));
    EXPECT_EQ(dialogs.texts("warn").last(),
        u("Zoznam miest grid.csv sa nedá načítať:\nsúradnicový systém EPSG:4711999 knižnica PROJ nepozná "
          "(zadajte ho ako kód EPSG, napr. 5514 pre S-JTSK)\nNič nebolo zmenené."));
    dialogs.fileAnswers.push_back(dir.filePath("grid.csv"));
    dialogs.textAnswers.push_back(std::nullopt);
    action("ImportujMiesta")->trigger();
    EXPECT_EQ(questions(), 0);
    unchanged("bad system, system cancelled");

    // A good list: now the open project is asked about; No keeps it as it was.
    dialogs.saveAnswers = { dorvan::UserDialogs::Answer::No };
    import(write("good.csv", "name;x;y\nP;1;1\nQ;2;3\n"), u(""));
    EXPECT_EQ(dialogs.texts("confirmSave").size(), 1u);
    unchanged("kept");

    // Yes closes it and the list becomes the project.
    dialogs.saveAnswers = { dorvan::UserDialogs::Answer::Yes };
    import(dir.filePath("good.csv"), u(""));
    EXPECT_EQ(state().PlaceCount, 2);
    EXPECT_EQ(p.Record.PlaceName[2].toUtf8(), "Q");
    EXPECT_NE(w->entryWindow(), nullptr);
    EXPECT_EQ(dialogs.texts("warn").size(), 3); // no more than the three refusals above
}

// X/Y in a national grid: the system typed as an EPSG code places them as --crs does; metres
// without one are never taken as kilometres without a question.
TEST_F(GeoCommands, ImportAsksForTheSystemOfXYAndAboutMetres)
{
    // Two S-JTSK points 8 km and 40 km apart in the grid's metres.
    const QString csv = write("sjtsk.csv", "name;x;y\nD;-568000;-1160000\nE;-560000;-1200000\n");
    const QString metres
        = u("Niektoré súradnice X, Y sú väčšie ako 10 000, zrejme sú to metre súradnicového "
            "systému (napr. S-JTSK). Bez neho sa vezmú ako kilometre.\nZadať súradnicový systém ?!!");
    struct Case {
        std::vector<std::optional<QString>> systems; // the answers to the system question
        std::vector<bool> metreAnswers; // the answers to the metre question
        bool placed; // read in S-JTSK (else kilometres as written)
    };
    const Case cases[] = {
        { { u("5514") }, {}, true },
        { { u(" epsg:5514") }, {}, true },
        { { u(""), u("EPSG:5514") }, { true }, true },
        { { u(""), u("") }, { true, false }, false },
        { { u("") }, { false }, false },
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        dialogs.fileAnswers.push_back(csv);
        for (const auto& answer : c.systems)
            dialogs.textAnswers.push_back(answer);
        for (bool yes : c.metreAnswers)
            dialogs.confirmAnswers.push_back(yes);
        if (w->entryWindow() != nullptr)
            dialogs.saveAnswers = { dorvan::UserDialogs::Answer::Yes };
        action("ImportujMiesta")->trigger();
        EXPECT_TRUE(dialogs.textAnswers.empty());
        EXPECT_TRUE(dialogs.confirmAnswers.empty());
        EXPECT_EQ(dialogs.texts("confirm"), QStringList(QList<QString>(c.metreAnswers.size(), metres)));
        EXPECT_EQ(dialogs.texts("text").size(), static_cast<qsizetype>(c.systems.size()));
        EXPECT_TRUE(dialogs.texts("warn").isEmpty()) << dialogs.texts("warn").join('\n').toStdString();
        ASSERT_EQ(state().PlaceCount, 2);
        const auto& r = w->project().Record;
        if (c.placed) {
            // Local kilometres: the grid's 40 792 m apart (S-JTSK's scale is within 1e-4 of 1),
            // and the reference names the local projection.
            EXPECT_NEAR(r.Distance[1][2], std::hypot(8.0, 40.0), 0.005);
            EXPECT_TRUE(reference().starts_with("+proj=aeqd")) << reference();
        } else {
            EXPECT_EQ(r.PlaceX[1], -568000.0);
            EXPECT_EQ(r.PlaceY[2], -1200000.0);
            EXPECT_EQ(reference(), "");
        }
    }
    // A list of latitude/longitude is not asked about a system.
    dialogs.saveAnswers = { dorvan::UserDialogs::Answer::Yes };
    import(write("towns.csv", TownsCsv));
    EXPECT_EQ(state().PlaceCount, 4);
}

// Each refusal of the reader in Slovak, the line named as the command line names it.
TEST_F(GeoCommands, RefusedListsAreExplainedInSlovak)
{
    struct Case {
        const char* csv;
        const char* message;
    };
    const Case cases[] = {
        { "name;lat;lon\nA;48;17\nB;48;-181\n", "riadok 3: zemepisná dĺžka \"-181\" nie je v rozsahu -180 až 180" },
        { "name;lat;lon\nA;48;17\nB;;17\n", "riadok 3: chýba zemepisná šírka" },
        { "name;lat;lon;mno\u017estvo\nA;48;17;0,5\nB;48.1;17;2\n",
            "riadok 2: množstvo \"0,5\" je menej ako 1" },
        { "name;lat;lon\nA;0;0\nB;40;0\n",
            "riadok 3: miesto leží N km od stredu zoznamu; každé miesto musí ležať najviac 2000 km od neho" },
        { "name;lat;lon;mesto\nA;48;17;1\n",
            "riadok 1: stĺpec 4 \"mesto\" nie je žiadny z name, latitude, longitude, quantity, price, "
            "flexibility, x, y" },
        { "A;1;1\nB;2\n", "riadok 2: polí je 2, ale prvý riadok ich má 3" },
        { "A;1;1\n", "súbor obsahuje 1 miesto; projekt potrebuje 2 až 99 miest" },
        { "A;1;1\nB;1;1\n", "všetky miesta majú rovnaké súradnice" },
        { "A;1;1\n;2;2\n", "riadok 2: názov je prázdny" },
        { "A;1;1\nB;x;2\n", "riadok 2: X \"x\" nie je číslo" },
        { "\"A;1;1\nB;1;2\n", "riadok 1: pole 1: úvodzovky nie sú uzavreté" },
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        import(write("bad.csv", c.csv));
        const QStringList warnings = dialogs.texts("warn");
        ASSERT_EQ(warnings.size(), 1) << c.csv;
        const QStringList lines = warnings[0].split(u'\n');
        ASSERT_EQ(lines.size(), 3) << warnings[0].toStdString();
        // The distance is the reader's own figure; only its words are checked.
        EXPECT_EQ(QString(lines[1]).replace(QRegularExpression(u("miesto leží \\d+ km")), u("miesto leží N km")),
            u(c.message))
            << c.csv;
        EXPECT_EQ(w->entryWindow(), nullptr) << c.csv;
    }
}

// The position line against dorvan-cli solve on the same list, and a group's tooltip against
// PROJ on the group's centre.
TEST_F(GeoCommands, PositionLineAndGroupTooltipsTellTheOptimumInDegrees)
{
    const QString csv = write("towns.csv", TownsCsv);
    TCooperAlokMetod* cooper = importAndSolve(csv);
    ASSERT_NE(cooper, nullptr);
    auto* line = cooper->findChild<QLabel*>("PositionLine");
    ASSERT_NE(line, nullptr);

    const QString mzd = dir.filePath("towns.mzd");
    ASSERT_EQ(runCli({ "import", csv, "--out", mzd }).code, 0);
    const CliRun solved = runCli({ "solve", mzd, "--format", "json" });
    ASSERT_EQ(solved.code, 0) << solved.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(solved.outBytes).object();
    ASSERT_TRUE(json.contains("latitude")) << solved.out.toStdString();
    EXPECT_EQ(cooper->lists().positionLine(),
        u("Poloha optima: ") + degreesText(json["latitude"].toDouble(), json["longitude"].toDouble()));
    EXPECT_TRUE(line->isVisible());
    EXPECT_FALSE(cooper->lists().certificateLine().isEmpty());

    // A group run: the position line gives the groups' total and each group's centre, which the
    // solved group's line also tells in its tooltip.
    auto& p = w->project();
    p.Record.setCriterion(dorvan::CritGroups, true);
    p.Choices.Groups.Count = dorvan::groupCountFromText("1");
    p.Choices.Groups.Groups = dorvan::groupsFromLines(
        { "--- Skupina 1 ---", "Bratislava", u("Košice").toStdString(), u("Žilina").toStdString() }, 0)
                                  .Groups;
    cooper->SpustiCooper();
    dorvan::CooperState state;
    const dorvan::CooperRunResult res = dorvan::runCooperDriver(
        state, p.Record, p.State.PlaceCount, dorvan::runInputs(p, ","), {});
    ASSERT_EQ(res.groups.size(), 1u);
    ASSERT_TRUE(res.groups[0].solved);
    const auto centre = res.groups[0].iterates.back();
    const auto [lat, lon] = inverse(reference(), static_cast<double>(centre.x), static_cast<double>(centre.y));
    auto* groupLines = cooper->findChild<QListWidget*>("ListBox1");
    ASSERT_NE(groupLines, nullptr);
    ASSERT_GE(groupLines->count(), 1);
    const QStringList tip = groupLines->item(0)->toolTip().split(u'\n');
    ASSERT_EQ(tip.size(), 2) << groupLines->item(0)->toolTip().toStdString();
    EXPECT_FALSE(tip[0].isEmpty()); // the group's certificate stays first
    EXPECT_EQ(tip[1], u("Poloha optima: ") + degreesText(lat, lon));
    const QStringList position = cooper->lists().positionLine().split(u'\n');
    ASSERT_EQ(position.size(), 2) << cooper->lists().positionLine().toStdString();
    EXPECT_TRUE(position[0].startsWith(u("Vážený súčet skupín: "))) << position[0].toStdString();
    EXPECT_EQ(position[1], u("Skupina 1: Poloha optima: ") + degreesText(lat, lon));
    EXPECT_EQ(groupLines->item(0)->text(), QString::fromStdString(res.pathLines[0]));
}

// The window's export against dorvan-cli export of the same list with the same options.
TEST_F(GeoCommands, ExportWritesWhatDorvanCliExportWrites)
{
    EXPECT_FALSE(on("ExportujVysledok")); // no result yet
    const QString csv = write("towns.csv", TownsCsv);
    TCooperAlokMetod* cooper = importAndSolve(csv);
    ASSERT_NE(cooper, nullptr);
    EXPECT_TRUE(on("ExportujVysledok"));
    const QString mzd = dir.filePath("towns.mzd");
    ASSERT_EQ(runCli({ "import", csv, "--out", mzd }).code, 0);

    struct Case {
        const char* file;
        QStringList cliOptions;
        bool contours;
    };
    const Case cases[] = {
        { "plain.geojson", { "--format", "geojson" }, false },
        { "plain.csv", { "--format", "csv" }, false },
        { "contours.geojson", { "--format", "geojson", "--contours", "1,5,10" }, true },
    };
    for (const Case& c : cases) {
        cooper->findChild<QCheckBox*>("CostContoursBox")->setChecked(c.contours);
        const QString mine = dir.filePath(QString::fromLatin1(c.file));
        dialogs.fileAnswers.push_back(mine);
        action("ExportujVysledok")->trigger();
        const QString theirs = dir.filePath(u("cli-") + QString::fromLatin1(c.file));
        const CliRun cli = runCli(QStringList { "export", mzd, "--out", theirs } + c.cliOptions);
        ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
        const QByteArray written = fileBytes(mine);
        EXPECT_FALSE(written.isEmpty()) << c.file;
        EXPECT_EQ(written, fileBytes(theirs)) << c.file;
        EXPECT_EQ(written.contains("\"contour\""), c.contours) << c.file;
    }
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('\n').toStdString();

    // Closing the allocation window turns the item off.
    w->projectWindows().closeCooperWindow();
    flushDeletes();
    EXPECT_FALSE(on("ExportujVysledok"));
}

TEST_F(GeoCommands, ProjectWithoutReferenceRefusesGeoJsonAndExportsCsv)
{
    TCooperAlokMetod* cooper = importAndSolve(write("plain.csv", "name;x;y\nA;1;1\nB;4;5\nC;9;2\n"), u(""));
    ASSERT_NE(cooper, nullptr);
    EXPECT_EQ(cooper->lists().positionLine(), QString());
    EXPECT_TRUE(cooper->findChild<QLabel*>("PositionLine")->isHidden());

    const QString geojson = dir.filePath("plain.geojson");
    dialogs.fileAnswers.push_back(geojson);
    action("ExportujVysledok")->trigger();
    ASSERT_EQ(dialogs.texts("warn").size(), 1);
    EXPECT_TRUE(dialogs.texts("warn")[0].contains(u("GeoJSON preto nemožno zapísať")));
    EXPECT_FALSE(QFile::exists(geojson));

    // The save dialog proposes CSV; a name without an extension gets it.
    dialogs.fileAnswers.push_back(dir.filePath("vysledok"));
    action("ExportujVysledok")->trigger();
    EXPECT_TRUE(dialogs.texts("save").last().endsWith(u("|GeoJSON (*.geojson);;CSV (*.csv)")));
    const QByteArray written = fileBytes(dir.filePath("vysledok.csv"));
    EXPECT_TRUE(written.startsWith("kind,group,name,step,x,y,weight,objective,gap,existing\n"))
        << written.toStdString();
    EXPECT_FALSE(written.contains("latitude"));
}

TEST_F(GeoCommands, CopyPutsTheExportTablesTabSeparatedOnTheClipboard)
{
    EXPECT_FALSE(on("KopirovatVysledok")); // no result yet
    const QString csv = write("towns.csv", TownsCsv);
    TCooperAlokMetod* cooper = importAndSolve(csv);
    ASSERT_NE(cooper, nullptr);
    ASSERT_TRUE(on("KopirovatVysledok"));
    QGuiApplication::clipboard()->clear();
    action("KopirovatVysledok")->trigger();
    const QString copied = QGuiApplication::clipboard()->text();

    // The copy keeps its two tables for a spreadsheet (decimal commas, tabs); its figures are
    // those of dorvan-cli's CSV export, the one table a GIS reads, row by row.
    const QString mzd = dir.filePath("towns.mzd");
    ASSERT_EQ(runCli({ "import", csv, "--out", mzd }).code, 0);
    const QString exported = dir.filePath("towns-export.csv");
    ASSERT_EQ(runCli({ "export", mzd, "--out", exported, "--format", "csv" }).code, 0);
    std::map<QString, QStringList> gis; // by name, the optimum by "optimum"
    for (const QString& line : QString::fromUtf8(fileBytes(exported)).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u',');
        ASSERT_EQ(f.size(), 12) << line.toStdString();
        if (f[0] == u("place") || f[0] == u("optimum"))
            gis[f[0] == u("place") ? f[2] : f[0]] = f;
    }
    const QStringList tables = copied.split(u("\n\n"));
    ASSERT_EQ(tables.size(), 2) << copied.toStdString();
    const QStringList places = tables[0].split(u'\n');
    const QStringList results = tables[1].split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(places[0], u("kind\tgroup\tname\tx\ty\tweight\tlatitude\tlongitude"));
    EXPECT_EQ(results[0], u("kind\tgroup\tx\ty\tobjective\tgap\tlatitude\tlongitude"));
    ASSERT_EQ(places.size(), 5);
    ASSERT_EQ(results.size(), 2);
    const auto number = [](QString text) { return text.replace(u',', u'.').toDouble(); };
    const auto same = [&](const QStringList& copy, std::initializer_list<std::pair<int, int>> columns,
                          const QStringList& row) {
        for (const auto& [mine, theirs] : columns) {
            EXPECT_FALSE(copy[mine].contains(u'.')) << copy.join(u'\t').toStdString();
            EXPECT_NEAR(
                number(copy[mine]), row[theirs].toDouble(), 1e-9 * std::fabs(row[theirs].toDouble()) + 1e-12)
                << copy.join(u'\t').toStdString();
        }
    };
    for (qsizetype k = 1; k < places.size(); ++k) {
        const QStringList f = places[k].split(u'\t');
        ASSERT_EQ(f.size(), 8) << places[k].toStdString();
        ASSERT_TRUE(gis.count(f[2])) << places[k].toStdString();
        same(f, { { 3, 4 }, { 4, 5 }, { 5, 6 }, { 6, 10 }, { 7, 11 } }, gis[f[2]]);
    }
    const QStringList optimum = results[1].split(u'\t');
    ASSERT_EQ(optimum.size(), 8);
    EXPECT_EQ(optimum[0], u("optimum"));
    same(optimum, { { 2, 4 }, { 3, 5 }, { 4, 7 }, { 5, 8 }, { 6, 10 }, { 7, 11 } }, gis[u("optimum")]);
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('\n').toStdString();

    w->projectWindows().closeCooperWindow();
    flushDeletes();
    EXPECT_FALSE(on("KopirovatVysledok"));
}

TEST_F(GeoCommands, CandidateSitesListTheCliSolvesCandidatesToTwoDecimals)
{
    const QString csv = write("towns.csv", TownsCsv);
    TCooperAlokMetod* cooper = importAndSolve(csv);
    ASSERT_NE(cooper, nullptr);
    const QString mzd = dir.filePath("towns.mzd");
    ASSERT_EQ(runCli({ "import", csv, "--out", mzd }).code, 0);
    const CliRun cli = runCli({ "solve", mzd, "--format", "json" });
    ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
    const QJsonObject solved = QJsonDocument::fromJson(cli.out.toUtf8()).object();
    const QJsonArray candidates = solved[u("candidates")].toArray();
    ASSERT_EQ(candidates.size(), 4);
    QStringList expected;
    double previous = 0.0;
    for (const QJsonValue& v : candidates) {
        const QJsonObject c = v.toObject();
        const double excess = c[u("excess")].toDouble();
        const double objective = c[u("objective")].toDouble();
        // The excess is the objective's percent over the result's.
        EXPECT_NEAR(excess, (objective - solved[u("objective")].toDouble()) / solved[u("objective")].toDouble() * 100.0,
            1e-9);
        EXPECT_GE(objective, previous);
        previous = objective;
        // Written here apart from the program: two decimals, a sign, no minus for a rounded 0.
        QString figure = QString::number(excess, 'f', 2).replace(u'.', u',');
        if (figure == u("-0,00"))
            figure = u("0,00");
        expected << c[u("name")].toString() + u(": ") + (figure.startsWith(u'-') ? u("") : u("+")) + figure + u(" %");
    }
    EXPECT_EQ(cooper->lists().candidateLines(), expected);
    // The heavy capital is the cheapest of the towns.
    EXPECT_TRUE(expected.front().startsWith(u("Bratislava: +"))) << expected.front().toStdString();
}
