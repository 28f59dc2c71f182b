#include "ui/entry/TwoListPicker.h"

#include "support/Controls.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using dorvan::test::lines;
using Side = entry::TwoListPicker::Side;
using Placement = entry::TwoListPicker::Placement;

std::vector<dorvan::Text100> names(const QStringList& texts)
{
    std::vector<dorvan::Text100> v;
    for (const QString& t : texts)
        v.push_back(dorvan::Text100::fromUtf8(t.toStdString()));
    return v;
}

// A picker in a shown window whose owner accepts every move except those of `refused`, and
// records each move it is asked for as "side:row:name".
struct PickerWindow {
    QWidget window;
    entry::TwoListPicker* picker = nullptr;
    QStringList asked;
    QString refused;

    explicit PickerWindow(Placement at)
    {
        picker = new entry::TwoListPicker({ "Outer", "OfferedBox", "Offered", "ChosenBox", "Chosen", "In", "Out" },
            { " Výber ", " Zoznam miest ", " Vybrané " }, &window);
        (new QVBoxLayout(&window))->addWidget(picker->box());
        picker->setMove([this, at](Side from, int row, const dorvan::Text100& name) {
            const QString text = QString::fromStdString(name.toUtf8());
            asked << QString("%1:%2:%3").arg(from == Side::Offered ? "in" : "out").arg(row).arg(text);
            if (text != refused)
                picker->moveLine(from, row, at);
        });
        window.resize(500, 400);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QListWidget* list(Side side) const { return picker->list(side); }
    void click(Side side, int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidget* l = list(side);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, modifiers, l->visualItemRect(l->item(row)).center());
    }
    void doubleClick(Side side, int row)
    {
        QListWidget* l = list(side);
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    }
};

// How the lines to move are chosen: a click on the first row, then Ctrl- or Shift-clicks on the
// others; or a double-click on the first row alone.
enum class Gesture { Arrow, CtrlArrow, ShiftArrow, DoubleClick, ArrowUnchosen };

struct MoveCase {
    const char* what;
    QStringList offered;
    QStringList chosen;
    Side from;
    Gesture gesture;
    std::vector<int> rows;
    Placement at;
    QString refused;
    QStringList asked;
    QStringList offeredAfter;
    QStringList chosenAfter;
};

TEST(TwoListPicker, MovesTheChosenLinesInListOrderOneAtATime)
{
    const std::vector<MoveCase> cases = {
        { "nothing chosen: the arrow asks for nothing", { "Alfa", "Beta" }, {}, Side::Offered,
            Gesture::ArrowUnchosen, {}, Placement::End, {}, {}, { "Alfa", "Beta" }, {} },
        { "one line in name order", { "Alfa", "Beta", "Gama" }, { "Delta" }, Side::Offered, Gesture::Arrow, { 2 },
            Placement::NameOrder, {}, { "in:2:Gama" }, { "Alfa", "Beta" }, { "Delta", "Gama" } },
        // Gama chosen first, then Alfa: Alfa goes first, and Gama is then on row 1.
        { "Ctrl-chosen lines go in list order", { "Alfa", "Beta", "Gama" }, {}, Side::Offered, Gesture::CtrlArrow,
            { 2, 0 }, Placement::End, {}, { "in:0:Alfa", "in:1:Gama" }, { "Beta" }, { "Alfa", "Gama" } },
        { "a Shift range from the end up", { "Alfa", "Beta", "Gama", "Delta" }, {}, Side::Offered,
            Gesture::ShiftArrow, { 3, 1 }, Placement::End, {}, { "in:1:Beta", "in:1:Gama", "in:1:Delta" },
            { "Alfa" }, { "Beta", "Gama", "Delta" } },
        // The chosen list keeps its own order (a priority list); the returning names sort by
        // their code-page bytes: Ž (0x8E) before Č (0xC8), both after the plain letters.
        { "back in code-page order", { "Beta", "Žilina" }, { "Čadca", "Alfa", "Zeta" }, Side::Chosen,
            Gesture::CtrlArrow, { 0, 1 }, Placement::NameOrder, {}, { "out:0:Čadca", "out:0:Alfa" },
            { "Alfa", "Beta", "Žilina", "Čadca" }, { "Zeta" } },
        { "a double-click moves the one line", { "Alfa", "Beta", "Gama" }, {}, Side::Offered, Gesture::DoubleClick,
            { 1 }, Placement::End, {}, { "in:1:Beta" }, { "Alfa", "Gama" }, { "Beta" } },
        // A refused line stays; the next chosen line is still asked for.
        { "a refused move leaves its line", { "Alfa", "Beta", "Gama" }, {}, Side::Offered, Gesture::CtrlArrow,
            { 0, 2 }, Placement::End, "Alfa", { "in:0:Alfa", "in:2:Gama" }, { "Alfa", "Beta" }, { "Gama" } },
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.what);
        PickerWindow w(c.at);
        w.refused = c.refused;
        w.picker->show(names(c.offered), names(c.chosen), !c.chosen.isEmpty());
        const Qt::KeyboardModifiers extra = c.gesture == Gesture::ShiftArrow ? Qt::ShiftModifier : Qt::ControlModifier;
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            if (c.gesture == Gesture::DoubleClick)
                w.doubleClick(c.from, c.rows[i]);
            else
                w.click(c.from, c.rows[i], i == 0 ? Qt::KeyboardModifiers {} : extra);
        }
        if (c.gesture != Gesture::DoubleClick)
            QTest::mouseClick(w.picker->arrow(c.from), Qt::LeftButton);
        EXPECT_EQ(w.asked, c.asked);
        EXPECT_EQ(lines(w.list(Side::Offered)), c.offeredAfter);
        EXPECT_EQ(lines(w.list(Side::Chosen)), c.chosenAfter);
    }
}

// Which side can be used: a side opens with its first line and closes with its last.
TEST(TwoListPicker, ASideOpensWithItsFirstLineAndClosesWithItsLast)
{
    struct Case {
        const char* what;
        QStringList offered;
        QStringList chosen;
        bool chosenOpen;
        std::vector<int> doubleClicked; // rows of the offered list, one after another
        bool offeredOn;
        bool chosenOn;
    };
    const std::vector<Case> cases = {
        { "nothing chosen yet", { "Alfa", "Beta" }, {}, false, {}, true, false },
        // The record may name chosen places that are no longer listed.
        { "the record says chosen", { "Alfa", "Beta" }, {}, true, {}, true, true },
        { "nothing left to offer", {}, { "Alfa" }, true, {}, false, true },
        { "the first move opens the chosen side", { "Alfa", "Beta" }, {}, false, { 0 }, true, true },
        { "the last move closes the offered side", { "Alfa", "Beta" }, {}, false, { 0, 0 }, false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PickerWindow w(Placement::End);
        w.picker->show(names(c.offered), names(c.chosen), c.chosenOpen);
        for (int row : c.doubleClicked)
            w.doubleClick(Side::Offered, row);
        EXPECT_TRUE(w.picker->box()->isEnabled());
        EXPECT_EQ(w.list(Side::Offered)->isEnabled(), c.offeredOn);
        EXPECT_EQ(w.picker->arrow(Side::Offered)->isEnabled(), c.offeredOn);
        EXPECT_EQ(w.list(Side::Chosen)->isEnabled(), c.chosenOn);
        EXPECT_EQ(w.picker->arrow(Side::Chosen)->isEnabled(), c.chosenOn);
        EXPECT_EQ(w.picker->empty(Side::Offered), lines(w.list(Side::Offered)).isEmpty());
    }
    // Switched off, everything is empty and closed, boxes included.
    PickerWindow w(Placement::End);
    w.picker->show(names({ "Alfa" }), names({ "Beta" }), true);
    w.picker->switchOff();
    EXPECT_TRUE(w.picker->empty(Side::Offered));
    EXPECT_TRUE(w.picker->empty(Side::Chosen));
    for (const char* name : { "Outer", "OfferedBox", "ChosenBox", "Offered", "Chosen", "In", "Out" })
        EXPECT_FALSE(dorvan::test::control<QWidget>(&w.window, name)->isEnabled()) << name;
}

} // namespace
