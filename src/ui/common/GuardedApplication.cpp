#include "ui/common/GuardedApplication.h"
#include "ui/common/UserDialogs.h"

#include <QWidget>
#include <QtDebug>

#include <clocale>
#include <stdexcept>

namespace dorvan {

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // Qt hands the environment's locale to the C library as it starts. The core writes and reads
    // numbers with the C library (a point, then the comma where the program shows one), so a
    // Slovak system's LC_NUMERIC would put commas into CSV and JSON files and misread them.
    std::setlocale(LC_NUMERIC, "C");
}

GuardedApplication::~GuardedApplication() = default;

GuardedApplication* GuardedApplication::instance()
{
    return dynamic_cast<GuardedApplication*>(QCoreApplication::instance());
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showFailure(std::current_exception(), receiver);
        // The event counts as handled: nothing else may act on what the handler left undone.
        return true;
    }
}

QString GuardedApplication::failureText(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::runtime_error& e) {
        const QString text = QString::fromUtf8(e.what());
        return text.trimmed().isEmpty() ? GeneralFailure : text;
    } catch (...) {
        return GeneralFailure;
    }
}

void GuardedApplication::showFailure(std::exception_ptr failure, QObject* receiver)
{
    const QString text = failureText(failure);
    // A failure inside the message box's own event loop is reported without a second box.
    if (dialogs_ == nullptr || showing_) {
        if (unshown_)
            unshown_(text);
        else
            qWarning().noquote() << text;
        return;
    }
    QWidget* parent = nullptr;
    if (auto* w = qobject_cast<QWidget*>(receiver))
        parent = w->window();
    if (parent == nullptr)
        parent = activeWindow();
    showing_ = true;
    try {
        dialogs_->error(parent, text);
    } catch (...) {
        qWarning().noquote() << text;
    }
    showing_ = false;
}

} // namespace dorvan
