#pragma once

#include <QObject>
#include <QPointer>

class CommandStates;
class QWidget;
struct MainActions;

// Whether a widget is a text field the edit items work on: a line edit, a text edit, a spin box
// or an editable combo box.
bool isTextField(const QWidget* widget);

// The edit menu ("&Undo", "Select &All", "&Paste", "&Copy", "Cu&t", "&Delete") on the text
// field of the frame that last had the focus, and Ctrl+Z shared by "Zavrieť" and "&Undo".
class TextEditCommands : public QObject {
public:
    enum class Command { Undo, SelectAll, Paste, Copy, Cut, Delete };

    // Wires the edit items and follows the focus in the frame's windows.
    TextEditCommands(QWidget& frame, const MainActions& actions, CommandStates& states);

    void run(Command command);
    // The edit items on while a text field is the target.
    void updateActions();
    // The frame is going: focus changes no longer count.
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusMoved(QWidget* now);

    QWidget& frame_;
    const MainActions& actions_;
    CommandStates& states_;
    QPointer<QWidget> target_;
    bool stopped_ = false;
};
