#include "common/UserDialogs.h"
#include "project/Dorvan_Hlavny.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    dorvan::QtUserDialogs dialogs;
    // The main window creates the About box (hidden) as its last step and keeps it for the run.
    TDorvan_Central central(dialogs);
    central.showMaximized();
    return app.exec();
}
