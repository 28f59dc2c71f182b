#include "core/common/MapRaster.h"
#include "ui/common/GuardedApplication.h"
#include "ui/common/QtTranslations.h"
#include "ui/common/UserDialogs.h"
#include "ui/main/Dorvan_Hlavny.h"

#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QStringList>
#include <QTimer>

int main(int argc, char* argv[])
{
    // GDAL's and PROJ's caches go after every window.
    const dorvan::GeoLibrariesRelease release;
    // Whatever a window handler throws is shown as a message and the program goes on.
    dorvan::GuardedApplication app(argc, argv);
    // Numbers are shown the Slovak way (decimal comma) whatever the system's language; dates
    // and times keep the system's own formats.
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    dorvan::installQtTranslations(app);
    dorvan::QtUserDialogs dialogs;
    app.setDialogs(&dialogs);
    // The main window creates the About box (hidden) as its last step and keeps it for the run.
    TDorvan_Central central(dialogs);
    central.showMaximized();

    // "dorvan PROJECT.mzd" (a double-click on a project file) opens the project once the window
    // is on the screen, exactly as "Otvor ako ..." does after its dialog; "dorvan --network
    // PROJECT.mzd" then opens the distribution network methods, whose menu item stays hidden.
    // Qt has taken its own options out of the arguments already.
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool network = !args.isEmpty() && args.first() == QStringLiteral("--network");
    if (network)
        args.removeFirst();
    if (!args.isEmpty()) {
        const QString file = QFileInfo(args.first()).absoluteFilePath();
        QPointer<TDorvan_Central> window(&central);
        QTimer::singleShot(0, &central, [window, file, network] {
            if (window != nullptr && window->openProjectFile(file) && network)
                window->SieteClick();
        });
    }
    const int code = app.exec();
    app.setDialogs(nullptr);
    return code;
}
