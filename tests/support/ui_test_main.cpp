#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Window tests run under the offscreen platform with a Slovak locale, as the program's users
// have it.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
