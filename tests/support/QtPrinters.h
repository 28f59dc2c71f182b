#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure output for Qt strings in GoogleTest messages. (GoogleTest finds these by
// argument-dependent lookup only for types of the global namespace, which QString is.)
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{' << l.join(" | ").toStdString() << '}';
}
// Colours read as (r, g, b) in failure messages.
inline void PrintTo(const QColor& c, std::ostream* os)
{
    *os << "(" << c.red() << ", " << c.green() << ", " << c.blue() << ")";
}
