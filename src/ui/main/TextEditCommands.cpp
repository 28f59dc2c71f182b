// The edit items of the main window on the focused text field, and the key Ctrl+Z.
#include "ui/main/TextEditCommands.h"

#include "core/project/ProjectDocument.h"

#include "ui/main/CommandStates.h"
#include "ui/main/MainActions.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShortcutEvent>
#include <QTextEdit>

using namespace Qt::StringLiterals;

bool isTextField(const QWidget* w)
{
    if (w == nullptr)
        return false;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w)
        || qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(w);
    return combo != nullptr && combo->isEditable();
}

TextEditCommands::TextEditCommands(
    QWidget& frame, const MainActions& actions, CommandStates& states, dorvan::Project& project)
    : QObject(&frame)
    , frame_(frame)
    , actions_(actions)
    , states_(states)
    , project_(project)
{
    const auto wire = [this](QAction* action, Command command) {
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    };
    wire(actions.KrokSpat, Command::Undo);
    wire(actions.OznacVsetko, Command::SelectAll);
    wire(actions.Vlozit, Command::Paste);
    wire(actions.Kopiruj, Command::Copy);
    wire(actions.Vystrihni, Command::Cut);
    wire(actions.Zmazat, Command::Delete);
    connect(actions.KrokVpred, &QAction::triggered, this, [this] { redoProject(); });
    connect(actions.editMenu, &QMenu::aboutToShow, this, &TextEditCommands::updateActions);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
    // Ctrl+Z belongs to both "Zavrieť" and "&Undo"; see eventFilter.
    actions.Zatvor->installEventFilter(this);
    actions.KrokSpat->installEventFilter(this);
    // A text field takes Ctrl+Z for itself even when it has nothing to take back; see
    // eventFilter.
    qApp->installEventFilter(this);
    updateActions();
}

void TextEditCommands::stop()
{
    stopped_ = true;
    disconnect(qApp, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
}

void TextEditCommands::focusMoved(QWidget* now)
{
    if (stopped_)
        return;
    if (isTextField(now) && now->window() == &frame_) {
        target_ = now;
    } else if (now != nullptr && now->window() == &frame_ && !qobject_cast<QMenuBar*>(now)) {
        target_ = nullptr;
    }
    // Focus in a menu, a dialog or another window leaves the last text field as the target, so
    // the menu commands still reach it.
    updateActions();
}

void TextEditCommands::updateActions()
{
    const dorvan::ProjectDocument document(project_);
    states_.showEditCommands(target_ != nullptr);
    // "&Undo" also takes back a project edit, "Krok vpred" does one again.
    actions_.KrokSpat->setEnabled(target_ != nullptr || document.canUndo());
    actions_.KrokVpred->setEnabled(document.canRedo());
}

bool TextEditCommands::undoProject()
{
    dorvan::ProjectDocument document(project_);
    const bool done = document.undo();
    afterStep(done);
    return done;
}

bool TextEditCommands::redoProject()
{
    dorvan::ProjectDocument document(project_);
    const bool done = document.redo();
    afterStep(done);
    return done;
}

void TextEditCommands::afterStep(bool done)
{
    if (done) {
        // The windows have shown the project again; what they set doing so is no edit.
        dorvan::ProjectDocument(project_).viewsShown();
        if (historyMoved_)
            historyMoved_();
    }
    updateActions();
}

namespace {

// Spin boxes and editable combo boxes keep their text in a line edit of their own.
QLineEdit* lineEditOf(QWidget* target)
{
    if (auto* line = qobject_cast<QLineEdit*>(target))
        return line;
    if (auto* combo = qobject_cast<QComboBox*>(target))
        return combo->lineEdit();
    if (qobject_cast<QAbstractSpinBox*>(target))
        return target->findChild<QLineEdit*>();
    return nullptr;
}

void deleteSelection(QLineEdit* line)
{
    if (line->hasSelectedText() && !line->isReadOnly())
        line->del();
}

template <typename TextEdit> void deleteSelection(TextEdit* edit)
{
    if (!edit->isReadOnly()) {
        QTextCursor c = edit->textCursor();
        c.removeSelectedText();
        edit->setTextCursor(c);
    }
}

// A line edit and the two text edits offer the same commands under the same names.
template <typename Edit> void runOnEdit(Edit* edit, TextEditCommands::Command command)
{
    using Command = TextEditCommands::Command;
    switch (command) {
    case Command::Undo:
        edit->undo();
        break;
    case Command::SelectAll:
        edit->selectAll();
        break;
    case Command::Paste:
        edit->paste();
        break;
    case Command::Copy:
        edit->copy();
        break;
    case Command::Cut:
        edit->cut();
        break;
    case Command::Delete:
        deleteSelection(edit);
        break;
    }
}

} // namespace

bool TextEditCommands::textUndoAvailable(QWidget* target)
{
    if (target == nullptr)
        return false;
    if (QLineEdit* line = lineEditOf(target))
        return line->isUndoAvailable();
    if (auto* text = qobject_cast<QTextEdit*>(target))
        return text->document()->isUndoAvailable();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        return plain->document()->isUndoAvailable();
    return false;
}

void TextEditCommands::run(Command command)
{
    QWidget* target = target_;
    // "&Undo" goes to the text field while it has an edit of its own, else to the project.
    if (command == Command::Undo && !textUndoAvailable(target)
        && dorvan::ProjectDocument(project_).canUndo()) {
        undoProject();
        return;
    }
    if (target == nullptr)
        return;
    if (QLineEdit* line = lineEditOf(target))
        runOnEdit(line, command);
    else if (auto* text = qobject_cast<QTextEdit*>(target))
        runOnEdit(text, command);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        runOnEdit(plain, command);
}

bool TextEditCommands::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Z in a text field of this window with no edit of its own left goes on to the
    // project's undo: the field would otherwise claim the key and do nothing.
    if (event->type() == QEvent::ShortcutOverride && !stopped_) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (isTextField(widget) && widget->window() == &frame_
            && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) && !textUndoAvailable(widget)
            && dorvan::ProjectDocument(project_).canUndo()) {
            event->ignore();
            return true;
        }
    }
    // Ctrl+Z is both "Zavrieť" and "&Undo". When both are enabled the key is ambiguous and
    // neither would run; it then goes to Undo while a text field has the focus or the project
    // has an edit to take back, and to "Zavrieť" otherwise. (A text field with the focus
    // usually takes Ctrl+Z itself.)
    if (event->type() == QEvent::Shortcut && (watched == actions_.Zatvor || watched == actions_.KrokSpat)) {
        auto* se = static_cast<QShortcutEvent*>(event);
        if (se->isAmbiguous()) {
            QWidget* focus = QApplication::focusWidget();
            const bool textFocus = isTextField(focus) && focus->window() == &frame_;
            if (textFocus || dorvan::ProjectDocument(project_).canUndo())
                actions_.KrokSpat->trigger();
            else if (actions_.Zatvor->isEnabled())
                actions_.Zatvor->trigger();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
