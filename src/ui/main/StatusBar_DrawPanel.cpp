#include "ui/main/StatusBar_DrawPanel.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace {

bool validPanel(int panel)
{
    return panel >= 0 && panel < PanelStatusBar::PanelCount;
}

// Light and dark edges of a panel frame; raised panels are light on the top and left.
void drawBevel(QPainter& p, const QRect& r, bool raised)
{
    const QColor light(255, 255, 255);
    const QColor dark(128, 128, 128);
    p.setPen(raised ? light : dark);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(raised ? dark : light);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

} // namespace

QColor colourFromBgr(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
        static_cast<int>((bgr >> 16) & 0xFFu));
}

PanelStatusBar::PanelStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName("StatusBar1");
    setSizeGripEnabled(false);
    setFixedHeight(BarHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colourFromBgr(0x0080FF)); // orange
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
}

void PanelStatusBar::setPanelText(int panel, const QString& text)
{
    if (!validPanel(panel) || texts_[static_cast<std::size_t>(panel)] == text)
        return;
    texts_[static_cast<std::size_t>(panel)] = text;
    update(panelRect(panel));
}

QString PanelStatusBar::panelText(int panel) const
{
    return validPanel(panel) ? texts_[static_cast<std::size_t>(panel)] : QString();
}

void PanelStatusBar::setPanelOwnerDrawn(int panel, bool ownerDrawn)
{
    if (!validPanel(panel))
        return;
    ownerDrawn_[static_cast<std::size_t>(panel)] = ownerDrawn;
    if (!ownerDrawn)
        clearOverlay();
    update(panelRect(panel));
}

bool PanelStatusBar::panelOwnerDrawn(int panel) const
{
    return validPanel(panel) && ownerDrawn_[static_cast<std::size_t>(panel)];
}

int PanelStatusBar::panelWidth(int panel) const
{
    if (!validPanel(panel))
        return 0;
    if (panel == PanelCount - 1)
        return std::max(widths_[static_cast<std::size_t>(panel)], width() - widths_[0] - widths_[1]);
    return widths_[static_cast<std::size_t>(panel)];
}

QRect PanelStatusBar::panelRect(int panel) const
{
    if (!validPanel(panel))
        return QRect();
    int x = 0;
    for (int i = 0; i < panel; ++i)
        x += widths_[static_cast<std::size_t>(i)];
    // A two-pixel gap separates the panels, and the frames start two pixels below the top.
    return QRect(x, 2, panelWidth(panel) - 2, height() - 2);
}

QFont PanelStatusBar::overlayFont(const QFont& base)
{
    QFont f(base);
    f.setPointSize(7);
    f.setBold(true);
    // Plain pixels in the scheme's colour, without blending into the background.
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

QFont PanelStatusBar::fittingFont(const QString& text, int width) const
{
    // The panels have fixed widths; a long date or message is drawn a little smaller rather
    // than cut off, down to a size that stays readable.
    QFont f = font();
    qreal size = f.pointSizeF();
    if (size <= 0)
        return f;
    while (QFontMetrics(f).horizontalAdvance(text) > width && size > 6.5) {
        size -= 0.5;
        f.setPointSizeF(size);
    }
    return f;
}

QRect PanelStatusBar::overlayBounds(const Overlay& o) const
{
    if (!o.shown)
        return QRect();
    const QFontMetrics fm(overlayFont(font()));
    QRect textRect(o.textPos, QSize(fm.horizontalAdvance(o.text) + 2, fm.height() + 1));
    return o.bar.united(textRect);
}

void PanelStatusBar::showOverlay(const Overlay& o)
{
    const QRect dirty = overlayBounds(overlay_).united(overlayBounds(o));
    overlay_ = o;
    overlay_.shown = true;
    // Painted now rather than later: the caller is usually a loop that keeps the event loop
    // waiting until it is done.
    repaint(dirty);
}

void PanelStatusBar::clearOverlay()
{
    if (!overlay_.shown)
        return;
    const QRect dirty = overlayBounds(overlay_);
    overlay_ = Overlay {};
    update(dirty);
}

void PanelStatusBar::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));

    for (int i = 0; i < PanelCount; ++i) {
        const QRect r = panelRect(i);
        if (!r.isValid() || !event->region().intersects(r))
            continue;
        drawBevel(p, r, i == 1);
        if (ownerDrawn_[static_cast<std::size_t>(i)] || texts_[static_cast<std::size_t>(i)].isEmpty())
            continue;
        p.save();
        const QRect inner = r.adjusted(3, 1, -3, -1);
        p.setClipRect(inner, Qt::IntersectClip);
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(fittingFont(texts_[static_cast<std::size_t>(i)], inner.width()));
        const Qt::Alignment align = (i == 1 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
        p.drawText(inner, static_cast<int>(align), texts_[static_cast<std::size_t>(i)]);
        p.restore();
    }

    if (overlay_.shown) {
        const QRect& b = overlay_.bar;
        if (b.width() >= 1 && b.height() >= 1) {
            if (b.width() >= 2 && b.height() >= 2) {
                p.fillRect(b, overlay_.fill);
                p.setPen(QPen(overlay_.border, 1));
                p.setBrush(Qt::NoBrush);
                p.drawRect(b.adjusted(0, 0, -1, -1));
            } else {
                // Too thin for an inside: it is all frame.
                p.fillRect(b, overlay_.border);
            }
        }
        if (!overlay_.text.isEmpty()) {
            const QFont f = overlayFont(font());
            const QFontMetrics fm(f);
            p.setFont(f);
            p.setPen(overlay_.textColour);
            p.drawText(
                QRect(overlay_.textPos, QSize(fm.horizontalAdvance(overlay_.text) + 2, fm.height() + 1)),
                static_cast<int>(Qt::AlignLeft | Qt::AlignTop), overlay_.text);
        }
    }
}

void StatusBar_DrawPanel(
    PanelStatusBar* statusBar, int scheme, const QRect& barRect, const QString& text, const QPoint& textPos)
{
    struct Scheme {
        std::uint32_t border, fill, text;
    };
    // Colours as 0x00BBGGRR.
    static constexpr Scheme schemes[] = {
        { 0x800000, 0x800000, 0x00FFFF }, // building the picture: navy, yellow text
        { 0x000000, 0x0000FF, 0xFFFFFF }, // writing a file: red framed in black, white text
        { 0x000000, 0x008000, 0xFFFFFF }, // reading a file: green framed in black, white text
    };
    if (statusBar == nullptr || scheme < 0 || scheme >= static_cast<int>(std::size(schemes)))
        return;
    const Scheme& s = schemes[scheme];
    PanelStatusBar::Overlay o;
    o.bar = barRect;
    o.border = colourFromBgr(s.border);
    o.fill = colourFromBgr(s.fill);
    o.textColour = colourFromBgr(s.text);
    o.text = text;
    o.textPos = textPos;
    statusBar->showOverlay(o);
}
