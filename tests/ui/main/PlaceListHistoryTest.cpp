// The place list's edits in the history, as the main window shows them: an imported list is one
// step from an empty project, undone and redone with the data-entry window following.
#include "MainWindowTestSupport.h"

#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"

#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

using dorvan::test::MainWindowFixture;

namespace {

struct PlaceListHistory : MainWindowFixture {
    QTemporaryDir dir;

    template <typename T> T* entry(const char* name)
    {
        return dorvan::test::control<T>(w->entryWindow(), name);
    }
    QStringList gridNames()
    {
        auto* g = entry<QTableWidget>("StringGrid6");
        QStringList names;
        for (int row = 1; row < g->rowCount(); ++row)
            names << g->item(row, 1)->text();
        return names;
    }
    bool projectPagesOn()
    {
        auto* pages = entry<QTabWidget>("PageControl1");
        return pages->isTabEnabled(1) && pages->isTabEnabled(3);
    }
};

} // namespace

TEST_F(PlaceListHistory, AnImportIsOneStepBackToAnEmptyProjectAndForwardToTheList)
{
    const QString csv = dir.filePath("three.csv");
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("name;x;y\nPeter;1;1\nAnna;4;5\nJozef;9;2\n");
    f.close();
    dialogs.fileAnswers.push_back(csv);
    dialogs.textAnswers.push_back(QString()); // plain kilometres
    action("ImportujMiesta")->trigger();
    ASSERT_NE(w->entryWindow(), nullptr);
    ASSERT_EQ(state().PlaceCount, 3);
    const dorvan::RecordBytes imported = dorvan::encodeRecord(w->project().Record);
    EXPECT_EQ(gridNames(), (QStringList { "Anna", "Jozef", "Peter" }));
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_EQ(w->statusPanelText(1), u("Importované miesta: 3"));
    ASSERT_TRUE(on("KrokSpat"));
    EXPECT_TRUE(on("Cooper"));

    entry<QTableWidget>("StringGrid6")->setFocus();
    action("KrokSpat")->trigger();
    EXPECT_EQ(state().PlaceCount, 0);
    EXPECT_FALSE(state().UnsavedChanges) << "the empty project is the saved point";
    EXPECT_FALSE(on("KrokSpat"));
    EXPECT_TRUE(on("KrokVpred"));
    // The window asks for a first count again, with no list and only its entry pages.
    EXPECT_TRUE(entry<QTableWidget>("StringGrid6")->isHidden());
    EXPECT_EQ(entry<QLabel>("Label1")->text(), u(" Zadajte počet miest, MINIMÁLNE 2 "));
    EXPECT_FALSE(projectPagesOn());
    EXPECT_FALSE(on("Cooper")) << "no places to allocate";
    EXPECT_EQ(w->statusPanelText(1), QString()) << "the import's count tells of places taken back";

    action("KrokVpred")->trigger();
    EXPECT_EQ(dorvan::encodeRecord(w->project().Record), imported);
    EXPECT_EQ(state().PlaceCount, 3);
    EXPECT_FALSE(entry<QTableWidget>("StringGrid6")->isHidden());
    EXPECT_EQ(gridNames(), (QStringList { "Anna", "Jozef", "Peter" }));
    EXPECT_EQ(entry<QLabel>("Label1")->text(), u(" Koľko miest doplniť ? "));
    EXPECT_TRUE(projectPagesOn());
    EXPECT_TRUE(on("Cooper"));
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
}
