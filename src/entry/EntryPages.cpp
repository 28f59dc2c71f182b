#include "entry/EntryPages.h"

#include "common/DecimalText.h"

#include <QLocale>
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

} // namespace entry
