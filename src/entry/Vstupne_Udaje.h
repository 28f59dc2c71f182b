#pragma once

#include <QWidget>

class EntryHost;
namespace dorvan {
struct Project;
class UserDialogs;
} // namespace dorvan

// The data-entry window: places, criteria, allocation settings and distribution groups.
// An MDI child of the main window, at most one at a time.
class TVstupUdajov : public QWidget {
    Q_OBJECT
public:
    TVstupUdajov(dorvan::Project& project, dorvan::UserDialogs& dialogs, EntryHost& host,
                 QWidget* parent = nullptr);
    ~TVstupUdajov() override;

private:
    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    EntryHost& host_;
};
