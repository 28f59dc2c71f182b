#pragma once

#include <QFontMetrics>
#include <QListWidget>
#include <QString>
#include <QStyle>

#include <algorithm>
#include <string>
#include <vector>

namespace dorvan {

// The width a list needs to show its longest line whole in its own font: the items' margins, the
// frame and room for a vertical scroll bar included. A line cut at the list's edge can read as
// another number ("... okruhu1: 2" for 27).
inline int listWidthForLines(const QListWidget* list, const std::vector<std::string>& lines)
{
    const QFontMetrics metrics(list->font());
    int text = 0;
    for (const std::string& l : lines)
        text = std::max(text, metrics.horizontalAdvance(QString::fromStdString(l)));
    const QStyle* style = list->style();
    const int itemMargins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    const int frame = 2 * list->frameWidth();
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    return text + itemMargins + frame + scrollBar;
}

} // namespace dorvan
