#include "ui/common/GuardedApplication.h"

#include <QLocale>

#include <gtest/gtest.h>

// Window tests run under the offscreen platform with a Slovak locale, as the program's users
// have it, and with the program's guard around event delivery. A failure the guard catches
// while a test has shown it no dialogs fails that test.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    dorvan::GuardedApplication app(argc, argv);
    app.setUnshownFailure([](const QString& text) {
        ADD_FAILURE() << "a handler failed: " << text.toStdString();
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
