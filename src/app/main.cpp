#include "common/UserDialogs.h"
#include "project/Dorvan_Hlavny.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Numbers are shown the Slovak way (decimal comma) whatever the system's language; dates
    // and times keep the system's own formats.
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    dorvan::QtUserDialogs dialogs;
    // The main window creates the About box (hidden) as its last step and keeps it for the run.
    TDorvan_Central central(dialogs);
    central.showMaximized();
    return app.exec();
}
