#include "ui/entry/EntryPages.h"

#include "core/common/DecimalText.h"

#include <QFontMetrics>
#include <QLocale>
#include <QStyle>
#include <QTableWidget>
#include <QWidget>

namespace entry {

void setFieldColour(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

QString formatNumber(double v)
{
    const std::string separator = QLocale().decimalPoint().toStdString();
    return QString::fromStdString(dorvan::formatDecimal4(v, separator));
}

void showCutTextAsToolTip(QTableWidget* grid, int row, int column)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (item == nullptr)
        return;
    // An item view leaves a margin on either side of a cell's text.
    const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    const QString text = item->text();
    const bool cut = QFontMetrics(item->font()).horizontalAdvance(text) + margin > grid->columnWidth(column);
    item->setToolTip(cut ? text : QString());
}

} // namespace entry
