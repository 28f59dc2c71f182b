#pragma once

#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QString>
#include <QToolTip>
#include <QWidget>

#include <functional>

// The picture control of the picture page: it shows its drawing surface, a QImage that the page
// paints the map picture and the place marks onto, and reports the mouse to the page.
class PictureSurface : public QWidget {
public:
    explicit PictureSurface(QWidget* parent = nullptr)
        : QWidget(parent)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    std::function<void(QPoint)> mousePressed;
    std::function<void(QPoint)> mouseMoved;
    std::function<void()> mouseLeft;
    // The tooltip for a point of the control; an empty text shows none.
    std::function<QString(QPoint)> tipAt;

    // A white surface of that size; the control takes the same size.
    void resetSurface(QSize size)
    {
        resize(size);
        surface_ = QImage(size, QImage::Format_RGB32);
        surface_.fill(Qt::white);
        update();
    }
    QImage& surface() { return surface_; }
    const QImage& surface() const { return surface_; }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::ToolTip)
            return QWidget::event(e);
        auto* help = static_cast<QHelpEvent*>(e);
        const QString tip = tipAt ? tipAt(help->pos()) : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, surface_);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (mousePressed)
            mousePressed(e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (mouseMoved)
            mouseMoved(e->position().toPoint());
    }
    void leaveEvent(QEvent*) override
    {
        if (mouseLeft)
            mouseLeft();
    }

private:
    QImage surface_;
};
