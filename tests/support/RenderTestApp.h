#pragma once

// The one QGuiApplication of a render test program (fonts need one; a second would crash).

#include <QGuiApplication>

namespace dorvan::test {

inline QGuiApplication& renderTestApp()
{
    static int argc = 1;
    static char name[] = "render_tests";
    static char* argv[] = { name, nullptr };
    static QGuiApplication a(argc, argv);
    return a;
}

} // namespace dorvan::test
