// The main window's status bar: the clock, the messages and the progress displays.
#include "ui/main/MainStatus.h"

#include "core/project/ProjectFile.h"
#include "ui/main/StatusBar_DrawPanel.h"

#include <QDate>
#include <QLocale>
#include <QMainWindow>
#include <QTime>
#include <QTimer>

#include <algorithm>

namespace {

// The long time format of the system without its time zone: the clock shows the local time
// only, as hours, minutes and seconds in the order and separators the system uses.
QString clockTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.trimmed();
}

} // namespace

QString MainStatus::changedValuesText()
{
    return QStringLiteral("ZMENENÉ HODNOTY !!!");
}

MainStatus::MainStatus(QMainWindow& frame)
{
    bar_ = new PanelStatusBar(&frame);
    frame.setStatusBar(bar_);
    clock_ = new QTimer(&frame);
    clock_->setObjectName("Timer1");
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &MainStatus::onClockTick);
}

void MainStatus::startClock()
{
    clock_->start();
}

void MainStatus::setText(int panel, const QString& text)
{
    bar_->setPanelText(panel, text);
}

QString MainStatus::text(int panel) const
{
    return bar_->panelText(panel);
}

void MainStatus::onClockTick()
{
    const QLocale locale = QLocale::system();
    QString text = QStringLiteral(" ");
    text += locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    text += QStringLiteral("  -  ");
    text += locale.toString(QTime::currentTime(), clockTimeFormat(locale));
    setText(0, text);
}

void MainStatus::beginFileOperation(const QString& message)
{
    setText(1, QString());
    setText(2, message);
    bar_->setPanelOwnerDrawn(1, true);
    bar_->repaint();
}

void MainStatus::endFileOperation()
{
    bar_->setPanelOwnerDrawn(1, false);
    setText(1, QString());
    setText(2, QString());
}

void MainStatus::dropProgress()
{
    bar_->setPanelOwnerDrawn(1, false);
}

void MainStatus::showFileProgress(dorvan::ProgressTracker& tracker, int row, int scheme)
{
    const auto draw = tracker.afterRow(row, bar_->panelWidth(0), bar_->panelWidth(1));
    if (!draw)
        return;
    StatusBar_DrawPanel(bar_, scheme,
        QRect(draw->barLeft, draw->barTop, draw->barRight - draw->barLeft, draw->barBottom - draw->barTop),
        QString::fromStdString(draw->text), QPoint(draw->textX, draw->textY));
    emit fileProgressDrawn(scheme, row);
}

void MainStatus::showStepProgress(const QString& text, int percent)
{
    if (!bar_->panelOwnerDrawn(1) || this->text(2) != text)
        beginFileOperation(text);
    const int p = std::clamp(percent, 0, 100);
    const int w0 = bar_->panelWidth(0), w1 = bar_->panelWidth(1);
    StatusBar_DrawPanel(bar_, 2, QRect(w0 + 3, 18, (w1 - 4) * p / 100, 5), QStringLiteral("%1%").arg(p, 3),
        QPoint(w0 + w1 / 2 - 13, 3));
}

void MainStatus::endStepProgress()
{
    if (bar_->panelOwnerDrawn(1))
        endFileOperation();
}
