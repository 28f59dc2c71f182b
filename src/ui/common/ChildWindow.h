#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QCloseEvent;
class QWidget;

namespace dorvan {

class UserDialogs;

// The routine every child window of the main window shares: a hook run whenever its frame is
// about to be activated, the question asked when the user closes it, and closing by program,
// which skips the question. The window keeps one as a member and hands its close event here.
class ChildWindow : public QObject {
public:
    // The close question is asked through dialogs with No preselected.
    ChildWindow(QWidget& window, UserDialogs& dialogs, QString closeQuestion);

    // Run whenever the window's frame in the main window is about to be activated.
    void setActivationHook(std::function<void()> hook);
    // A question of the window's own instead of the close question; true lets it close.
    void setQuestion(std::function<bool()> ask);

    // The window's closeEvent: the routine decides (it calls mayClose() first and does what
    // closing takes); the event is accepted when it returns true, and the window is closing
    // from then on.
    void handleClose(QCloseEvent* event, const std::function<bool()>& routine);
    // True without a question when the program closes the window, else the user's answer.
    bool mayClose();
    // Closes the window, frame and all, without its question.
    void closeByProgram();

    bool closedByProgram() const { return byProgram_; }
    // True once its closing was accepted: the window goes, even if it is still on the screen
    // while the main window activates the next one.
    bool isClosing() const { return closing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();

    QWidget& window_;
    UserDialogs& dialogs_;
    QString question_;
    std::function<bool()> ask_;
    std::function<void()> activated_;
    bool byProgram_ = false;
    bool closing_ = false;
};

} // namespace dorvan
