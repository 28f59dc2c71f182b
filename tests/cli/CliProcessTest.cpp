// dorvan-cli run as a process: its lines, numbers and pictures against the program opened on
// the same project, on a few golden cases, and the command line's own refusals.
#include "support/CliProcess.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/cli/CliCommands.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/project/ProjectFile.h"
#include "support/PixelCompare.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/Dorvan_Hlavny.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

using dorvan::test::CliRun;
using dorvan::test::runCli;

namespace {

using dorvan::test::ScriptedDialogs;

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; list != nullptr && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

using dorvan::test::fileBytes;

// Set DORVAN_CHART_PNG to a folder to keep both pictures when they differ.
int differentPixels(const QImage& a, const QImage& b, const char* name)
{
    const int n = dorvan::test::differingPixels(a, b);
    const QString folder = qEnvironmentVariable("DORVAN_CHART_PNG");
    if (n > 0 && !folder.isEmpty()) {
        a.save(QDir(folder).filePath(QString::fromUtf8(name) + "-window.png"));
        b.save(QDir(folder).filePath(QString::fromUtf8(name) + "-cli.png"));
    }
    return n;
}

struct PlaceSpec {
    const char* name;
    double x;
    double y;
    double quantity = 1.0;
    double price = 1.0;
    int flexibility = 1;
};

// A project as the program writes it after "Nový", with the places in the order given.
std::unique_ptr<dorvan::TProjectRecord> projectWith(const std::vector<PlaceSpec>& places)
{
    auto r = std::make_unique<dorvan::TProjectRecord>();
    dorvan::ResetProjectAtStart(*r);
    dorvan::ResetProjectForNew(*r);
    int i = 0;
    for (const PlaceSpec& p : places) {
        ++i;
        dorvan::storeNewPlace(*r, i, dorvan::Text100::fromUtf8(p.name), p.x, p.y);
        r->PlaceQuantity[i] = p.quantity;
        r->PlacePrice[i] = p.price;
        r->PlaceFlexibility[i] = p.flexibility;
    }
    dorvan::computeDistances(*r, i);
    r->SavedPlaceCount = i;
    return r;
}

// What the window shows, in the blocks the text output prints.
QStringList blocksOf(TCooperAlokMetod* c)
{
    QStringList out;
    auto* edit = c->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    if (edit != nullptr && !edit->isHidden())
        out << "Edit1" << edit->text();
    out << "ListBox1" << items(c->findChild<QListWidget*>(QStringLiteral("ListBox1")));
    out << "ListBox2" << items(c->findChild<QListWidget*>(QStringLiteral("ListBox2")));
    // The line naming the places a group run left out and the groups' total, which the text
    // output prints last.
    for (const QString& line : c->lists().runNotice().split('\n'))
        if (line.startsWith(QString::fromUtf8("Miesta mimo skupín: ")))
            out << line;
    for (const QString& line : c->lists().positionLine().split('\n'))
        if (line.startsWith(QString::fromUtf8("Vážený súčet skupín: ")))
            out << line;
    return out;
}

// The window's drawing against a render of the same size: the number of pixels that differ.
// The size given to the render is the window's drawing area, or `size` where it is given (over
// the map picture: the area that fills the frame, in which the drawing sizes itself).
int renderDifference(const QTemporaryDir& dir, TCooperAlokMetod* c, const QString& project,
    const QStringList& extra, const char* name, QSize size = {})
{
    const QImage shown = c->image();
    EXPECT_FALSE(shown.isNull());
    if (!size.isValid())
        size = shown.size();
    const QString png = dir.filePath(QString::fromUtf8(name) + ".png");
    const CliRun r = runCli(QStringList { "render", project, "--out", png, "--size",
                                QStringLiteral("%1x%2").arg(size.width()).arg(size.height()) }
        + extra);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QImage drawn(png);
    EXPECT_EQ(drawn.size(), shown.size());
    return differentPixels(shown, drawn, name);
}

// The main window with a project opened as "Otvor ako ..." does, and the real data-entry window.
class CliAgainstWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1280, 900);
        w->show();
    }
    void TearDown() override
    {
        // The main window takes its children along without their questions.
        w.reset();
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString save(const char* name, const dorvan::TProjectRecord& r, const dorvan::RgbPicture& picture = {})
    {
        const QString p = path(name);
        dorvan::saveProjectFile(p.toStdString(), r, picture);
        return p;
    }

    // Four places on a 1600 x 500 picture of the range 250 x 200.
    QString pictureProject();
    // Opens the project as "Otvor ako ..." does and then "Riešenie DORVAN".
    TCooperAlokMetod* openInWindow(const QString& project)
    {
        if (w->entryWindow() != nullptr)
            dialogs.confirmAnswers.push_back(true); // the data-entry window's close question
        EXPECT_TRUE(w->openProjectFile(project));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w->CooperClick();
        settle();
        auto* c = w->findChild<TCooperAlokMetod*>(QStringLiteral("CooperAlokMetod"));
        EXPECT_NE(c, nullptr);
        return c;
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    template <typename T> T* entry(const char* name) const
    {
        auto* c = w->entryWindow() != nullptr ? w->entryWindow()->findChild<T*>(QString::fromLatin1(name))
                                              : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w;
};

void expectIteratesMatch(
    const QJsonArray& json, const dorvan::CooperHistory& x, const dorvan::CooperHistory& y, int n)
{
    ASSERT_EQ(json.size(), n);
    for (int j = 1; j <= n; ++j) {
        const QJsonArray point = json[j - 1].toArray();
        ASSERT_EQ(point.size(), 2);
        EXPECT_EQ(point[0].toDouble(), static_cast<double>(x[j])) << "iterate " << j;
        EXPECT_EQ(point[1].toDouble(), static_cast<double>(y[j])) << "iterate " << j;
    }
}

QStringList jsonLines(const QJsonValue& v)
{
    QStringList out;
    for (const QJsonValue& l : v.toArray())
        out << l.toString();
    return out;
}

// Places A..H and one outside every group; group 2 is too small and group 3 names a place that
// does not exist.
std::unique_ptr<dorvan::TProjectRecord> groupProject()
{
    auto r = projectWith(
        { { "Sever", 40, 80, 3, 2, 1 }, { "Juh", 45, 5, 1, 1, 4 }, { "Stred", 50, 40, 10, 1, 1 },
            { "Západ", 5, 45, 2, 1.5, 2 }, { "Východ", 95, 42, 1, 3, 1 }, { "Les", 20, 70, 1, 1, 1 },
            { "Lúka", 70, 15, 5, 1, 3 }, { "Háj", 75, 75, 1, 1, 1 }, { "Mimo", 100, 100, 1, 1, 1 } });
    r->setCriterion(dorvan::CritGroups, true);
    r->GroupCount = 3;
    r->GroupPlaceCount[1] = 4;
    r->GroupPlaceCount[2] = 2;
    r->GroupPlaceCount[3] = 4;
    const char* members[]
        = { "Sever", "Les", "Háj", "Stred", "Juh", "Lúka", "Západ", "Východ", "Nikde", "Sever" };
    for (int k = 1; k <= 10; ++k)
        r->GroupedPlaceName[k] = dorvan::Text100::fromUtf8(members[k - 1]);
    return r;
}

const QString TooSmallGroup2 = QString::fromUtf8("Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!");

} // namespace

TEST_F(CliAgainstWindow, SampleOpenedInTheProgramGivesTheLinesIteratesAndPixelsOfTheCommandLine)
{
    // The sample project is what import makes of the sample list, byte for byte.
    const QString project = path("towns.mzd");
    const CliRun imported = runCli({ "import", DORVAN_EXAMPLES "/slovak_towns.csv", "--out", project });
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    // The towns' bounding box is 47.7633..49.2918 N, 17.1077..21.9195 E: its middle is the centre.
    EXPECT_EQ(imported.outLines(),
        (QStringList { project + ": 27 places with quantity",
            project
                + ": reference +proj=aeqd +lat_0=48.52755 +lon_0=19.5136 +x_0=180000 +y_0=86000 +datum=WGS84 "
                  "+units=km" }));
    EXPECT_TRUE(imported.err.isEmpty());
    EXPECT_EQ(fileBytes(project), fileBytes(DORVAN_EXAMPLES "/slovak_towns.mzd"));

    // Opened in the program, the quantities weigh the towns through the criterion byte the file
    // carries, as they do on the command line.
    TCooperAlokMetod* c = openInWindow(project);
    ASSERT_NE(c, nullptr);
    const QStringList shown = blocksOf(c);
    ASSERT_GT(shown.size(), 30);
    EXPECT_EQ(shown.last(), u("M27: Žilina, [123,6034;163,6368]"));
    EXPECT_TRUE(dialogs.texts("warn").isEmpty());

    const CliRun text = runCli({ "solve", project });
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    EXPECT_TRUE(text.err.isEmpty());
    EXPECT_EQ(text.outLines(), shown);
    // The weighted optimum, not the unweighted one at [152,4641;111,509].
    EXPECT_EQ(text.outLines().value(1), u("[X17,Y17]=[116,7162;95,9027]"));

    const CliRun json = runCli({ "solve", project, "--format", "json" });
    ASSERT_EQ(json.code, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const auto& s = c->solverState();
    EXPECT_EQ(o["final_iter"].toInt(), s.FinalIter);
    expectIteratesMatch(o["iterates"].toArray(), s.IterX, s.IterY, s.FinalIter);
    const QJsonObject lines = o["lines"].toObject();
    const QStringList fromJson = QStringList { "Edit1", lines["Edit1"].toString(), "ListBox1" }
        + jsonLines(lines["ListBox1"]) + QStringList { "ListBox2" } + jsonLines(lines["ListBox2"]);
    EXPECT_EQ(fromJson, shown);

    EXPECT_EQ(renderDifference(dir, c, project, {}, "towns"), 0);
}

TEST_F(CliAgainstWindow, StoredWeightedGroupsGiveTheLinesNumbersAndPixelsOfTheGroupRun)
{
    auto r = groupProject();
    r->setCriterion(dorvan::CritQuantity, true);
    r->setCriterion(dorvan::CritPrice, true);
    r->setCriterion(dorvan::CritFlexibility, true);
    const QString project = save("groups.mzd", *r);
    TCooperAlokMetod* c = openInWindow(project);
    ASSERT_NE(c, nullptr);
    // The data-entry window shows the project as the command line opens it.
    const auto opened = dorvan::cli::projectAsOpened(*r);
    EXPECT_EQ(w->project().tickedCriteria(), opened->tickedCriteria());
    EXPECT_TRUE(w->project().Choices.SettingsOn && opened->Choices.SettingsOn);
    EXPECT_EQ(w->project().Choices.Groups, opened->Choices.Groups);
    EXPECT_EQ(w->project().Choices.Groups.Groups.size(), 3U);
    const QStringList shown = blocksOf(c);
    EXPECT_EQ(shown.first(), "ListBox1"); // Edit1 is hidden in a group run
    // The only warning is the small group's (the window's first runs may each tell it).
    QStringList warned = dialogs.texts("warn");
    warned.removeDuplicates();
    EXPECT_EQ(warned, QStringList { TooSmallGroup2 });
    EXPECT_TRUE(shown.contains(u("M9: Nikde, [?;?]")));
    // "Mimo" is in no group: the run says so under its lists.
    ASSERT_GE(shown.size(), 2);
    EXPECT_EQ(shown[shown.size() - 2], u("Miesta mimo skupín: Mimo"));
    EXPECT_TRUE(shown.last().startsWith(u("Vážený súčet skupín: "))) << shown.last().toStdString();

    const CliRun text = runCli({ "solve", project, "--groups" });
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    EXPECT_EQ(text.outLines(), shown);
    EXPECT_EQ(text.errLines(), QStringList { "dorvan-cli: " + TooSmallGroup2 });

    const CliRun json = runCli({ "solve", project, "--groups", "--format", "json" });
    ASSERT_EQ(json.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonArray groups = o["groups"].toArray();
    ASSERT_EQ(groups.size(), 3);
    // The window keeps the last group's history: group 3.
    const auto& s = c->solverState();
    EXPECT_EQ(groups[2]["final_iter"].toInt(), s.FinalIter);
    expectIteratesMatch(groups[2]["iterates"].toArray(), s.GroupIterX, s.GroupIterY, s.FinalIter);

    EXPECT_EQ(renderDifference(dir, c, project, { "--groups" }, "groups"), 0);

    // The weights count: without them the centre of group 1 lies elsewhere.
    r->setCriterion(dorvan::CritQuantity, false);
    r->setCriterion(dorvan::CritPrice, false);
    r->setCriterion(dorvan::CritFlexibility, false);
    const QString plain = save("plain.mzd", *r);
    EXPECT_NE(runCli({ "solve", plain, "--groups" }).outLines().value(1), text.outLines().value(1));
}

// A map picture in a colour gradient, so that any difference in where it is stretched shows.
dorvan::RgbPicture gradientPicture(int width, int height)
{
    dorvan::RgbPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                { static_cast<std::uint8_t>(x * 255 / width), static_cast<std::uint8_t>(y * 255 / height),
                    static_cast<std::uint8_t>((x + y) % 256) });
    return picture;
}

void givePicture(dorvan::TProjectRecord& r, int width, int height, int rangeX, int rangeY)
{
    r.PictureWidth = width;
    r.PictureHeight = height;
    r.MapRangeX = rangeX;
    r.MapRangeY = rangeY;
}

QString CliAgainstWindow::pictureProject()
{
    auto r = projectWith(
        { { "Prvé", 10, 20 }, { "Druhé", 200, 40 }, { "Tretie", 120, 160 }, { "Štvrté", 60, 90 } });
    givePicture(*r, 1600, 500, 250, 200);
    return save("picture.mzd", *r, gradientPicture(1600, 500));
}

// The drawing area of "NIE", filling the window's frame: what --size stands for over a picture.
QSize frameArea(TCooperAlokMetod* c)
{
    return c->findChild<QGroupBox*>(QStringLiteral("GroupBox3"))->size() - QSize(4, 17);
}

void clickChoice(TCooperAlokMetod* c, const char* button)
{
    auto* b = c->findChild<QRadioButton*>(QString::fromLatin1(button));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, 6));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(b->isChecked()) << button;
}

TEST_F(CliAgainstWindow, PictureProjectListsPlainNamesAndDrawsTheSameOverThePictureAndWithout)
{
    // Wider than the frame: "ÁNO" fits it to the frame's width.
    const QString project = pictureProject();

    TCooperAlokMetod* c = openInWindow(project);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(w->pictureMode());
    ASSERT_TRUE(c->findChild<QRadioButton*>(QStringLiteral("RadioButton1"))->isChecked());
    const QStringList shown = blocksOf(c);
    EXPECT_TRUE(shown.contains(u("Štvrté, [60;90]")));

    const CliRun text = runCli({ "solve", project });
    ASSERT_EQ(text.code, 0);
    EXPECT_EQ(text.outLines(), shown);

    // "S obrázkom" and "ÁNO": the picture's shape, fitted to the frame's width.
    const QSize area = frameArea(c);
    EXPECT_EQ(c->image().width(), area.width());
    EXPECT_LT(c->image().height(), area.height());
    EXPECT_EQ(renderDifference(dir, c, project, { "--picture", "yes" }, "picture-yes", area), 0);

    // "Bez obrázku": the drawing area fills its frame; the chart is the same drawing.
    clickChoice(c, "RadioButton2");
    EXPECT_EQ(
        renderDifference(dir, c, project, { "--picture", "no", "--proportional", "no" }, "picture-no"), 0);
}

TEST_F(CliAgainstWindow, PlacesListsEveryPlaceAndTheSingleValueCriteria)
{
    auto r = projectWith({ { "Alfa; a \"beta\"", 1.5, -2.25, 3, 4.5, 6 }, { "Gama", 7, 8 } });
    r->setCriterion(dorvan::CritPrice, true);
    r->setCriterion(dorvan::CritVehicleSpeed, true);
    r->VehicleSpeed = 62.5;
    r->CentralName = dorvan::Text100::fromUtf8("Gama");
    const QString project = save("places.mzd", *r);

    const CliRun csv = runCli({ "places", project });
    ASSERT_EQ(csv.code, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split('\n');
    EXPECT_EQ(lines[0], "number;name;x;y;quantity;price;flexibility");
    EXPECT_EQ(lines[1], "1;\"Alfa; a \"\"beta\"\"\";1,5;-2,25;3;4,5;6");
    EXPECT_EQ(lines[2], "2;Gama;7;8;1;1;1");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "criterion;on;value");
    EXPECT_TRUE(lines.contains("price;1;"));
    EXPECT_TRUE(lines.contains("quantity;0;"));
    EXPECT_TRUE(lines.contains("vehicle_speed;1;62,5"));
    EXPECT_TRUE(lines.contains("central;0;Gama"));

    const CliRun json = runCli({ "places", project, "--format", "json" });
    ASSERT_EQ(json.code, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(o["place_count"].toInt(), 2);
    const QJsonObject first = o["places"][0].toObject();
    EXPECT_EQ(first["name"].toString(), "Alfa; a \"beta\"");
    EXPECT_EQ(first["y"].toDouble(), -2.25);
    EXPECT_EQ(first["price"].toDouble(), 4.5);
    EXPECT_EQ(first["flexibility"].toInt(), 6);
    EXPECT_EQ(o["criteria"]["vehicle_speed"]["value"].toDouble(), 62.5);
    EXPECT_TRUE(o["criteria"]["price"]["on"].toBool());
    EXPECT_FALSE(o["criteria"]["quantity"]["on"].toBool());
}

TEST(CliProcess, ImportRefusesEveryBadLineWithItsNumberAndWritesNothing)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("bad.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("# a list with faults\n"
                "name;x;y;quantity;price;flexibility\n"
                "Dobre;1;2;1;1;1\n"
                ";1;2;1;1;1\n"
                "Zle X;1a;2;1;1;1\n"
                "Male mnozstvo;1;2;0,9999;1;1\n"
                "Zla cena;1;2;1;0;1\n"
                "Zla flexibilita;1;2;1;1;-3\n"
                "Snehuliak \xE2\x98\x83;1;2;1;1;1\n"
                "Kratky;1;2\n");
    }
    const QString out = dir.filePath("out.mzd");
    const CliRun r = runCli({ "import", csv, "--out", out });
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.isEmpty());
    const QStringList err = r.errLines();
    ASSERT_EQ(err.size(), 8) << r.err.toStdString();
    const QString at = "dorvan-cli: " + csv + ":";
    EXPECT_EQ(err[0], at + "4: the name is empty");
    EXPECT_EQ(err[1], at + "5: X \"1a\" is not a number");
    EXPECT_EQ(err[2], at + "6: quantity \"0,9999\" is below 1");
    EXPECT_EQ(err[3], at + "7: price \"0\" is below 1");
    EXPECT_EQ(err[4], at + "8: flexibility \"-3\" is not a whole number from 1 to 2147483647");
    EXPECT_EQ(err[5], at + u("9: the name holds \"☃\", which Windows-1250 cannot store"));
    EXPECT_EQ(err[6], at + "10: 3 fields, but the first line has 6");
    EXPECT_EQ(err[7], "dorvan-cli: " + csv + ": nothing was written");
    EXPECT_FALSE(QFile::exists(out));

    // An existing project stays as it was.
    {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    EXPECT_EQ(runCli({ "import", csv, "--out", out }).code, 2);
    EXPECT_EQ(fileBytes(out), "old");

    // Whole-file faults have no line number.
    QFile one(dir.filePath("one.csv"));
    ASSERT_TRUE(one.open(QIODevice::WriteOnly));
    one.write("A;1;2\n");
    one.close();
    const CliRun single = runCli({ "import", one.fileName(), "--out", out });
    EXPECT_EQ(single.code, 2);
    EXPECT_EQ(single.errLines().first(),
        "dorvan-cli: " + one.fileName() + ": the file holds 1 place; a project needs 2 to 99");
    EXPECT_EQ(fileBytes(out), "old");

    // A name that repeats an earlier one in another case or with spaces around it: one line
    // for each repeat, and nothing written.
    QFile twice(dir.filePath("twice.csv"));
    ASSERT_TRUE(twice.open(QIODevice::WriteOnly));
    twice.write(u("name;x;y\nNitra;1;2\nŠaľa;3;4\n NITRA ;5;6\nŠAĽA;7;8\nnitra;9;9\nLučenec;0;1\n").toUtf8());
    twice.close();
    const CliRun repeated = runCli({ "import", twice.fileName(), "--out", out });
    EXPECT_EQ(repeated.code, 2);
    const QString in = "dorvan-cli: " + twice.fileName() + ":";
    EXPECT_EQ(repeated.errLines(),
        (QStringList { in + u("4: Miesto NITRA už existuje !!!"), in + u("5: Miesto ŠAĽA už existuje !!!"),
            in + u("6: Miesto nitra už existuje !!!"), in + " nothing was written" }));
    EXPECT_EQ(fileBytes(out), "old");
}

TEST(CliProcess, BadArgumentsExitWithTwoAndOneLine)
{
    QTemporaryDir dir;
    const QString shortFile = dir.filePath("short.mzd");
    {
        QFile f(shortFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1000, '\0'));
    }
    const QString missing = dir.filePath("missing.mzd");
    const QString sample = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    const QList<QStringList> cases {
        {},
        { "optimise", sample },
        { "solve" },
        { "solve", sample, "--stop", "z" },
        { "render", sample, "--out", dir.filePath("c.png"), "--contours", "0" },
        { "render", sample, "--out", dir.filePath("c.png"), "--contours", "1;5" },
        { "solve", sample, "--format", "xml" },
        { "solve", sample, "--groups=1" },
        { "solve", sample, "--precision" },
        { "solve", sample, sample },
        { "solve", missing },
        { "solve", shortFile },
        { "places", shortFile, "--format", "json" },
        { "render", sample },
        { "render", sample, "--out", dir.filePath("c.gif") },
        { "render", sample, "--out", dir.filePath("c.png"), "--size", "100x100" },
        { "render", sample, "--out", dir.filePath("c.png"), "--size", "big" },
        { "render", sample, "--out", dir.filePath("no-folder/c.png") },
        { "render", sample, "--out", dir.filePath("c.png"), "--picture", "maybe" },
        { "render", sample, "--out", dir.filePath("c.png"), "--select", "1,2,3" },
        { "render", sample, "--out", dir.filePath("c.png"), "--select", "1,2,3,x" },
        { "render", sample, "--out", dir.filePath("c.png"), "--select", "1,2,3,4,5" },
        { "import", missing, "--out", dir.filePath("x.mzd") },
        { "import", DORVAN_EXAMPLES "/slovak_towns.csv" },
        { "import", DORVAN_EXAMPLES "/slovak_towns.csv", "--out", dir.filePath("no-folder/x.mzd") },
    };
    for (const QStringList& args : cases) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        ASSERT_EQ(r.errLines().size(), 1) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("dorvan-cli: ")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("c.png")));

    const CliRun help = runCli({ "--help" });
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: dorvan-cli COMMAND"));
    const CliRun renderHelp = runCli({ "render", "--help" });
    EXPECT_EQ(renderHelp.code, 0);
    EXPECT_TRUE(renderHelp.out.contains("drawn over its picture"));
}

TEST_F(CliAgainstWindow, ProposedGroupsOfTheSampleEqualTheCommandLinesAndSurviveSaving)
{
    const QString sample = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    TCooperAlokMetod* c = openInWindow(sample);
    ASSERT_NE(c, nullptr);
    entry<QCheckBox>("CheckBox17")->setChecked(true);
    entry<QLineEdit>("CentreCountEdit")->setText("3");
    QTest::mouseClick(entry<QPushButton>("ProposeButton"), Qt::LeftButton);
    auto* table = entry<QTableWidget>("CentreTable");
    // The search runs apart from the window; the table's 8 rows come last.
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() == 8; }, 60000));
    const QStringList groupLines = items(entry<QListWidget>("ListBox9"));
    ASSERT_EQ(groupLines.size(), 30); // 3 headers and the 27 towns

    // The command line proposes the same groups for the same project and seed.
    const CliRun cli = runCli({ "groups", sample, "--centres", "3", "--format", "json" });
    ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(cli.out.toUtf8()).object();
    QStringList cliLines;
    int g = 0;
    for (const QJsonValue& group : o["groups"].toArray()) {
        cliLines << u("--- Skupina %1 ---").arg(++g);
        for (const QJsonValue& name : group["members"].toArray())
            cliLines << name.toString();
    }
    EXPECT_EQ(groupLines, cliLines);

    // The open allocation window ran again, one centre per proposed group.
    settle();
    EXPECT_EQ(items(c->findChild<QListWidget*>(QStringLiteral("ListBox1"))).size(), 3);
    const QStringList run = blocksOf(c);

    // Saved and opened again, the project lists the same groups and gives the same run, in the
    // window and on the command line; --out stores the same groups.
    const QString saved = path("navrh.mzd");
    dialogs.fileAnswers.push_back(saved);
    w->saving().UlozAkoVUClick();
    TCooperAlokMetod* again = openInWindow(saved);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(entry<QCheckBox>("CheckBox17")->isChecked());
    EXPECT_EQ(items(entry<QListWidget>("ListBox9")), groupLines);
    EXPECT_EQ(blocksOf(again), run);
    EXPECT_EQ(runCli({ "solve", saved, "--groups" }).outLines(), run);
    const QString out = path("cli.mzd");
    ASSERT_EQ(runCli({ "groups", sample, "--centres", "3", "--out", out }).code, 0);
    EXPECT_EQ(runCli({ "solve", out, "--groups" }).outLines(), run);
}

TEST_F(CliAgainstWindow, AWindowClosedWhileItsSearchRunsTakesNoResultAndLeavesNoBusyCursor)
{
    const QString sample = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    ASSERT_NE(openInWindow(sample), nullptr);
    entry<QCheckBox>("CheckBox17")->setChecked(true);
    entry<QLineEdit>("CentreCountEdit")->setText("4");
    QTest::mouseClick(entry<QPushButton>("ProposeButton"), Qt::LeftButton);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    const auto groupsBefore = w->project().Choices.Groups;
    delete w->entryWindow();
    QTest::qWait(300);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(w->project().Choices.Groups, groupsBefore);
}

TEST(CliGroups, BadCentreCountsAreRefusedWithOneLine)
{
    const QString sample = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    for (const char* centres : { "1", "10", "x", "", "3-2", "0-4" }) {
        const CliRun r = runCli({ "groups", sample, "--centres", centres });
        EXPECT_EQ(r.code, 2) << centres;
        EXPECT_EQ(r.errLines().size(), 1) << centres;
        EXPECT_TRUE(r.out.isEmpty()) << centres;
    }
}

namespace {

// Ticks or unticks "Izočiary nákladov" as the user does.
void clickContours(TCooperAlokMetod* c)
{
    auto* box = c->findChild<QCheckBox*>(QStringLiteral("CostContoursBox"));
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

TEST_F(CliAgainstWindow, CertificateAndContoursOfTheSampleAreTheSameInTheWindowAndOnTheCommandLine)
{
    const QString project = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    TCooperAlokMetod* c = openInWindow(project);
    ASSERT_NE(c, nullptr);
    const QImage plain = c->image();

    const CliRun json = runCli({ "solve", project, "--format", "json" });
    ASSERT_EQ(json.code, 0);
    const QJsonObject solved = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const double gap = solved["gap"].toDouble();
    // The line under the lists is the command line's, and gives that gap in percent to 4
    // significant digits, written without an exponent.
    EXPECT_EQ(c->lists().certificateLine(), solved["certificate_line"].toString());
    const QRegularExpressionMatch m
        = QRegularExpression(u("^Výsledok je nanajvýš o (\\d+(,\\d+)?) % horší ako optimum$"))
              .match(c->lists().certificateLine());
    ASSERT_TRUE(m.hasMatch()) << c->lists().certificateLine().toStdString();
    const QString digits = m.captured(1);
    EXPECT_LE(QString(digits).remove(u(",")).remove(QRegularExpression(u("^0+"))).size(), 4);
    EXPECT_NEAR(QLocale(QLocale::Slovak).toDouble(digits), gap * 100.0, gap * 100.0 * 5e-4);

    // Ticked: the curves, the same pixels as the command line's render; unticked: the drawing
    // of before.
    clickContours(c);
    EXPECT_NE(c->image(), plain);
    EXPECT_EQ(renderDifference(dir, c, project, { "--contours", "1,5,10" }, "contours"), 0);
    clickContours(c);
    EXPECT_EQ(c->image(), plain);
}

TEST_F(CliAgainstWindow, EqualScaleDrawsTheSamePixelsInTheWindowAndOnTheCommandLine)
{
    // The sample for one centre, then the stored groups: "Rovnaká mierka osí" starts unticked;
    // ticked, both axes share one scale as --equal-scale draws them; unticked again, the drawing
    // of before.
    const QString towns = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    const QString groups = save("groups.mzd", *groupProject());
    for (const QString& project : { towns, groups }) {
        const bool grouped = project == groups;
        if (grouped)
            dialogs.confirmAnswers.push_back(true); // the allocation window's close question
        TCooperAlokMetod* c = openInWindow(project);
        ASSERT_NE(c, nullptr);
        auto* box = c->findChild<QCheckBox*>(QStringLiteral("EqualScaleBox"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), u("Rovnaká mierka osí"));
        EXPECT_FALSE(box->isChecked());
        const QImage free = c->image();
        EXPECT_NE(c->chartState().ChartScaleX, c->chartState().ChartScaleY);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        settle();
        EXPECT_EQ(c->chartState().ChartScaleX, c->chartState().ChartScaleY);
        EXPECT_NE(c->image(), free);
        const QStringList extra = grouped ? QStringList { "--groups", "--equal-scale" } : QStringList { "--equal-scale" };
        EXPECT_EQ(renderDifference(dir, c, project, extra, grouped ? "equal-groups" : "equal-towns"), 0);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        settle();
        EXPECT_EQ(c->image(), free);
    }
}

namespace {

QString writeText(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return path;
}

} // namespace

TEST(CliRealCoordinates, BadCoordinatesAreRefusedWithOneMessageAndNothingWritten)
{
    QTemporaryDir dir;
    struct Case {
        QByteArray csv;
        QStringList options;
        const char* names; // the line or the CRS the message names
    };
    const Case cases[] = {
        { "name;lat;lon\nA;48;17\nB;90.5;18\n", {}, "bad.csv:3: latitude \"90.5\" is outside -90 to 90" },
        { "name;lat;lon\nA;48;181\nB;48;18\n", {}, "bad.csv:2: longitude \"181\" is outside -180 to 180" },
        { "name;lon;lat\nA;17;\nB;18;48\n", {}, "bad.csv:2: the latitude is missing" },
        { "name;lat;lon\nA;48;17\nB;x;18\n", {}, "bad.csv:3: latitude \"x\" is not a number" },
        { "name;lat;lon\nA;48;17\nB;48;18\nC;-33.9;151.2\n", {}, "bad.csv:4: the place lies" },
        { "name;x;y\nA;-568000;-1160000\nB;-560000;-1200000\n", { "--crs", "EPSG:4711999" },
            "bad.csv: --crs EPSG:4711999: PROJ knows no such coordinate reference system" },
        { "name;x;y\nA;-568000;-1160000\nB;-560000;-1200000\n", { "--crs", "S-JTSK" },
            "bad.csv: --crs S-JTSK: PROJ knows no such" },
    };
    for (const Case& c : cases) {
        const QString csv = writeText(dir, "bad.csv", c.csv);
        const QString out = dir.filePath("bad.mzd");
        const CliRun r = runCli(QStringList { "import", csv, "--out", out } + c.options);
        EXPECT_EQ(r.code, 2) << c.csv.toStdString();
        ASSERT_EQ(r.errLines().size(), 2) << r.err.toStdString();
        EXPECT_TRUE(r.errLines()[0].contains(u(c.names))) << r.err.toStdString();
        EXPECT_EQ(r.errLines()[1], "dorvan-cli: " + csv + ": nothing was written");
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFile::exists(out)) << c.csv.toStdString();
    }
}

// Metres of a national grid without --crs are written as kilometres, never silently.
TEST(CliRealCoordinates, MetreSizedXYWithoutASystemGiveANotice)
{
    QTemporaryDir dir;
    const QString csv = writeText(dir, "grid.csv", "name;x;y\nA;-568000;-1160000\nB;-560000;-1200000\n");
    const QString out = dir.filePath("grid.mzd");
    const CliRun plain = runCli({ "import", csv, "--out", out });
    EXPECT_EQ(plain.code, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.errLines(),
        QStringList { "dorvan-cli: " + csv
            + ": x or y is larger than 10 000: metres of a national grid? They are read as kilometres; "
              "give their system with --crs EPSG:N (S-JTSK: --crs EPSG:5514) to place them" });
    const CliRun placed = runCli({ "import", csv, "--out", out, "--crs", "EPSG:5514" });
    EXPECT_EQ(placed.code, 0) << placed.err.toStdString();
    EXPECT_TRUE(placed.err.isEmpty()) << placed.err.toStdString();
}

TEST(CliRealCoordinates, SampleGivesLatitudeLongitudeAndExportMatchesSolve)
{
    QTemporaryDir dir;
    const QString sample = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    // Each town's position computed back from its stored X/Y is the listed one within 1e-5°.
    QFile in(QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.csv"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QMap<QString, QPair<double, double>> listed;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(';');
        if (f.size() == 4 && !line.startsWith('#') && f[1] != "latitude")
            listed[QString::fromUtf8(f[0])] = { f[1].toDouble(), f[2].toDouble() };
    }
    ASSERT_EQ(listed.size(), 27);
    const CliRun places = runCli({ "places", sample, "--format", "json" });
    ASSERT_EQ(places.code, 0);
    const QJsonArray towns = QJsonDocument::fromJson(places.out.toUtf8())["places"].toArray();
    ASSERT_EQ(towns.size(), 27);
    for (const QJsonValue& t : towns) {
        const auto want = listed.value(t["name"].toString());
        EXPECT_NEAR(t["latitude"].toDouble(), want.first, 1e-5) << t["name"].toString().toStdString();
        EXPECT_NEAR(t["longitude"].toDouble(), want.second, 1e-5) << t["name"].toString().toStdString();
    }

    // solve and export with the same options: the same optimum, in X/Y and in degrees.
    const QStringList options { "--stop", "objective", "--precision", "0,001" };
    const CliRun solved = runCli(QStringList { "solve", sample, "--format", "json" } + options);
    ASSERT_EQ(solved.code, 0);
    const QJsonObject s = QJsonDocument::fromJson(solved.out.toUtf8()).object();
    const QString geojson = dir.filePath("towns.geojson");
    const CliRun exported = runCli(QStringList { "export", sample, "--format", "geojson", "--out", geojson } + options);
    ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
    const QJsonArray features = QJsonDocument::fromJson(fileBytes(geojson))["features"].toArray();
    ASSERT_EQ(features.size(), 27 + 2);
    const QJsonObject optimum = features[27].toObject();
    EXPECT_EQ(optimum["properties"]["role"].toString(), "optimum");
    EXPECT_EQ(optimum["properties"]["objective"].toDouble(), s["objective"].toDouble());
    EXPECT_EQ(optimum["geometry"]["coordinates"][0].toDouble(), s["longitude"].toDouble());
    EXPECT_EQ(optimum["geometry"]["coordinates"][1].toDouble(), s["latitude"].toDouble());
    EXPECT_EQ(features[28]["geometry"]["coordinates"].toArray().size(), s["iterates"].toArray().size());

    const QString csv = dir.filePath("towns.csv");
    ASSERT_EQ(runCli(QStringList { "export", sample, "--format", "csv", "--out", csv } + options).code, 0);
    const QList<QByteArray> rows = fileBytes(csv).split('\n');
    ASSERT_GE(rows.size(), 29);
    EXPECT_EQ(rows[0], "kind,group,name,step,x,y,weight,objective,gap,existing,latitude,longitude");
    const QList<QByteArray> result = rows[28].split(',');
    ASSERT_EQ(result.size(), 12) << rows[28].toStdString();
    EXPECT_EQ(result[0], "optimum");
    EXPECT_NEAR(result[4].toDouble(), s["optimum"][0].toDouble(), 1e-9);
    EXPECT_NEAR(result[7].toDouble(), s["objective"].toDouble(), 1e-9 * s["objective"].toDouble());
    EXPECT_EQ(result[9], "0"); // no existing centre
    EXPECT_NEAR(result[10].toDouble(), s["latitude"].toDouble(), 1e-7);
}

TEST(CliRealCoordinates, WithoutReferenceGeoJsonIsRefusedAndCsvKeepsToXY)
{
    QTemporaryDir dir;
    const QString plain = writeText(dir, "plain.csv", "name;x;y\nA;1;2\nB;5;2\nC;3;7\n");
    const QString project = dir.filePath("plain.mzd");
    ASSERT_EQ(runCli({ "import", plain, "--out", project }).code, 0);
    const CliRun json = runCli({ "solve", project, "--format", "json" });
    EXPECT_FALSE(json.out.contains("latitude"));

    const QString geojson = dir.filePath("plain.geojson");
    const CliRun refused = runCli({ "export", project, "--format", "geojson", "--out", geojson });
    EXPECT_EQ(refused.code, 2);
    ASSERT_EQ(refused.errLines().size(), 1);
    EXPECT_TRUE(refused.err.contains("no coordinate reference")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(geojson));

    const QString csv = dir.filePath("plain.csv.out");
    ASSERT_EQ(runCli({ "export", project, "--format", "csv", "--out", csv }).code, 0);
    const QList<QByteArray> rows = fileBytes(csv).split('\n');
    EXPECT_EQ(rows[0], "kind,group,name,step,x,y,weight,objective,gap,existing");
    EXPECT_EQ(rows[1], "place,,A,,1.0,2.0,1.0,,,");
}

namespace {

struct OgrInfo {
    QString out;
    QString err;
};

OgrInfo ogrinfo(const QStringList& arguments)
{
    QProcess p;
    p.start(
        QStringLiteral("ogrinfo"), QStringList { "-ro", "-al", "-oo", "AUTODETECT_TYPE=YES" } + arguments);
    EXPECT_TRUE(p.waitForFinished(30000));
    return { QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError()) };
}

} // namespace

// The CSV export as GDAL reads it: one layer, a feature for every place, result and path point,
// and the coordinates and figures typed as reals, the names in UTF-8.
TEST(CliRealCoordinates, CsvExportIsOneTableThatOgrinfoReadsWithRealColumns)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ogrinfo")).isEmpty())
        GTEST_SKIP() << "ogrinfo is not installed";
    QTemporaryDir dir;
    const QString sample = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");
    const QString grouped = dir.filePath("groups.mzd");
    ASSERT_EQ(runCli({ "groups", sample, "--centres", "3", "--out", grouped }).code, 0);
    struct Case {
        QString project;
        QStringList options;
    };
    for (const Case& c : { Case { sample, {} }, Case { grouped, { "--groups" } } }) {
        const CliRun solved = runCli(QStringList { "solve", c.project, "--format", "json" } + c.options);
        ASSERT_EQ(solved.code, 0) << solved.err.toStdString();
        const QJsonObject s = QJsonDocument::fromJson(solved.outBytes).object();
        // The solve's results, each with its path: one group, or the run itself.
        QJsonArray results = s["groups"].toArray();
        if (c.options.isEmpty())
            results = { s };
        qsizetype points = 0;
        for (const QJsonValue& r : results)
            points += r["iterates"].toArray().size();
        const QString csv = dir.filePath("result.csv");
        const CliRun exported
            = runCli(QStringList { "export", c.project, "--format", "csv", "--out", csv } + c.options);
        ASSERT_EQ(exported.code, 0) << exported.err.toStdString();

        const OgrInfo summary = ogrinfo({ "-so", csv });
        EXPECT_TRUE(summary.err.isEmpty()) << summary.err.toStdString();
        EXPECT_TRUE(summary.out.contains(u("Feature Count: %1\n").arg(27 + results.size() + points)))
            << summary.out.toStdString();
        QStringList types { "kind: String", "name: String", "step: Integer", "x: Real", "y: Real",
            "weight: Real", "objective: Real", "gap: Real", "existing: Integer", "latitude: Real",
            "longitude: Real" };
        if (!c.options.isEmpty())
            types << "group: Integer";
        for (const QString& type : types)
            EXPECT_TRUE(summary.out.contains(u("\n") + type + u(" (")))
                << type.toStdString() << summary.out.toStdString();

        // Each optimum as solve gives it; a town by its UTF-8 name.
        const OgrInfo optima = ogrinfo({ "-where", "kind = 'optimum'", csv });
        const QRegularExpression objective(u("objective \\(Real\\) = ([-0-9.e+]+)"));
        auto m = objective.globalMatch(optima.out);
        for (const QJsonValue& r : results) {
            ASSERT_TRUE(m.hasNext()) << optima.out.toStdString();
            const double want = r["objective"].toDouble();
            EXPECT_NEAR(m.next().captured(1).toDouble(), want, want * 1e-13);
        }
        EXPECT_FALSE(m.hasNext());
        const OgrInfo town = ogrinfo({ "-where", u("name = 'Žilina'"), csv });
        EXPECT_TRUE(town.out.contains(u("Feature Count: 1\n")) || town.out.count(u("OGRFeature(")) == 1)
            << town.out.toStdString();
        EXPECT_TRUE(town.out.contains(u("x (Real) = 123.6034"))) << town.out.toStdString();
    }
}
