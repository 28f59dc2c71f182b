#pragma once

#include "core/project/ProjectRecord.h"

#include <QObject>

#include <functional>
#include <vector>

class QGroupBox;
class QHBoxLayout;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace entry {

// Two lists of place names with ">>>" and "<<<" between them: the places offered on the left,
// the chosen ones on the right. Ctrl- and Shift-click choose several lines; an arrow moves every
// chosen line of its list, in list order, exactly as one move each would; a double-click moves
// the line clicked. What a move does to the project is the owner's: the picker asks it through
// the move handler, and the owner shows the result with moveLine. A line carries its name's
// code-page bytes, so a name goes back into the record as it was.
class TwoListPicker : public QObject {
public:
    enum class Side { Offered, Chosen };
    // Where a moved line lands in the other list.
    enum class Placement { NameOrder, End };

    // The object names of the controls.
    struct Names {
        const char* outer;
        const char* offeredBox;
        const char* offered;
        const char* chosenBox;
        const char* chosen;
        const char* in; // ">>>"
        const char* out; // "<<<"
    };
    struct Captions {
        const char* outer;
        const char* offeredBox;
        const char* chosenBox;
    };
    // One line to move: its list, its row there and its name.
    using Move = std::function<void(Side from, int row, const dorvan::Text100& name)>;

    TwoListPicker(const Names& names, const Captions& captions, QObject* parent);

    // The outer box with both lists and the arrows; its row takes further controls at its end.
    QGroupBox* box() const { return outer_; }
    QHBoxLayout* row() const { return row_; }
    QListWidget* list(Side side) const;
    QPushButton* arrow(Side from) const;

    void setMove(Move move) { move_ = std::move(move); }
    // Runs the moves of one arrow click (several chosen lines); without it they run one by one.
    // An owner makes them one step of the project's history.
    using Together = std::function<void(const std::function<void()>& moves)>;
    void setTogether(Together together) { together_ = std::move(together); }

    // Everything off and empty: the state of an unticked criterion.
    void switchOff();
    // The lists filled anew. The offered side opens when it has a line; the chosen side opens
    // when `chosenOpen` says so (the record may name chosen places no longer listed).
    void show(const std::vector<dorvan::Text100>& offered, const std::vector<dorvan::Text100>& chosen,
        bool chosenOpen);
    // The lines of one list replaced, the side's state unchanged.
    void setLines(Side side, const std::vector<dorvan::Text100>& names);
    // Shows a done move: the line leaves `from` and lands in the other list, which opens; a list
    // left empty closes with its arrow.
    void moveLine(Side from, int row, Placement at);
    bool empty(Side side) const;

private:
    void connectControls();
    // The arrow of a list: every chosen line in list order, each looked up again by its name as
    // a move may fill the lists anew.
    void moveChosenLines(Side from);
    // The current line of a list, when it is chosen.
    void moveCurrentLine(Side from);
    void openSide(Side side);
    void closeSide(Side side);

    QGroupBox* outer_ = nullptr;
    QGroupBox* offeredBox_ = nullptr;
    QGroupBox* chosenBox_ = nullptr;
    QListWidget* offered_ = nullptr;
    QListWidget* chosen_ = nullptr;
    QPushButton* in_ = nullptr;
    QPushButton* out_ = nullptr;
    QHBoxLayout* row_ = nullptr;
    Move move_;
    Together together_;
};

} // namespace entry
