#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;
class QPrinter;

namespace dorvan {

// Every message box, confirmation, file dialog and printer dialog of the program goes through
// this interface. The program installs QtUserDialogs; tests install a scripted double that
// records the texts shown and answers from a queue.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A notice with one OK button and a warning icon ("Chybné zadanie!!!").
    virtual void warn(QWidget* parent, const QString& text) = 0;
    // A Yes/No question with a warning icon; true for Yes. defaultYes selects the preselected
    // button (No everywhere but where a caller says otherwise).
    virtual bool confirm(QWidget* parent, const QString& text, bool defaultYes = false) = 0;
    // The same Yes/No question (No preselected) with a third button "Uložiť ...", asked while
    // the project has work that was not saved.
    enum class Answer { Yes, No, Save };
    virtual Answer confirmOrSave(QWidget* parent, const QString& text) = 0;
    // An unexpected failure (a file that cannot be written, ...), shown with its text.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // File dialogs: an empty result means cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                 const QString& filter) = 0;
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString openPictureName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The printer set-up dialog; false when cancelled.
    virtual bool printerSetup(QWidget* parent, QPrinter& printer) = 0;
    // A line of text asked for with `prompt`; nothing when cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& prompt) = 0;
    // The desktop's "open" action for a web or mail address.
    virtual bool openUrl(const QString& url) = 0;
};

// The real dialogs of the desktop.
class QtUserDialogs : public UserDialogs {
public:
    void warn(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text, bool defaultYes = false) override;
    Answer confirmOrSave(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& proposed,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString openPictureName(QWidget* parent, const QString& title, const QString& filter) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    std::optional<QString> askText(QWidget* parent, const QString& prompt) override;
    bool openUrl(const QString& url) override;
};

// A closing question ("Skončiť program ?!!", ...) asked so that no work is lost: while there is
// unsaved work the box offers "Uložiť ...", which runs save and goes on only when it succeeded.
// True when the caller may go on.
bool confirmKeepingWork(UserDialogs& dialogs, QWidget* parent, const QString& text, bool unsaved,
                        const std::function<bool()>& save);

} // namespace dorvan
