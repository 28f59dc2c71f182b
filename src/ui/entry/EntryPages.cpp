#include "ui/entry/EntryPages.h"

#include "core/common/DecimalText.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMessages.h"

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

bool confirmPlaceDeletion(const EntryContext& context, QWidget* parent, const QString& name)
{
    if (!context.dialogs.confirm(parent,
            text(dorvan::DeletePlaceQuestionText) + name + text(dorvan::DeletePlaceQuestionEndText), false))
        return false;
    if (context.host.cooperWindowOpen() && context.project.State.EntryStarted)
        context.host.closeCooperWindow();
    return true;
}

CutTextTips::CutTextTips(const QTableWidget* grid)
    : metrics_(font_)
    // An item view leaves a margin on either side of a cell's text.
    , margin_(2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1))
{
    advances_.fill(-1);
}

int CutTextTips::quickWidth(const QString& text, int room) const
{
    // How far the sum of the advances may be from the shaped width before it is trusted.
    constexpr int Band = 4;
    int sum = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= advances_.size())
            return -1;
        int& a = advances_[u];
        if (a < 0)
            a = metrics_.horizontalAdvance(c);
        sum += a;
    }
    return sum > room + Band || sum < room - Band ? sum : -1;
}

void CutTextTips::show(QTableWidgetItem* item, int columnWidth) const
{
    const QString text = item->text();
    const int room = columnWidth - margin_;
    int width = item->data(Qt::FontRole).isValid() ? QFontMetrics(item->font()).horizontalAdvance(text)
                                                   : quickWidth(text, room);
    if (width < 0)
        width = metrics_.horizontalAdvance(text);
    item->setToolTip(width > room ? text : QString());
}

void showCutTextAsToolTip(QTableWidget* grid, int row, int column)
{
    if (QTableWidgetItem* item = grid->item(row, column))
        CutTextTips(grid).show(item, grid->columnWidth(column));
}

} // namespace entry
