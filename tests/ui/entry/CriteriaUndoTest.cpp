// The criteria page after an undo and a redo: each edit made with the real controls is one step,
// the record comes back byte for byte, and the boxes, the value grids and the current values
// show what the project holds again, as they showed it before the edit and after it.
#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"
#include "support/EntryWindowFixture.h"

#include <QCheckBox>
#include <QGroupBox>

#include <functional>
#include <vector>

namespace {

class CriteriaUndo : public dorvan::test::ThreePlacesFixture {
protected:
    // A box brought to a state by a click, when it is not there yet.
    void setTicked(const char* box, bool on)
    {
        if (get<QCheckBox>(box)->isChecked() != on)
            tick(box);
    }
    void enter(const char* edit, const char* text, const char* ok)
    {
        typeInto(edit, text);
        click(ok);
    }
    QString text(const char* edit) { return get<QLineEdit>(edit)->text(); }
    QString on(const char* widget) { return get<QWidget>(widget)->isEnabled() ? "on" : "off"; }
    QString ticked(const char* box) { return get<QCheckBox>(box)->isChecked() ? "ticked" : "unticked"; }
    QString tab(const char* sheet)
    {
        auto* pages = get<QTabWidget>("PageControl2");
        return pages->indexOf(get<QWidget>(sheet)) >= 0 ? "tab" : "no tab";
    }
    // An undo or a redo as the main window's items make it: the windows show the project
    // again, and what they set doing so is no edit.
    bool step(bool undo)
    {
        dorvan::ProjectDocument document(project);
        const bool done = undo ? document.undo() : document.redo();
        document.viewsShown();
        QCoreApplication::processEvents();
        return done;
    }
};

struct Row {
    const char* what;
    std::function<void()> setUp; // the state the edit starts from
    std::function<void()> edit; // one user action
    std::function<QStringList()> view; // what the page shows of it
    QStringList shownAfter; // the view after the edit, worked out from the page's rules
};

TEST_F(CriteriaUndo, EveryCriterionEditIsUndoneAndRedoneWithWhatThePageShows)
{
    const std::vector<Row> rows = {
        { "quantity ticked", [] {}, [this] { tick("CheckBox1"); },
            [this] {
                return QStringList { ticked("CheckBox1"), tab("TabSheet1"), on("StringGrid8") };
            },
            { "ticked", "tab", "on" } },
        { "a quantity typed", [] {}, [this] { editCell("StringGrid8", 2, 4, "7"); },
            [this] {
                return QStringList { cell("StringGrid8", 2, 4), cell("StringGrid6", 2, 4) };
            },
            { "7", "7" } },
        { "quantity unticked", [] {}, [this] { tick("CheckBox1"); },
            [this] {
                return QStringList { ticked("CheckBox1"), tab("TabSheet1"), on("StringGrid8") };
            },
            { "unticked", "no tab", "off" } },
        { "the first route length", [this] { setTicked("CheckBox4", true); },
            [this] { enter("Edit17", "12,5", "Button13"); },
            [this] {
                return QStringList { on("GroupBox18"), on("Edit17"), on("GroupBox19"), text("Edit19") };
            },
            { "off", "off", "on", "12,5" } },
        { "a changed route length",
            [this] {
                setTicked("CheckBox4", true);
                click("Button14");
            },
            [this] { enter("Edit18", "30,25", "Button15"); },
            [this] { return QStringList { text("Edit19") }; }, { "30,25" } },
        { "a vehicle count", [this] { setTicked("CheckBox11", true); },
            [this] { enter("Edit30", "3", "Button32"); }, [this] { return QStringList { text("Edit38") }; },
            { "3" } },
        { "a loading time at the other places", [this] { setTicked("CheckBox8", true); },
            [this] { enter("Edit26", "2,5", "Button26"); }, [this] { return QStringList { text("Edit34") }; },
            { "2,5" } },
        { "places per group", [this] { setTicked("CheckBox15", true); },
            [this] { enter("Edit45", "4", "Button40"); }, [this] { return QStringList { text("Edit46") }; },
            { "4" } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.setUp();
        const dorvan::RecordBytes before = dorvan::encodeRecord(project.Record);
        const QStringList shownBefore = row.view();
        const std::size_t steps = project.History->done;
        row.edit();
        const dorvan::RecordBytes after = dorvan::encodeRecord(project.Record);
        ASSERT_NE(after, before) << "the edit changed nothing";
        ASSERT_EQ(row.view(), row.shownAfter);
        EXPECT_EQ(project.History->done, steps + 1) << "one edit, one step";

        ASSERT_TRUE(step(true));
        EXPECT_TRUE(dorvan::encodeRecord(project.Record) == before) << "undo";
        EXPECT_EQ(row.view(), shownBefore) << "undo";
        ASSERT_TRUE(step(false));
        EXPECT_TRUE(dorvan::encodeRecord(project.Record) == after) << "redo";
        EXPECT_EQ(row.view(), row.shownAfter) << "redo";
    }
}

} // namespace
