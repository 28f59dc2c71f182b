// "Navrhnúť skupiny" with existing centres and the group size limit, driven in the real data-entry
// window on the sample of 27 towns, and compared with dorvan-cli's groups command run on the
// same project file.
#include "core/cli/CliArguments.h"
#include "core/cli/CliCommands.h"
#include "core/project/ProjectDocument.h"
#include "core/project/ProjectFile.h"
#include "core/project/RecordCodec.h"
#include "support/ScriptedDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/common/Utf8Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

using dorvan::test::ScriptedDialogs;

QStringList items(const QListWidget* l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

// The project's settings for a case: the central place and the group size limit, each ticked
// or not.
struct Settings {
    bool centralZilina = false;
    int maxPlaces = 0; // 0: "Rovnomernosť počtu miest v skupinách" unticked
};

class GroupProposalPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1400, 950);
        w->show();
    }
    void TearDown() override { w.reset(); }

    // The sample saved with the settings, opened as "Otvor ako ..." does, on the groups page.
    QString open(const Settings& s)
    {
        dorvan::LoadedProject sample = dorvan::readProjectFile(DORVAN_EXAMPLES "/slovak_towns.mzd");
        dorvan::TProjectRecord& r = sample.record;
        EXPECT_EQ(r.PlaceName[27].bytes(), std::string_view("\x8eilina")); // Žilina in the code page
        r.setCriterion(dorvan::CritCentral, s.centralZilina);
        r.CentralName = s.centralZilina ? r.PlaceName[27] : dorvan::Text100 {};
        r.setCriterion(dorvan::CritEvenGroups, s.maxPlaces > 0);
        r.PlacesPerGroup = s.maxPlaces > 0 ? s.maxPlaces : 1;
        const QString file = dir.filePath(QStringLiteral("plan%1.mzd").arg(++saved));
        dorvan::saveProjectFile(file.toStdString(), r, sample.picture);
        // The open data-entry window's close question, answered Yes.
        if (w->entryWindow() != nullptr && w->project().State.UnsavedChanges)
            dialogs.saveAnswers.push_back(dorvan::UserDialogs::Answer::Yes);
        else if (w->entryWindow() != nullptr)
            dialogs.confirmAnswers.push_back(true);
        EXPECT_TRUE(w->openProjectFile(file));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        get<QCheckBox>("CheckBox17")->setChecked(true);
        get<QTabWidget>("PageControl1")->setCurrentIndex(1);
        get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet15"));
        QCoreApplication::processEvents();
        return file;
    }
    template <typename T> T* get(const char* name) const
    {
        auto* c = w->entryWindow() != nullptr ? w->entryWindow()->findChild<T*>(QString::fromLatin1(name))
                                              : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Chooses lines of a list as Ctrl-clicks do.
    void choose(const char* listName, std::initializer_list<int> rows)
    {
        auto* l = get<QListWidget>(listName);
        l->clearSelection();
        for (int row : rows) {
            l->scrollToItem(l->item(row));
            QTest::mouseClick(
                l->viewport(), Qt::LeftButton, Qt::ControlModifier, l->visualItemRect(l->item(row)).center());
        }
    }
    void propose(int centres)
    {
        get<QLineEdit>("CentreCountEdit")->setText(QString::number(centres));
        QTest::mouseClick(get<QPushButton>("ProposeButton"), Qt::LeftButton);
    }
    bool waitForRows(int rows)
    {
        auto* table = get<QTableWidget>("CentreTable");
        const bool reached = QTest::qWaitFor(
            [&] { return table->rowCount() == rows && QApplication::overrideCursor() == nullptr; }, 120000);
        QCoreApplication::processEvents();
        return reached && table->rowCount() == rows;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w;
    int saved = 0;
};

// dorvan-cli groups in-process: its JSON, or its one-line refusal.
QJsonObject cliGroups(const QString& file, int centres, std::vector<std::string> fixed)
{
    dorvan::cli::GroupsOptions o;
    o.project = file.toStdString();
    o.centresFrom = o.centresTo = centres;
    o.format = dorvan::cli::OutputFormat::Json;
    o.fixed = std::move(fixed);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(dorvan::cli::groupsCommand(o, out, err), 0) << err.str();
    return QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
}

// The group list as the sheet shows it, from the command line's groups.
QStringList groupLines(const QJsonObject& o)
{
    QStringList lines;
    int g = 0;
    for (const QJsonValue& group : o["groups"].toArray()) {
        lines << u("--- Skupina %1 ---").arg(++g);
        for (const QJsonValue& name : group["members"].toArray())
            lines << name.toString();
    }
    return lines;
}

TEST_F(GroupProposalPage, PlacesMoveInAndOutOfTheExistingCentresAndTheCentralPlaceComesFirst)
{
    struct Case {
        bool central;
        const char* firstOffered;
    };
    for (const Case c : { Case { false, "Banská Bystrica" }, Case { true, "Žilina" } }) {
        SCOPED_TRACE(c.central);
        open({ c.central, 0 });
        auto* offered = get<QListWidget>("FixedPlacesList");
        auto* chosen = get<QListWidget>("FixedCentresList");
        ASSERT_EQ(offered->count(), 27);
        EXPECT_EQ(offered->item(0)->text(), u(c.firstOffered));
        EXPECT_EQ(chosen->count(), 0);
        EXPECT_FALSE(get<QPushButton>("FixedRemoveButton")->isEnabled());

        // Žilina (first or last) and Košice (row 6 or 7) go over together, in list order.
        const int zilina = c.central ? 0 : 26;
        const int kosice = c.central ? 7 : 6;
        ASSERT_EQ(offered->item(kosice)->text(), u("Košice"));
        choose("FixedPlacesList", { zilina, kosice });
        QTest::mouseClick(get<QPushButton>("FixedAddButton"), Qt::LeftButton);
        const QStringList expectedChosen
            = c.central ? QStringList { u("Žilina"), u("Košice") } : QStringList { u("Košice"), u("Žilina") };
        EXPECT_EQ(items(chosen), expectedChosen);
        EXPECT_EQ(offered->count(), 25);
        EXPECT_FALSE(items(offered).contains(u("Žilina")));
        EXPECT_TRUE(get<QPushButton>("FixedRemoveButton")->isEnabled());

        // Back with "<<<": Žilina takes its place again, first when it is the central place.
        choose("FixedCentresList", { static_cast<int>(expectedChosen.indexOf(u("Žilina"))) });
        QTest::mouseClick(get<QPushButton>("FixedRemoveButton"), Qt::LeftButton);
        EXPECT_EQ(items(chosen), QStringList { u("Košice") });
        ASSERT_EQ(offered->count(), 26);
        EXPECT_EQ(offered->item(c.central ? 0 : 25)->text(), u("Žilina"));
    }
}

TEST_F(GroupProposalPage, ProposalsTheRulesCannotKeepAreRefusedWithTheirReason)
{
    struct Case {
        int maxPlaces;
        int fixedCentres; // the first places of the list: Banská Bystrica, Bardejov, ...
        int centres;
        const char* message;
    };
    const Case cases[] = {
        { 12, 0, 2,
            "Skupiny nepojmú všetky miesta: P = 2, najviac m = 12 miest v skupine, spolu 24 miest, projekt "
            "má n = 27 miest !!!" },
        { 4, 1, 6,
            "Skupiny nepojmú všetky miesta: P = 6, najviac m = 4 miesta v skupine, spolu 24 miest, projekt "
            "má n = 27 miest !!!" },
        { 0, 2, 1, "Počet centier P = 1 je menší ako počet existujúcich centier (2) !!!" },
        { 2, 0, 3, "Skupina musí smieť mať aspoň 3 miesta, m = 2 je málo !!!" },
        { 12, 0, 10,
            "Skupiny nemožno naplniť: P = 10, aspoň 3 miesta v skupine, spolu 30 miest, projekt má n = 27 "
            "miest (m = 12) !!!" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        open({ false, c.maxPlaces });
        for (int f = 0; f < c.fixedCentres; ++f) {
            choose("FixedPlacesList", { 0 });
            QTest::mouseClick(get<QPushButton>("FixedAddButton"), Qt::LeftButton);
        }
        dialogs.shown.clear();
        propose(c.centres);
        EXPECT_EQ(dialogs.texts("warn"), QStringList { u(c.message) });
        EXPECT_EQ(QApplication::overrideCursor(), nullptr); // no search started
        EXPECT_EQ(get<QTableWidget>("CentreTable")->rowCount(), 0);
        EXPECT_EQ(get<QListWidget>("ListBox9")->count(), 0);
    }
}

TEST_F(GroupProposalPage, ExistingCentresAndALimitGiveTheCommandLinesGroupsAndAnEmptyRowWhereNoneFit)
{
    const QString file = open({ false, 12 });
    choose("FixedPlacesList", { 26 }); // Žilina
    QTest::mouseClick(get<QPushButton>("FixedAddButton"), Qt::LeftButton);
    propose(3);
    ASSERT_TRUE(waitForRows(8));
    const QStringList shown = items(get<QListWidget>("ListBox9"));
    ASSERT_EQ(shown.size(), 30); // 3 headers and the 27 towns

    // The command line, with the project's limit of 12 and Žilina fixed, gives the same groups;
    // Žilina's group comes first and keeps its centre on Žilina.
    const QJsonObject cli = cliGroups(file, 3, { "Žilina" });
    EXPECT_EQ(shown, groupLines(cli));
    const QJsonArray groups = cli["groups"].toArray();
    ASSERT_EQ(groups.size(), 3);
    EXPECT_TRUE(groups[0]["fixed"].toBool());
    EXPECT_EQ(groups[0]["centre_place"].toString(), u("Žilina"));
    for (const QJsonValue& g : groups) {
        const qsizetype size = g["members"].toArray().size();
        EXPECT_GE(size, 3);
        EXPECT_LE(size, 12);
    }

    // One centre (Žilina alone) and two cannot hold 27 places at 12 a group: empty rows that
    // say why, and the first row that fits shows no saving. From 3 on, the totals are those of
    // the command line with the same rules.
    auto* table = get<QTableWidget>("CentreTable");
    for (int r = 0; r < 8; ++r) {
        SCOPED_TRACE(r + 1);
        EXPECT_EQ(table->item(r, 0)->text(), QString::number(r + 1));
        if (r < 2) {
            EXPECT_TRUE(table->item(r, 1)->text().isEmpty());
            EXPECT_TRUE(table->item(r, 2)->text().isEmpty());
            EXPECT_FALSE(table->item(r, 0)->toolTip().isEmpty());
            continue;
        }
        EXPECT_EQ(table->item(r, 2)->text().isEmpty(), r == 2);
        const double total
            = r + 1 == 3 ? cli["total"].toDouble() : cliGroups(file, r + 1, { "Žilina" })["total"].toDouble();
        bool ok = false;
        const double shownTotal = QLocale().toDouble(table->item(r, 1)->text(), &ok);
        ASSERT_TRUE(ok) << table->item(r, 1)->text().toStdString();
        EXPECT_NEAR(shownTotal, total, 1e-4);
    }
    EXPECT_EQ(table->item(0, 0)->toolTip(),
        u("Skupiny nepojmú všetky miesta: P = 1, najviac m = 12 miest v skupine, spolu 12 miest, projekt má "
          "n = 27 miest !!!"));
}

TEST_F(GroupProposalPage, TheTableReachesTheChosenNumberOfCentresAboveEight)
{
    const QString file = open({ false, 0 });
    propose(9);
    ASSERT_TRUE(waitForRows(9));
    auto* table = get<QTableWidget>("CentreTable");
    EXPECT_EQ(table->item(8, 0)->text(), QStringLiteral("9"));
    bool ok = false;
    const double shown = QLocale().toDouble(table->item(8, 1)->text(), &ok);
    ASSERT_TRUE(ok);
    const double total = cliGroups(file, 9, {})["total"].toDouble();
    EXPECT_NEAR(shown, total, 1e-4);
    EXPECT_FALSE(table->item(8, 2)->text().isEmpty());
}

} // namespace

TEST_F(GroupProposalPage, ATakenProposalIsUndoneAndRedoneAsOneStep)
{
    open({ false, 0 });
    // Ticking the groups box on the way to the page is a step of its own; the proposal follows.
    const dorvan::RecordBytes before = dorvan::encodeRecord(w->project().Record);
    const dorvan::DistributionGroups groupsBefore = w->project().Choices.Groups;
    propose(3);
    ASSERT_TRUE(waitForRows(8));
    ASSERT_EQ(items(get<QListWidget>("ListBox9")).size(), 30); // 3 headers and the 27 towns
    const dorvan::RecordBytes after = dorvan::encodeRecord(w->project().Record);
    const dorvan::DistributionGroups groupsAfter = w->project().Choices.Groups;
    ASSERT_NE(after, before);
    ASSERT_EQ(groupsAfter.Groups.size(), 3u);

    dorvan::ProjectDocument document(w->project());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(dorvan::encodeRecord(w->project().Record), before);
    EXPECT_EQ(w->project().Choices.Groups, groupsBefore);
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(dorvan::encodeRecord(w->project().Record), after);
    EXPECT_EQ(w->project().Choices.Groups, groupsAfter);
}
