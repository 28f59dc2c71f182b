#pragma once

#include <QListWidget>
#include "ui/common/Utf8Text.h"
#include <QObject>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <source_location>
#include <stdexcept>
#include <string>

// Small helpers of the window tests: Slovak texts, list lines, controls found by name.

namespace dorvan::test {

inline QStringList lines(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; list != nullptr && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Thrown to end a test that cannot go on, after the failure was reported at the caller's line.
// GoogleTest catches what a test body throws, marks the test failed and still runs TearDown,
// so a missing control fails its test instead of ending the whole program on a null pointer.
struct TestStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where a helper was called from.
using Here = std::source_location;

[[noreturn]] inline void stopTest(const std::string& why, Here at)
{
    ADD_FAILURE_AT(at.file_name(), static_cast<int>(at.line())) << why;
    throw TestStopped(why);
}

// The control `name` of type T inside `in`; never null: a missing control stops the test.
template <typename T> T* control(const QObject* in, const char* name, Here at = Here::current())
{
    T* c = in != nullptr ? in->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (c == nullptr)
        stopTest(std::string("no ") + T::staticMetaObject.className() + " named " + name, at);
    return c;
}

} // namespace dorvan::test
