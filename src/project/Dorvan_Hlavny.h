#pragma once

#include "project/Project.h"

#include <QMainWindow>

namespace dorvan {
class UserDialogs;
} // namespace dorvan

class TProgramAutori;

// The main window: the MDI frame with menus, toolbar and status bar. It owns the project and
// opens every other window as its child.
class TDorvan_Central : public QMainWindow {
    Q_OBJECT
public:
    explicit TDorvan_Central(dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TDorvan_Central() override;

    dorvan::Project& project() { return project_; }

private:
    dorvan::Project project_;
    dorvan::UserDialogs& dialogs_;
};
