#include "ui/common/ChildWindow.h"

#include "ui/common/UserDialogs.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QWidget>

namespace dorvan {

ChildWindow::ChildWindow(QWidget& window, UserDialogs& dialogs, QString closeQuestion)
    : QObject(&window)
    , window_(window)
    , dialogs_(dialogs)
    , question_(std::move(closeQuestion))
{
}

void ChildWindow::setActivationHook(std::function<void()> hook)
{
    activated_ = std::move(hook);
    // The frame comes when the main window adopts the window.
    window_.installEventFilter(this);
}

void ChildWindow::setQuestion(std::function<bool()> ask)
{
    ask_ = std::move(ask);
}

bool ChildWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::ParentChange && activated_)
        if (auto* frame = qobject_cast<QMdiSubWindow*>(window_.parentWidget()))
            connect(frame, &QMdiSubWindow::aboutToActivate, this, &ChildWindow::activate, Qt::UniqueConnection);
    return QObject::eventFilter(watched, event);
}

void ChildWindow::activate()
{
    if (activated_)
        activated_();
}

// The window counts as closing from the answer on, so that what its routine then tells the
// project no longer finds it open.
bool ChildWindow::mayClose()
{
    closing_ = byProgram_ || (ask_ ? ask_() : dialogs_.confirm(&window_, question_, false));
    return closing_;
}

void ChildWindow::handleClose(QCloseEvent* event, const std::function<bool()>& routine)
{
    if (routine()) {
        closing_ = true;
        event->accept();
    } else {
        closing_ = false;
        event->ignore();
    }
}

void ChildWindow::closeByProgram()
{
    byProgram_ = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window_.parentWidget()))
        frame->close();
    else
        window_.close();
    // A window that stays (its routine refused) answers its next close itself.
    if (!closing_)
        byProgram_ = false;
}

} // namespace dorvan
