#pragma once

#include "ui/common/ChildWindow.h"

#include <QStringList>
#include <QWidget>

class QCloseEvent;
struct HelpTextPage;
class QLabel;

namespace dorvan {
struct Project;
class UserDialogs;
} // namespace dorvan

// The help window: fixed pages of pictures and text, an MDI child of the main window. After the
// four first pages come pages of text (HelpPages.h) about the later capabilities.
// Closing it asks for confirmation; on Yes it is destroyed with its frame.
class TPomocNapoveda : public QWidget {
    Q_OBJECT
public:
    TPomocNapoveda(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // The lines of RichEdit1, numbering the toolbar buttons.
    static QStringList toolbarHelpLines();

    // Close question and closing state.
    dorvan::ChildWindow& childWindow() { return child_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Pomoc_Napoveda_Close(QCloseEvent* event);

    QWidget* buildMenuPage();
    QWidget* buildInputPage();
    QWidget* buildSolutionPage();
    QWidget* buildTextPage(const HelpTextPage& page);
    QLabel* picture(const char* name, const QString& resource);

    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    dorvan::ChildWindow& child_;
    QString pictureError_; // the first picture that could not be shown
};
