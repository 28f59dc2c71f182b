#pragma once

#include <QColor>

// The plain colours the drawings are checked against, written here apart from the painters.
namespace dorvan::test {

inline const QColor Red(255, 0, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor White(255, 255, 255);
inline const QColor Black(0, 0, 0);
inline const QColor Silver(192, 192, 192);

} // namespace dorvan::test
