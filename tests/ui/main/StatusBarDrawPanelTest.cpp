#include "ui/main/StatusBar_DrawPanel.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

QImage grabBar(PanelStatusBar& bar)
{
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor at(const QImage& img, int x, int y)
{
    return QColor(img.pixel(x, y));
}

int countColour(const QImage& img, const QRect& area, const QColor& c)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (QColor(img.pixel(x, y)) == c)
                ++n;
    return n;
}

// Text ink on the orange bar: dark pixels, whatever the smoothing of the font.
int countInk(const QImage& img, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (QColor(img.pixel(x, y)).lightness() < 80)
                ++n;
    return n;
}

struct SchemeColours {
    int scheme;
    QColor border, fill, text;
};

} // namespace

TEST(StatusBarDrawPanel, ConvertsBgrColourValues)
{
    EXPECT_EQ(colourFromBgr(0x0080FF), QColor(255, 128, 0));
    EXPECT_EQ(colourFromBgr(0x800000), QColor(0, 0, 128));
    EXPECT_EQ(colourFromBgr(0x00FFFF), QColor(255, 255, 0));
    EXPECT_EQ(colourFromBgr(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(colourFromBgr(0x008000), QColor(0, 128, 0));
}

TEST(StatusBarDrawPanel, PanelsHaveTheirWidthsAndTheBarIsOrange)
{
    PanelStatusBar bar;
    bar.resize(800, PanelStatusBar::BarHeight);
    EXPECT_EQ(bar.height(), 25);
    EXPECT_EQ(bar.panelWidth(0), 130);
    EXPECT_EQ(bar.panelWidth(1), 130);
    EXPECT_EQ(bar.panelWidth(2), 800 - 260);
    EXPECT_EQ(bar.panelRect(1).left(), 130);
    EXPECT_EQ(bar.panelRect(2).left(), 260);
    EXPECT_EQ(bar.panelWidth(3), 0);
    EXPECT_TRUE(bar.panelRect(-1).isNull());

    const QImage img = grabBar(bar);
    EXPECT_EQ(at(img, 60, 12), QColor(255, 128, 0));
    EXPECT_EQ(at(img, 500, 12), QColor(255, 128, 0));
    // Panel 1 is raised (light top edge), panels 0 and 2 lowered (dark top edge).
    EXPECT_EQ(at(img, 190, bar.panelRect(1).top()), QColor(255, 255, 255));
    EXPECT_EQ(at(img, 60, bar.panelRect(0).top()), QColor(128, 128, 128));

    // Bad panel numbers are ignored.
    bar.setPanelText(7, "x");
    bar.setPanelOwnerDrawn(-1, true);
    EXPECT_EQ(bar.panelText(7), QString());
    EXPECT_FALSE(bar.panelOwnerDrawn(-1));
}

TEST(StatusBarDrawPanel, PaintsEachSchemeWithItsColours)
{
    const SchemeColours schemes[] = {
        { 0, QColor(0, 0, 128), QColor(0, 0, 128), QColor(255, 255, 0) },
        { 1, QColor(0, 0, 0), QColor(255, 0, 0), QColor(255, 255, 255) },
        { 2, QColor(0, 0, 0), QColor(0, 128, 0), QColor(255, 255, 255) },
    };
    for (const SchemeColours& s : schemes) {
        SCOPED_TRACE(s.scheme);
        PanelStatusBar bar;
        bar.resize(800, PanelStatusBar::BarHeight);
        bar.setPanelOwnerDrawn(1, true);
        // The bar of 60 of 100 steps: from (133, 18) on, 60 pixels wide and 5 high.
        const QRect barRect(133, 18, 60, 5);
        const QRect textArea(182, 3, 40, 14);
        EXPECT_EQ(countColour(grabBar(bar), textArea, s.text), 0);

        StatusBar_DrawPanel(&bar, s.scheme, barRect, " 60%", QPoint(182, 3));
        const QImage img = grabBar(bar);

        // Frame, inside and the pixels just outside.
        EXPECT_EQ(at(img, 133, 18), s.border);
        EXPECT_EQ(at(img, 192, 18), s.border);
        EXPECT_EQ(at(img, 133, 22), s.border);
        EXPECT_EQ(at(img, 192, 22), s.border);
        EXPECT_EQ(at(img, 150, 20), s.fill);
        EXPECT_EQ(at(img, 191, 21), s.fill);
        EXPECT_EQ(at(img, 193, 20), QColor(255, 128, 0));
        EXPECT_EQ(at(img, 150, 23), QColor(255, 128, 0));
        EXPECT_EQ(at(img, 150, 17), QColor(255, 128, 0));
        // The text: drawn in its colour inside the text area only.
        EXPECT_GT(countColour(img, textArea, s.text), 5);
        EXPECT_EQ(bar.overlay().text, QString(" 60%"));
    }
}

TEST(StatusBarDrawPanel, LaterCallsReplaceTheDrawingAndPlainTextDropsIt)
{
    PanelStatusBar bar;
    bar.resize(600, PanelStatusBar::BarHeight);
    bar.setPanelOwnerDrawn(1, true);
    StatusBar_DrawPanel(&bar, 1, QRect(133, 18, 10, 5), "  1%", QPoint(182, 3));
    StatusBar_DrawPanel(&bar, 1, QRect(133, 18, 40, 5), " 40%", QPoint(182, 3));
    QImage img = grabBar(bar);
    EXPECT_EQ(at(img, 160, 20), QColor(255, 0, 0)); // grown bar
    EXPECT_EQ(bar.overlay().text, QString(" 40%"));

    // An empty bar draws only the text; an unknown scheme draws nothing new.
    StatusBar_DrawPanel(&bar, 2, QRect(133, 18, 0, 5), "  0%", QPoint(182, 3));
    img = grabBar(bar);
    EXPECT_EQ(at(img, 160, 20), QColor(255, 128, 0));
    EXPECT_GT(countColour(img, QRect(182, 3, 40, 14), QColor(255, 255, 255)), 5);
    StatusBar_DrawPanel(&bar, 3, QRect(133, 18, 40, 5), "bad", QPoint(182, 3));
    EXPECT_EQ(bar.overlay().text, QString("  0%"));
    StatusBar_DrawPanel(nullptr, 1, QRect(133, 18, 40, 5), "x", QPoint(182, 3));

    bar.setPanelOwnerDrawn(1, false);
    EXPECT_FALSE(bar.overlay().shown);
    img = grabBar(bar);
    EXPECT_EQ(countColour(img, QRect(133, 3, 120, 20), QColor(255, 255, 255)), 0);
}

TEST(StatusBarDrawPanel, OwnerDrawnPanelHidesItsText)
{
    PanelStatusBar bar;
    bar.resize(600, PanelStatusBar::BarHeight);
    const QImage empty = grabBar(bar);
    bar.setPanelText(1, "ZMENENÉ HODNOTY !!!");
    const QImage withText = grabBar(bar);
    EXPECT_NE(withText.copy(bar.panelRect(1)), empty.copy(bar.panelRect(1)));
    // Centred: the text's ink sits on both halves of the panel.
    const QRect p1 = bar.panelRect(1);
    const QRect left(p1.left() + 3, p1.top() + 2, p1.width() / 2 - 3, p1.height() - 4);
    const QRect right(p1.center().x(), p1.top() + 2, p1.width() / 2 - 3, p1.height() - 4);
    EXPECT_GT(countInk(withText, left), 0);
    EXPECT_GT(countInk(withText, right), 0);

    bar.setPanelOwnerDrawn(1, true);
    EXPECT_EQ(grabBar(bar).copy(p1), empty.copy(p1));
    EXPECT_EQ(bar.panelText(1), QString("ZMENENÉ HODNOTY !!!"));

    // A text wider than its fixed panel is drawn smaller instead of being cut off: no ink at
    // the panel's inner right edge, where a cut-off text would run into it.
    bar.setPanelText(0, " 28. 12. 2026  -  23:59:59 and a long tail");
    bar.setPanelText(0, " 28. 12. 2026  -  23:59:59");
    const QImage clock = grabBar(bar);
    const QRect p0 = bar.panelRect(0);
    EXPECT_GT(countInk(clock, p0.adjusted(3, 2, -3, -2)), 20);
    EXPECT_EQ(countInk(clock, QRect(p0.right() - 4, p0.top() + 2, 2, p0.height() - 4)), 0);
}
