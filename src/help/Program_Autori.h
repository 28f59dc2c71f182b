#pragma once

#include <QDialog>

namespace dorvan {
class UserDialogs;
} // namespace dorvan

// The About box: created hidden at start, shown modally by "&Program".
class TProgramAutori : public QDialog {
    Q_OBJECT
public:
    explicit TProgramAutori(dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);

private:
    dorvan::UserDialogs& dialogs_;
};
