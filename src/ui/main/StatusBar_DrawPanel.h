#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QStatusBar>
#include <QString>

#include <array>
#include <cstdint>

// The main window's status bar: three panels drawn by this widget itself (no child labels), so
// that a progress bar can be laid over panel 1 while a long loop runs on the UI thread.
//
//   panel 0: fixed width, date and time
//   panel 1: fixed width, raised, text centred; status messages and the progress display
//   panel 2: the rest of the width; hints and file messages
class PanelStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int PanelCount = 3;
    static constexpr int BarHeight = 25;

    explicit PanelStatusBar(QWidget* parent = nullptr);

    // Out-of-range panel numbers are ignored (setters) or give an empty result (getters).
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    // An owner-drawn panel shows no text of its own, only its frame, so a progress drawing
    // laid over it is not painted over. Switching back to plain text drops the progress.
    void setPanelOwnerDrawn(int panel, bool ownerDrawn);
    bool panelOwnerDrawn(int panel) const;
    // The width the panel was given (the last one's is what remains of the bar).
    int panelWidth(int panel) const;
    // The panel's area in the bar's own pixels.
    QRect panelRect(int panel) const;

    // The progress drawing laid over the panels; StatusBar_DrawPanel fills it in.
    struct Overlay {
        bool shown = false;
        QRect bar;
        QColor border;
        QColor fill;
        QColor textColour;
        QString text;
        QPoint textPos;
    };
    const Overlay& overlay() const { return overlay_; }
    // Replaces the progress drawing and paints it at once (also inside a loop that does not
    // return to the event loop).
    void showOverlay(const Overlay& overlay);
    void clearOverlay();

    // The font of the progress text: 7 points, bold.
    static QFont overlayFont(const QFont& base);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect overlayBounds(const Overlay& overlay) const;
    QFont fittingFont(const QString& text, int width) const;

    std::array<QString, PanelCount> texts_;
    std::array<bool, PanelCount> ownerDrawn_ {};
    std::array<int, PanelCount> widths_ { 130, 130, 50 };
    Overlay overlay_;
};

// A colour written as 0x00BBGGRR, the way the program's colour tables give them.
QColor colourFromBgr(std::uint32_t bgr);

// Paints a progress bar and its text over the status bar, outside the panels' own painting:
// first barRect filled with the scheme's fill colour and framed (pen width 1) in its border
// colour, then text in 7-point bold in the scheme's text colour with its top left at textPos.
// barRect covers exactly its pixels (left..right(), top..bottom()); an empty rectangle draws
// no bar. Schemes: 0 building a picture (navy, yellow text), 1 writing a file (red in black,
// white text), 2 reading a file (green in black, white text); any other number draws nothing.
// The caller makes panel 1 owner-drawn for the duration of the operation.
void StatusBar_DrawPanel(
    PanelStatusBar* statusBar, int scheme, const QRect& barRect, const QString& text, const QPoint& textPos);
