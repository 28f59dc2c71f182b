#include "common/UserDialogs.h"
#include "help/Program_Autori.h"
#include "project/Dorvan_Hlavny.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    dorvan::QtUserDialogs dialogs;
    TDorvan_Central central(dialogs);
    central.showMaximized();
    return app.exec();
}
