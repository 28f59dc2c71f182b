#pragma once

#include <QString>

// The windows' own texts are written in UTF-8 in the source: u("Súbor") is the text as shown.
inline QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
