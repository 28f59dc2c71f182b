#pragma once

#include "core/project/Project.h"
#include "support/Controls.h"
#include "support/QtPrinters.h"
#include "support/RerunCounter.h"
#include "support/ScriptedDialogs.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMapLoad.h"
#include "ui/entry/Vstupne_Udaje.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <source_location>
#include <string>
#include <vector>

namespace dorvan::test {

// Waits until the picture page of `window` has no file being read (its own thread) and the
// result was handed back; a load hanging for 30 s fails the test.
inline entry::MapLoadTask* mapLoadTask(const QObject* window)
{
    return dynamic_cast<entry::MapLoadTask*>(window->findChild<QObject*>("MapLoadTask"));
}
inline void waitForMapLoad(const QObject* window)
{
    entry::MapLoadTask* task = mapLoadTask(window);
    ASSERT_NE(task, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([task] { return !task->busy(); }, 30000));
}

// The refusal of a list whose places all stand on one spot.
inline const QString SameSpot = QString::fromUtf8("Nesmú byť všetky rovnaké SÚRADNICE !!!");

// The main window as the data-entry window sees it: records every call, the value changes and
// the reruns the project is told of, and keeps the one enabled state the tests look at,
// "Riešenie DORVAN", by the main window's rule.
struct RecordingEntryHost : EntryHost, RerunCounter {
    explicit RecordingEntryHost(Project& p)
        : project(p)
    {
        watch(p);
    }
    Project& project;
    QStringList calls;
    int changes = 0;
    bool cooperEnabled = false;
    bool cooperOpen = false; // an allocation window is open

    bool cooperWindowOpen() const override { return cooperOpen; }

    void entryValuesChanged() override { ++changes; }
    void entryFirstCountAccepted() override { calls << "firstCount"; }
    void entryLastPlaceEntered() override
    {
        calls << "lastPlace";
        if (project.State.CoordsDiffer)
            cooperEnabled = true;
    }
    void entrySettingsSwitched(bool on) override
    {
        calls << (on ? "settingsOn" : "settingsOff");
        cooperEnabled = on && project.State.CoordsDiffer;
    }
    void entryWindowClosed() override
    {
        calls << "closed";
        cooperEnabled = false;
    }
    std::vector<int> progress; // every percent shown, in order
    bool progressShown = false;
    void entryProgress(const QString&, int percent) override
    {
        progress.push_back(percent);
        progressShown = true;
    }
    void entryProgressEnded() override { progressShown = false; }
    QString notice;
    void entryStatusNotice(const QString& text) override { notice = text; }
};

struct TypedPlace {
    QString name, x, y;
};

// A data-entry window on a project as "Nový" leaves it, shown and active, with scripted dialogs
// and a recording host; the helpers drive its controls as a user would.
class EntryWindowFixture : public ::testing::Test {
protected:
    explicit EntryWindowFixture(QSize size = {})
        : size_(size)
    {
    }

    void SetUp() override
    {
        project.resetAtStart();
        auto& s = project.State;
        s.FirstEntryMode = true;
        s.NextPlace = 1;
        s.EntryStarted = true;
        w = new TVstupUdajov(project, dialogs, host);
        if (size_.isValid())
            w->resize(size_);
        w->show();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    void TearDown() override
    {
        if (w) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            delete w.data();
        }
    }

    // Each helper takes its caller's place, so a missing control is reported at the test's line.
    template <typename T> T* get(const char* name, Here at = Here::current()) const
    {
        return control<T>(w.data(), name, at);
    }
    template <typename T> T* get(const QObject* in, const char* name, Here at = Here::current()) const
    {
        return control<T>(in, name, at);
    }

    // QTest types ASCII only; other letters go in as a paste would.
    void typeInto(const char* edit, const QString& text, Here at = Here::current())
    {
        auto* e = get<QLineEdit>(edit, at);
        e->clear();
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; }))
            QTest::keyClicks(e, text);
        else
            e->insert(text);
    }
    // The place count (or the count of places to add), confirmed with Enter.
    void count(const QString& n, Here at = Here::current())
    {
        typeInto("Edit1", n, at);
        QTest::keyClick(get<QLineEdit>("Edit1", at), Qt::Key_Return);
    }
    void place(const QString& name, const QString& x, const QString& y, Here at = Here::current())
    {
        typeInto("Edit2", name, at);
        typeInto("Edit3", x, at);
        typeInto("Edit4", y, at);
        click("OKButton3", at);
    }
    // A whole list typed on the manual-entry page: its count, then each place.
    void enterList(std::initializer_list<TypedPlace> places, Here at = Here::current())
    {
        count(QString::number(places.size()), at);
        for (const TypedPlace& p : places)
            place(p.name, p.x, p.y, at);
    }
    void click(const char* button, Here at = Here::current())
    {
        QTest::mouseClick(get<QPushButton>(button, at), Qt::LeftButton);
    }
    // A click on the box or circle itself: the middle of a stretched check box is no hit.
    void tick(const char* name, Here at = Here::current())
    {
        auto* b = get<QAbstractButton>(name, at);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    void showPage(int index, Here at = Here::current())
    {
        get<QTabWidget>("PageControl1", at)->setCurrentIndex(index);
    }

    QString cell(const char* grid, int row, int col, Here at = Here::current())
    {
        QTableWidgetItem* item = get<QTableWidget>(grid, at)->item(row, col);
        return item ? item->text() : QString("<none>");
    }
    // Types into a grid cell through its editor and ends the edit with Enter.
    void editCell(const char* grid, int row, int col, const QString& text, Here at = Here::current())
    {
        auto* g = get<QTableWidget>(grid, at);
        g->setCurrentCell(row, col);
        g->editItem(g->item(row, col));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (editor == nullptr)
            stopTest(std::string("no cell editor opened in ") + grid, at);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ScriptedDialogs dialogs;
    Project project;
    RecordingEntryHost host { project };
    QPointer<TVstupUdajov> w;

private:
    QSize size_;
};

// The criteria page over a complete list of three places: Alfa (0;0), Beta (4;0), Gama (0;3).
class ThreePlacesFixture : public EntryWindowFixture {
protected:
    explicit ThreePlacesFixture(QSize size = {})
        : EntryWindowFixture(size)
    {
    }
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(EntryWindowFixture::SetUp());
        enterList({ { "Alfa", "0", "0" }, { "Beta", "4", "0" }, { "Gama", "0", "3" } });
        ASSERT_EQ(project.State.NextPlace, 4);
        showPage(1);
        dialogs.shown.clear();
    }
};

} // namespace dorvan::test
