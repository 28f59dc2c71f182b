#include "project/Dorvan_Hlavny.h"

#include "common/UserDialogs.h"

TDorvan_Central::TDorvan_Central(dorvan::UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs)
{
    project_.resetAtStart();
    setWindowTitle(QString::fromStdString(project_.State.ProgramTitle));
}

TDorvan_Central::~TDorvan_Central() = default;
