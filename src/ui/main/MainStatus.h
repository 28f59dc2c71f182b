#pragma once

#include <QObject>
#include <QString>

class PanelStatusBar;
class QMainWindow;
class QTimer;
namespace dorvan {
class ProgressTracker;
} // namespace dorvan

// What the main window's status bar tells: the clock in panel 0, messages in panels 1 and 2,
// and the progress of saving, opening or a long step of the data-entry window drawn over
// panel 1.
class MainStatus : public QObject {
    Q_OBJECT
public:
    // Puts the status bar (StatusBar1) and its clock (Timer1, not yet started) into the frame.
    explicit MainStatus(QMainWindow& frame);

    // The text shown in panel 1 after every change of an input value.
    static QString changedValuesText();

    PanelStatusBar* bar() const { return bar_; }
    void setText(int panel, const QString& text);
    QString text(int panel) const;
    // The clock's tick: date and time of the system in panel 0.
    void onClockTick();
    void startClock();

    // A save or open under way: panel 2 says which, panel 1 is given over to the progress.
    void beginFileOperation(const QString& message);
    void endFileOperation();
    // Panel 1 back to plain text, panel 2 left as it is (a refusal's message follows).
    void dropProgress();
    // The progress drawing after a row of a picture was written, read or built.
    void showFileProgress(dorvan::ProgressTracker& tracker, int row, int scheme);
    // The progress of a long step of the data-entry window, drawn as reading a file is (panel 1
    // owner-drawn, the bar in green) while the event loop runs on.
    void showStepProgress(const QString& text, int percent);
    void endStepProgress();

signals:
    // A progress display of saving or opening was just painted on the status bar.
    void fileProgressDrawn(int scheme, int row);

private:
    PanelStatusBar* bar_ = nullptr;
    QTimer* clock_ = nullptr;
};
