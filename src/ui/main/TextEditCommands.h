#pragma once

#include <QObject>

#include <QPointer>
#include <functional>

class CommandStates;
class QWidget;
struct MainActions;
namespace dorvan {
struct Project;
}

// Whether a widget is a text field the edit items work on: a line edit, a text edit, a spin box
// or an editable combo box.
bool isTextField(const QWidget* widget);

// The edit menu ("&Undo", "Select &All", "&Paste", "&Copy", "Cu&t", "&Delete") on the text
// field of the frame that last had the focus, and Ctrl+Z shared by "Zavrieť" and "&Undo".
// "&Undo" takes back the text field's own edit first, else the project's last edit; "Krok
// vpred" does the project edit undone last again.
class TextEditCommands : public QObject {
public:
    enum class Command { Undo, SelectAll, Paste, Copy, Cut, Delete };

    // Wires the edit items and follows the focus in the frame's windows.
    TextEditCommands(
        QWidget& frame, const MainActions& actions, CommandStates& states, dorvan::Project& project);

    void run(Command command);
    // The project's history moved one step back or forth; false when there was no step.
    bool undoProject();
    bool redoProject();
    // Called after an undo or a redo, once the windows have shown the project again.
    void onHistoryMoved(std::function<void()> then) { historyMoved_ = std::move(then); }
    // The edit items on while a text field is the target.
    void updateActions();
    // The frame is going: focus changes no longer count.
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusMoved(QWidget* now);
    // Whether the text field `target` has an edit of its own to take back.
    static bool textUndoAvailable(QWidget* target);
    void afterStep(bool done);

    QWidget& frame_;
    const MainActions& actions_;
    CommandStates& states_;
    dorvan::Project& project_;
    std::function<void()> historyMoved_;
    QPointer<QWidget> target_;
    bool stopped_ = false;
};
