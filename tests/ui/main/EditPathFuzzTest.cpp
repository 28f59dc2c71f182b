// The sample project edited through the real controls by a seeded random sequence of user
// actions across the data-entry window's pages, with undos and redos between them: every step
// is a named command's (never the fallback for a change made beside the commands), every undo
// and redo puts back the state recorded for that point, and undoing everything gives the
// opened project, with nothing unsaved and the controls showing it again.
#include "MainWindowTestSupport.h"

#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using dorvan::test::MainWindowFixture;

// What the data-entry window shows of the project, read from its controls.
struct ShownState {
    QStringList ticked; // the criterion boxes 1-17
    QString quantityCell; // the quantity grid's first place
    QStringList groups; // the group list
    QStringList places; // the place list's names
    bool operator==(const ShownState&) const = default;
};

void PrintTo(const ShownState& s, std::ostream* os)
{
    *os << "ticked " << s.ticked.join(',').toStdString() << "; quantity " << s.quantityCell.toStdString()
        << "; groups " << s.groups.join('|').toStdString() << "; places " << s.places.join('|').toStdString();
}

std::size_t firstDiff(const dorvan::RecordBytes& a, const dorvan::RecordBytes& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return i;
    return a.size();
}

// What the project holds at one point of the history.
struct HeldState {
    dorvan::RecordBytes bytes;
    dorvan::EntryChoices choices;
    ShownState view; // what the data-entry window showed of it
};

class EditPathFuzz : public MainWindowFixture {
protected:
    void SetUp() override
    {
        w->resize(1400, 950);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        ASSERT_TRUE(w->openProjectFile(QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd")));
        settle();
        ASSERT_NE(w->entryWindow(), nullptr);
    }

    static void settle()
    {
        QCoreApplication::processEvents();
        flushDeletes();
    }
    template <typename T> T* entry(const char* name)
    {
        return dorvan::test::control<T>(w->entryWindow(), name);
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    QString number(int low, int high) { return QString::number(low + pick(high - low + 1)); }

    void showPage(int index) { entry<QTabWidget>("PageControl1")->setCurrentIndex(index); }
    void showSheet(const char* sheet)
    {
        showPage(1);
        entry<QTabWidget>("PageControl2")->setCurrentWidget(entry<QWidget>(sheet));
        QCoreApplication::processEvents(); // the sheet laid out before its lists are clicked
    }
    void click(const char* button) { QTest::mouseClick(entry<QPushButton>(button), Qt::LeftButton); }
    // A click on the box itself: the middle of a stretched check box is no hit.
    void tick(const char* name)
    {
        showPage(1);
        clickIndicator(entry<QAbstractButton>(name));
    }
    static void clickIndicator(QAbstractButton* b)
    {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Ticks a criterion box when it is not ticked yet, a step of its own before the edit on its
    // sheet.
    void tickOn(const char* name)
    {
        if (entry<QCheckBox>(name)->isChecked())
            return;
        tick(name);
        settle();
        note();
    }
    void typeInto(const char* edit, const QString& text)
    {
        auto* e = entry<QLineEdit>(edit);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
    }
    void pickLine(const char* list)
    {
        auto* l = entry<QListWidget>(list);
        if (l->count() == 0)
            return;
        const int row = pick(l->count());
        l->scrollToItem(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }
    void chooseInCombo(const char* combo)
    {
        auto* c = entry<QComboBox>(combo);
        c->setFocus();
        for (int i = pick(4) + 1; i > 0; --i)
            QTest::keyClick(c, Qt::Key_Down);
    }
    void editCell(const char* grid, int row, int col, const QString& text)
    {
        auto* g = entry<QTableWidget>(grid);
        g->setFocus();
        g->setCurrentCell(row, col);
        g->editItem(g->item(row, col));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (editor == nullptr)
            return; // the grid takes no value here (a read-only column)
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }

    // The user's actions, each a click or a few keys on the real controls.
    void criterionBox() { tick(("CheckBox" + std::to_string(1 + pick(15))).c_str()); }
    void valueGrid()
    {
        static const char* const sheets[][3] = { { "CheckBox1", "TabSheet1", "StringGrid8" },
            { "CheckBox2", "TabSheet2", "StringGrid9" }, { "CheckBox14", "TabSheet12", "StringGrid10" } };
        const auto& s = sheets[pick(3)];
        tickOn(s[0]);
        showSheet(s[1]);
        auto* g = entry<QTableWidget>(s[2]);
        if (g->rowCount() > 1)
            editCell(s[2], 1 + pick(g->rowCount() - 1), g->columnCount() - 1, number(1, 90));
    }
    void singleValue()
    {
        struct Single {
            const char *box, *sheet, *edit, *ok;
        };
        static const Single singles[] = { { "CheckBox11", "TabSheet11", "Edit30", "Button32" },
            { "CheckBox15", "TabSheet13", "Edit45", "Button40" },
            { "CheckBox8", "TabSheet8", "Edit26", "Button26" },
            { "CheckBox9", "TabSheet9", "Edit27", "Button27" } };
        const Single& s = singles[pick(4)];
        tickOn(s.box);
        showSheet(s.sheet);
        typeInto(s.edit, number(1, 9));
        click(s.ok);
    }
    void centre()
    {
        tickOn("CheckBox6");
        showSheet("TabSheet6");
        if (entry<QComboBox>("ComboBox5")->isEnabled()) {
            chooseInCombo("ComboBox5");
            click("Button19");
        } else {
            click("Button20");
            chooseInCombo("ComboBox6");
            click("Button21");
        }
    }
    void twoLists(const char* box, const char* sheet, const char* offered, const char* chosen, const char* in,
        const char* out)
    {
        tickOn(box);
        showSheet(sheet);
        const bool into = pick(3) > 0;
        pickLine(into ? offered : chosen);
        click(into ? in : out);
    }
    void distance()
    {
        tickOn("CheckBox3");
        showSheet("TabSheet3");
        if (entry<QLineEdit>("Edit11")->isEnabled()) {
            typeInto("Edit11", number(5, 300));
            QTest::keyClick(entry<QLineEdit>("Edit11"), Qt::Key_Return);
        } else {
            click("Button11");
            chooseInCombo("ComboBox3");
            chooseInCombo("ComboBox4");
            typeInto("Edit13", number(5, 300));
            click("Button12");
        }
    }
    void settings()
    {
        tickOn("CheckBox16");
        showSheet("TabSheet14");
        switch (pick(4)) {
        case 0:
            clickIndicator(entry<QRadioButton>(("RadioButton" + std::to_string(1 + pick(4))).c_str()));
            break;
        case 1:
            clickIndicator(entry<QRadioButton>(pick(2) ? "RadioButton5" : "RadioButton6"));
            break;
        case 2:
            typeInto("Edit47", "0,0" + number(1, 9));
            click("Button41");
            break;
        default:
            typeInto("Edit48", number(1, 3));
            click("Button42");
            break;
        }
    }
    void groups()
    {
        tickOn("CheckBox17");
        showSheet("TabSheet15");
        switch (pick(3)) {
        case 0:
            pickLine("ListBox8");
            click("Button43");
            break;
        case 1:
            click("Button45");
            break;
        default:
            pickLine("ListBox9");
            click("Button44");
            break;
        }
    }
    void addPlace()
    {
        showPage(0);
        typeInto("Edit1", "1");
        QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
        note(); // the count is a step of its own
        typeInto("Edit2", "Obec" + QString(QChar('A' + added_ / 26)) + QChar('a' + added_ % 26));
        ++added_;
        typeInto("Edit3", number(0, 400));
        typeInto("Edit4", number(0, 300));
        click("OKButton3");
    }
    void renamePlace()
    {
        showPage(0);
        auto* g = entry<QTableWidget>("StringGrid6");
        if (g->rowCount() > 1)
            editCell(
                "StringGrid6", 1 + pick(g->rowCount() - 1), 1, "Mesto" + QString(QChar('a' + added_ % 26)));
        ++added_;
    }
    void deletePlace()
    {
        showPage(0);
        auto* g = entry<QTableWidget>("StringGrid6");
        if (g->rowCount() < 8)
            return;
        g->setFocus();
        g->setCurrentCell(1 + pick(g->rowCount() - 1), 1);
        dialogs.confirmAnswers = { true };
        QTest::keyClick(g, Qt::Key_Delete);
        dialogs.confirmAnswers.clear();
    }
    // The focus on a criterion box: "&Undo" then takes back no text field's own edit.
    void focusAway()
    {
        showPage(1);
        entry<QCheckBox>("CheckBox1")->setFocus();
        settle();
    }
    // "&Undo" and "Krok vpred" as the user takes them after clicking away from the text fields.
    bool historyStep(bool forward)
    {
        dorvan::ProjectDocument document(w->project());
        if (!(forward ? document.canRedo() : document.canUndo()))
            return false;
        focusAway();
        action(forward ? "KrokVpred" : "KrokSpat")->trigger();
        settle();
        return true;
    }

    HeldState held() { return { dorvan::encodeRecord(w->project().Record), w->project().Choices, shown() }; }
    ShownState shown()
    {
        ShownState s;
        for (int i = 1; i <= 17; ++i)
            if (entry<QCheckBox>(("CheckBox" + std::to_string(i)).c_str())->isChecked())
                s.ticked << QString::number(i);
        auto* quantities = entry<QTableWidget>("StringGrid8");
        const QTableWidgetItem* q
            = quantities->rowCount() > 1 ? quantities->item(1, quantities->columnCount() - 1) : nullptr;
        s.quantityCell = q ? q->text() : QString();
        s.groups = dorvan::test::lines(entry<QListWidget>("ListBox9"));
        auto* list = entry<QTableWidget>("StringGrid6");
        for (int row = 1; row < list->rowCount(); ++row)
            s.places << (list->item(row, 1) ? list->item(row, 1)->text() : QString());
        return s;
    }

    // What the project held after each step done so far: states[d] with d steps done.
    std::vector<HeldState> states;
    // The state after an edit: the state of the history's point it stands at. An edit drops
    // the steps that could be redone; an action that made no step keeps them.
    void note()
    {
        const dorvan::EditHistory& history = *w->project().History;
        states.resize(history.steps.size() + 1);
        states[history.done] = held();
    }

    std::mt19937 rng { 20261210u };
    int added_ = 0;
};

} // namespace

TEST_F(EditPathFuzz, RandomEditsAreNamedStepsAndUndoToTheOpenedProjectAndRedoToTheLast)
{
    const dorvan::EditHistory& history = *w->project().History;
    const HeldState opened = held();
    const ShownState openedShown = shown();
    ASSERT_EQ(history.done, 0u);
    ASSERT_TRUE(w->statusPanelText(1).isEmpty());

    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        { "criterion box", [this] { criterionBox(); } },
        { "value grid", [this] { valueGrid(); } },
        { "value grid", [this] { valueGrid(); } },
        { "single value", [this] { singleValue(); } },
        { "single value", [this] { singleValue(); } },
        { "centre", [this] { centre(); } },
        { "depots",
            [this] { twoLists("CheckBox7", "TabSheet7", "ListBox2", "ListBox3", "Button22", "Button23"); } },
        { "priorities",
            [this] {
                twoLists("CheckBox10", "TabSheet10", "ListBox6", "ListBox7", "Button30", "Button31");
            } },
        { "distance", [this] { distance(); } },
        { "settings", [this] { settings(); } },
        { "settings", [this] { settings(); } },
        { "groups", [this] { groups(); } },
        { "groups", [this] { groups(); } },
        { "add place", [this] { addPlace(); } },
        { "rename place", [this] { renamePlace(); } },
        { "delete place", [this] { deletePlace(); } },
    };
    states = { opened };
    int undos = 0, redos = 0;
    for (int n = 0; n < 60; ++n) {
        const int roll = pick(12);
        std::string what;
        if (roll == 0 && history.done > 0) {
            what = "undo";
            ASSERT_TRUE(historyStep(false));
            ++undos;
        } else if (roll == 1 && history.done < history.steps.size()) {
            what = "redo";
            ASSERT_TRUE(historyStep(true));
            ++redos;
        } else {
            const auto& [name, act] = actions[pick(int(actions.size()))];
            what = name;
            const std::uint64_t revision = history.revision;
            const dorvan::RecordBytes before = dorvan::encodeRecord(w->project().Record);
            act();
            settle();
            if (history.revision == revision) {
                ASSERT_TRUE(dorvan::encodeRecord(w->project().Record) == before)
                    << "action " << n << " (" << what << ") changed the record with no step";
            }
        }
        SCOPED_TRACE("action " + std::to_string(n) + ": " + what);
        if (what == "undo" || what == "redo") {
            ASSERT_LT(history.done, states.size());
            const HeldState now = held();
            EXPECT_TRUE(now.bytes == states[history.done].bytes) << "the record at step " << history.done;
            EXPECT_EQ(now.choices, states[history.done].choices) << "the choices at step " << history.done;
            EXPECT_EQ(now.view, states[history.done].view) << "the controls at step " << history.done;
        } else {
            note();
        }
    }
    // The history may have been cut short by an undo followed by an edit: what stands now is the
    // last state, and every step still held is a real command's.
    const std::size_t steps = history.steps.size();
    while (history.done < steps)
        ASSERT_TRUE(historyStep(true));
    note();
    const HeldState last = held();
    const ShownState lastShown = shown();
    ASSERT_GE(steps, 35u) << "the sequence made too few steps to say much";
    EXPECT_GT(undos + redos, 4);
    for (std::size_t i = 0; i < history.steps.size(); ++i) {
        EXPECT_FALSE(history.steps[i].name.empty()) << "step " << i;
        EXPECT_NE(history.steps[i].name, "Úprava") << "step " << i << " was a change beside the commands";
    }
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));

    focusAway();
    while (history.done > 0) {
        const std::size_t done = history.done;
        action("KrokSpat")->trigger();
        settle();
        ASSERT_EQ(history.done, done - 1) << "one undo, one step";
        EXPECT_TRUE(held().bytes == states[history.done].bytes)
            << "the record at step " << history.done << " after undoing " << history.steps[history.done].name
            << ", first byte apart " << firstDiff(held().bytes, states[history.done].bytes);
        EXPECT_EQ(shown(), states[history.done].view) << "the controls at step " << history.done;
    }
    EXPECT_TRUE(held().bytes == opened.bytes);
    EXPECT_EQ(held().choices, opened.choices);
    EXPECT_FALSE(state().UnsavedChanges);
    EXPECT_TRUE(w->statusPanelText(1).isEmpty()) << w->statusPanelText(1).toStdString();
    EXPECT_EQ(shown(), openedShown);

    while (dorvan::ProjectDocument(w->project()).canRedo()) {
        action("KrokVpred")->trigger();
        settle();
    }
    EXPECT_TRUE(held().bytes == last.bytes);
    EXPECT_EQ(held().choices, last.choices);
    EXPECT_EQ(shown(), lastShown);
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
}
