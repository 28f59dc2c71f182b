// The guard around event delivery: a handler or the group search's thread that throws leaves
// the program running, the message is shown once and the project stays as it was.
#include "ui/common/GuardedApplication.h"
#include "core/allocation/ChartGeometry.h"
#include "core/project/RecordCodec.h"
#include "support/ScriptedDialogs.h"
#include "ui/entry/EntryGroupProposal.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/Dorvan_Hlavny.h"

#include <QAction>
#include <QCheckBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

// This test program alone: what Qt allocated inside frames an exception was thrown through on
// purpose is not reported (objects allocated earlier, whose release those frames held, too).
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6Core\nleak:libQt6Gui\nleak:libQt6Widgets\n";
}
#endif

namespace {

using dorvan::GuardedApplication;
using dorvan::test::ScriptedDialogs;

// Shows the guard's messages through the test's dialogs while it lives.
class GuardShowsInto {
public:
    explicit GuardShowsInto(ScriptedDialogs& dialogs)
    {
        GuardedApplication::instance()->setDialogs(&dialogs);
    }
    ~GuardShowsInto() { GuardedApplication::instance()->setDialogs(nullptr); }
    GuardShowsInto(const GuardShowsInto&) = delete;
    GuardShowsInto& operator=(const GuardShowsInto&) = delete;
};

// Qt's own frames between the event delivery and a handler are not written for exceptions: an
// exception passing through them leaves a few of Qt's small allocations behind (a QPointer's
// count, a list). These tests throw on purpose, so the leak checker leaves what they allocate
// alone; every other test keeps it.
class QtFramesLeakWhenThrownThrough {
public:
    QtFramesLeakWhenThrownThrough()
    {
#if defined(__SANITIZE_ADDRESS__)
        __lsan_disable();
#endif
    }
    ~QtFramesLeakWhenThrownThrough()
    {
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
    }
    QtFramesLeakWhenThrownThrough(const QtFramesLeakWhenThrownThrough&) = delete;
    QtFramesLeakWhenThrownThrough& operator=(const QtFramesLeakWhenThrownThrough&) = delete;
};

const QString General = QString::fromUtf8("Nastala neočakávaná chyba, príkaz sa nevykonal !!!");

TEST(Guard, WhatAHandlerThrowsIsShownOnceAndTheNextEventsStillArrive)
{
    const QtFramesLeakWhenThrownThrough leaks;
    ASSERT_NE(GuardedApplication::instance(), nullptr);
    struct Case {
        const char* what;
        std::function<void()> fail;
        QString shown;
    };
    const Case cases[] = {
        { "runtime error", [] { throw std::runtime_error("Znak \xC5\x81 nemá miesto v kódovej stránke !!!"); },
            QString::fromUtf8("Znak Ł nemá miesto v kódovej stránke !!!") },
        // A broken precondition's text is not the user's: it gets the general message.
        { "out of range", [] { throw std::out_of_range("PlaceName: index 101 outside 1..100"); }, General },
        { "logic error", [] { throw std::logic_error("index"); }, General },
        { "no text", [] { throw std::runtime_error(" "); }, General },
        { "not an exception", [] { throw 42; }, General },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogs dialogs;
        GuardShowsInto guard(dialogs);
        QPushButton button("Button1");
        int clicks = 0;
        bool failing = true;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            if (failing)
                c.fail();
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(dialogs.texts("error"), QStringList { c.shown });

        // A handler run from the event loop: the loop goes on to the next timer.
        QEventLoop loop;
        bool later = false;
        QTimer::singleShot(0, &button, [&] { c.fail(); });
        QTimer::singleShot(5, &loop, [&] {
            later = true;
            loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(later);
        EXPECT_EQ(dialogs.texts("error"), (QStringList { c.shown, c.shown }));

        // The same button works again.
        failing = false;
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(clicks, 2);
        EXPECT_EQ(dialogs.texts("error").size(), 2);
    }
}

// The main window on the sample project, with its data-entry window.
class GuardOnSample : public ::testing::Test {
    // First of all: the fixture's own objects are thrown past too.
    QtFramesLeakWhenThrownThrough leaks_;

protected:
    void SetUp() override
    {
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1280, 900);
        w->show();
        ASSERT_TRUE(w->openProjectFile(QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd")));
        QCoreApplication::processEvents();
        ASSERT_NE(w->entryWindow(), nullptr);
        before = dorvan::encodeRecord(w->project().Record);
    }
    template <typename T> T* entry(const char* name) const
    {
        return w->entryWindow()->findChild<T*>(QString::fromLatin1(name));
    }
    static void trigger(QAction* action)
    {
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
    void expectProjectAsBefore(const dorvan::EntryChoices& choices, bool unsaved)
    {
        // The record holds the criterion boxes too.
        EXPECT_TRUE(dorvan::encodeRecord(w->project().Record) == before);
        const dorvan::EntryChoices& now = w->project().Choices;
        EXPECT_EQ(now.SettingsOn, choices.SettingsOn);
        EXPECT_TRUE(now.Settings == choices.Settings);
        EXPECT_TRUE(now.Groups == choices.Groups);
        EXPECT_EQ(w->project().State.UnsavedChanges, unsaved);
    }

    ScriptedDialogs dialogs;
    GuardShowsInto guard { dialogs };
    std::unique_ptr<TDorvan_Central> w;
    dorvan::RecordBytes before {};
};

TEST_F(GuardOnSample, AMenuCommandThatFailsHalfwayLeavesTheProjectAndTheWindowAsTheyWere)
{
    const QtFramesLeakWhenThrownThrough leaks;
    const dorvan::EntryChoices choices = w->project().Choices;
    const QString caption = w->caption();
    auto* save = w->findChild<QAction*>(QStringLiteral("UlozAkoVU"));
    ASSERT_NE(save, nullptr);
    // No file answer is queued: the save dialog itself fails under the command, which runs
    // from the event loop as a click on the menu does.
    trigger(save);
    EXPECT_EQ(dialogs.texts("error"), QStringList { General });
    expectProjectAsBefore(choices, false);
    EXPECT_EQ(w->caption(), caption);
    EXPECT_NE(w->entryWindow(), nullptr);
    // The program goes on: the next save asks for its name again.
    dialogs.fileAnswers.push_back(QString());
    trigger(save);
    EXPECT_EQ(dialogs.texts("save").size(), 2);
    EXPECT_EQ(dialogs.texts("error").size(), 1);
}

TEST_F(GuardOnSample, AGroupSearchThatFailsOnItsThreadIsShownOnceAndTheWindowGoesOn)
{
    const QtFramesLeakWhenThrownThrough leaks;
    auto* groups = entry<QCheckBox>("CheckBox17");
    ASSERT_NE(groups, nullptr);
    groups->setChecked(true);
    before = dorvan::encodeRecord(w->project().Record); // as the tick left it
    const dorvan::EntryChoices choices = w->project().Choices;
    const bool unsaved = w->project().State.UnsavedChanges;
    auto* proposal = dynamic_cast<entry::GroupProposal*>(entry<QGroupBox>("GroupProposalBox"));
    ASSERT_NE(proposal, nullptr);
    const QString message = QString::fromUtf8("Skupiny sa nepodarilo navrhnúť !!!");
    proposal->setSearch([message](auto, auto, auto, auto) -> dorvan::GroupSearchResult {
        throw std::runtime_error(message.toStdString());
    });
    entry<QLineEdit>("CentreCountEdit")->setText("3");
    QTest::mouseClick(entry<QPushButton>("ProposeButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !proposal->busy(); }, 10000));
    // Posted events still on their way are delivered before counting.
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.texts("error"), QStringList { message });
    EXPECT_EQ(entry<QListWidget>("ListBox9")->count(), 0);
    EXPECT_EQ(entry<QTableWidget>("CentreTable")->rowCount(), 0);
    expectProjectAsBefore(choices, unsaved);

    // The next search runs to its end: one row per number of centres, and no further message.
    int runs = 0;
    proposal->setSearch([&runs](auto, const dorvan::GroupSearchOptions& o, auto, auto) {
        ++runs;
        dorvan::GroupSearchResult r;
        r.centres = o.centres;
        r.total = 100.0L / o.centres;
        return r;
    });
    QTest::mouseClick(entry<QPushButton>("ProposeButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return entry<QTableWidget>("CentreTable")->rowCount() == 8; }, 10000));
    EXPECT_EQ(dialogs.texts("error").size(), 1);
}

// The C library formats and reads numbers with a point whatever language the system has. Qt takes
// the environment's locale for the C library as it starts; a Slovak LC_NUMERIC would turn every
// number the core prints into one with a decimal comma (CSV columns shifted, JSON broken). The
// test builds a Slovak locale, starts this program again under it and checks there.
TEST(GuardedApplicationLocale, NumbersKeepThePointUnderASlovakSystemLocale)
{
    if (qEnvironmentVariableIsSet("DORVAN_LOCALE_CHILD")) {
        // The application was made by main under the environment's locale: the rest of it holds.
        ASSERT_NE(std::string(std::setlocale(LC_TIME, nullptr)).find("sk_SK"), std::string::npos);
        EXPECT_STREQ(std::localeconv()->decimal_point, ".");
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", 1234.5);
        EXPECT_STREQ(text, "1234.50");
        EXPECT_EQ(dorvan::formatGeneral15(0.25, ","), "0,25");
        EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
        return;
    }
    QTemporaryDir locales;
    ASSERT_TRUE(locales.isValid());
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"),
        { QStringLiteral("-i"), QStringLiteral("sk_SK"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
            locales.filePath(QStringLiteral("sk_SK.UTF-8")) });
    // localedef ends with 1 after mere warnings: whether the locale is there is what counts.
    if (!localedef.waitForFinished(60000) || !QFileInfo::exists(locales.filePath(QStringLiteral("sk_SK.UTF-8"))))
        GTEST_SKIP() << "no Slovak locale source (Debian package locales) to build the locale from";

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LOCPATH"), locales.path());
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("sk_SK.UTF-8"));
    env.insert(QStringLiteral("DORVAN_LOCALE_CHILD"), QStringLiteral("1"));
    // glibc keeps a few bytes of a composite locale's name for good; the child only looks at
    // numbers, so the sanitizer build's leak check stays with the parent.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
        env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
        { QStringLiteral("--gtest_filter=GuardedApplicationLocale.*") });
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace
