#pragma once

#include <QWidget>

namespace dorvan {
struct Project;
class UserDialogs;
} // namespace dorvan

// The help window: fixed pages of pictures and text, an MDI child of the main window.
// Closing it asks for confirmation; on Yes it clears HelpWindowOpen and is destroyed.
class TPomocNapoveda : public QWidget {
    Q_OBJECT
public:
    TPomocNapoveda(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Pomoc_Napoveda_Close(QCloseEvent* event);

    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
};
