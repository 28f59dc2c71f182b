// "&Undo" and "Krok vpred" of the main window on the distance entry: a pair answered with Enter
// in its field is the step taken back (not the field's emptying), and undoing back to the saved
// project leaves nothing unsaved.
#include "MainWindowTestSupport.h"
#include "core/project/RecordCodec.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

using dorvan::test::MainWindowFixture;

struct EntryUndo : MainWindowFixture {
    QTemporaryDir dir;

    template <typename T> T* entry(const char* name)
    {
        return dorvan::test::control<T>(w->entryWindow(), name);
    }
    void typeAndEnter(const char* edit, const QString& text)
    {
        auto* e = entry<QLineEdit>(edit);
        e->setFocus();
        e->clear();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
};

TEST_F(EntryUndo, APairAnsweredWithEnterIsTakenBackByUndo)
{
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->projectFiles().NovyVUClick();
    typeAndEnter("Edit1", "3");
    const char* places[][3] = { { "Alfa", "0", "0" }, { "Beta", "4", "0" }, { "Gama", "0", "3" } };
    for (const auto& p : places) {
        entry<QLineEdit>("Edit2")->setText(u(p[0]));
        entry<QLineEdit>("Edit3")->setText(u(p[1]));
        entry<QLineEdit>("Edit4")->setText(u(p[2]));
        QTest::mouseClick(entry<QPushButton>("OKButton3"), Qt::LeftButton);
    }
    ASSERT_TRUE(state().PlacesComplete);
    entry<QCheckBox>("CheckBox3")->click();
    dialogs.fileAnswers = { dir.filePath("vzdialenosti") };
    w->saving().UlozAkoVUClick();
    ASSERT_FALSE(state().UnsavedChanges);
    const dorvan::RecordBytes saved = dorvan::encodeRecord(w->project().Record);

    entry<QTabWidget>("PageControl1")->setCurrentIndex(1);
    entry<QTabWidget>("PageControl2")->setCurrentWidget(entry<QWidget>("TabSheet3"));
    typeAndEnter("Edit11", "6,5");
    ASSERT_EQ(w->project().Record.Distance[1][2], 6.5);
    ASSERT_EQ(QApplication::focusWidget(), entry<QLineEdit>("Edit11"));
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
    const dorvan::RecordBytes typed = dorvan::encodeRecord(w->project().Record);

    // The focus is still in the emptied field; the menu's "&Undo" takes back the pair.
    action("KrokSpat")->trigger();
    EXPECT_TRUE(dorvan::encodeRecord(w->project().Record) == saved);
    EXPECT_EQ(w->project().Record.Distance[1][2], 4.0);
    EXPECT_EQ(entry<QGroupBox>("GroupBox13")->title(), u(" Vzdialenosť Alfa<--->Beta "));
    EXPECT_FALSE(state().UnsavedChanges);
    EXPECT_TRUE(w->statusPanelText(1).isEmpty());
    EXPECT_TRUE(on("KrokVpred"));

    action("KrokVpred")->trigger();
    EXPECT_TRUE(dorvan::encodeRecord(w->project().Record) == typed);
    EXPECT_EQ(entry<QGroupBox>("GroupBox13")->title(), u(" Vzdialenosť Alfa<--->Gama "));
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
}

} // namespace
