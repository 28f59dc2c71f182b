#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

namespace dorvan {

class UserDialogs;

// The application whose event delivery is the one guard around every window handler: whatever
// a handler throws is caught here, shown as a message and the program goes on with the next
// event. Nothing is undone: a handler that must leave the project whole checks before it
// writes, or catches itself to restore what it changed.
class GuardedApplication : public QApplication {
public:
    // Shown for a failure that carries no message of the program's own.
    static inline const QString GeneralFailure
        = QString::fromUtf8("Nastala neočakávaná chyba, príkaz sa nevykonal !!!");

    GuardedApplication(int& argc, char** argv);
    ~GuardedApplication() override;

    // Where a caught failure is shown. Until dialogs are set (and after they are set to none)
    // the failure goes to unshownFailure, or to the log when that is empty.
    void setDialogs(UserDialogs* dialogs) { dialogs_ = dialogs; }
    UserDialogs* dialogs() const { return dialogs_; }
    void setUnshownFailure(std::function<void(const QString&)> report) { unshown_ = std::move(report); }

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows one failure as the guard does; used too where a failure of another thread is
    // handed back to the window thread.
    void showFailure(std::exception_ptr failure, QObject* receiver = nullptr);

    // The message of a failure: a runtime error's text is already the user's message, anything
    // else gets the general one.
    static QString failureText(std::exception_ptr failure);

    // The running application when it is a guarded one.
    static GuardedApplication* instance();

private:
    UserDialogs* dialogs_ = nullptr;
    std::function<void(const QString&)> unshown_;
    bool showing_ = false;
};

} // namespace dorvan
