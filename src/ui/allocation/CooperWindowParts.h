#pragma once

// Parts of the allocation window, each a small class of its own that the window holds: the
// lists of the results panel, the chart's options of the result box and the drag on the
// drawing. A part knows its own
// controls only; what it shows it gets from the window as data (the project's allocation
// result, the record), and what it asks of the window is a callback.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/ChartZoom.h"
#include "core/project/Project.h"
#include "render/ChartZoomPainter.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

namespace dorvan {
struct AllocationResult;
struct CooperRunResult;
class UserDialogs;
} // namespace dorvan

namespace dorvan::allocation {

// The window's state read from the project.
bool settingsOn(const Project& project); // "Nastavenie premenných DORVAN"
bool groupsOn(const Project& project); // "Definovanie distribučných skupín - DORVAN"
ChartDataMode dataMode(const Project& project); // the main window's data mode
// The locale's decimal separator (UTF-8), as the lists write numbers.
std::string decimalSeparator();

// The lists of " Dáta a výsledky ": the iteration path or the group centres (GroupBox2 with
// Edit1 and ListBox1), the places (GroupBox1, ListBox2), the candidate sites under both
// (GroupBox7) and the status lines at the foot (the certificate, the position, the notice).
// The boxes are as wide as their longest line (7 pixels a character and 10 more).
class ResultLists {
public:
    // The results panel is 5 pixels wider than the two lists inside it.
    static constexpr int ListsGap = 5;

    explicit ResultLists(QWidget* panel);

    // A run begins: both lists emptied; a group run hides the optimum field.
    void startRun(bool groupRun);
    // Adds the lines of the result so far that the lists do not show yet (a group run lists
    // group by group).
    void append(const CooperRunResult& soFar);
    // The widths of both boxes for the result so far. In a group run the place box is measured
    // for the longest line a place of the project could take, and the path box starts at 300
    // pixels when group 1 has a centre, at 200 when it has too few members.
    void takeWidths(const CooperRunResult& soFar, const Project& project, const std::string& separator);
    // A one-centre run's optimum in Edit1.
    void showOptimum(const QString& text);
    // After the run: the certificate line with the groups' gaps and positions in the tooltips of
    // their centre lines, the position line, the candidate sites and the run's notice.
    void showResult(
        const AllocationResult& result, const TProjectRecord& record, const std::string& separator);
    // Lays the boxes out in the panel's inner rectangle below top, the status lines at its foot.
    void layOut(const QRect& inner, int top);

    int placesWidth() const { return placesWidth_; }
    int pathWidth() const { return pathWidth_; }

    // What the lines under the lists show; empty when a line is hidden.
    QString runNotice() const;
    QString certificateLine() const;
    QString positionLine() const;
    // The lines of "Kandidátske miesta".
    QStringList candidateLines() const;

private:
    void showCertificate(
        const AllocationResult& result, const TProjectRecord& record, const std::string& separator);
    void showPosition(
        const AllocationResult& result, const TProjectRecord& record, const std::string& separator);
    void showCandidates(const AllocationResult& result, const std::string& separator);
    void showNotice(const CooperRunResult& run);

    QGroupBox* pathBox = nullptr; // GroupBox2, " Výpočet dorvan "
    QLineEdit* optimumEdit = nullptr; // Edit1, the optimum of a one-centre run
    QListWidget* pathList = nullptr; // ListBox1, the iteration path or the group centres
    QGroupBox* placesBox = nullptr; // GroupBox1, " Miesta "
    QListWidget* placeList = nullptr; // ListBox2, the places of the run
    QGroupBox* candidatesBox = nullptr; // GroupBox7, " Kandidátske miesta "
    QListWidget* candidateList = nullptr; // CandidateList
    QLabel* noticeLabel = nullptr; // RunNotice
    QLabel* positionLabel = nullptr; // PositionLine
    QLabel* certificateLabel = nullptr; // CertificateLine
    int placesWidth_ = 130;
    int pathWidth_ = 130;
};

// The chart's options in the result box: "Izočiary nákladov" with its levels and "Rovnaká
// mierka osí". Each change that alters the drawing calls redraw.
class ChartOptions {
public:
    ChartOptions(
        QBoxLayout* resultChoice, UserDialogs& dialogs, QWidget* window, std::function<void()> redraw);

    ChartScale scale() const;
    // The contour levels while the box is ticked, none (a null pointer) otherwise.
    const std::vector<double>* contourLevels() const;

private:
    void levelsEdited();

    UserDialogs& dialogs_;
    QWidget* window_;
    std::function<void()> redraw_;
    QCheckBox* equalScaleBox = nullptr; // EqualScaleBox
    QCheckBox* contoursBox = nullptr; // CostContoursBox
    QLineEdit* levelsEdit = nullptr; // CostContourLevels
    std::vector<double> levels_;
    QString acceptedLevelsText_; // the levels' text as last accepted
};

// What the drag on the drawing works with: the drawing area, the surface it shows, the result
// as last drawn in full and what that drawing showed, and the chart state it left.
struct DrawingView {
    QWidget* area = nullptr; // Image1
    QImage* surface = nullptr;
    const QImage* shown = nullptr;
    const ResultDrawing* drawn = nullptr;
    ChartState* chart = nullptr;
};

// The mouse on the drawing: a drag selects a rectangle, shown over the result while the mouse
// moves and magnified over the whole area when the button is released; a click, or a release
// without a real selection, runs the allocation again (run). Press, move and release act only
// while "Nastavenie premenných DORVAN" is ticked.
class ChartDrag {
public:
    ChartDrag(const Project& project, DrawingView view, std::function<void()> run);

    void press(int X, int Y);
    void move(int X, int Y);
    // The click of the left button released over the area, which comes before its release.
    void click();
    void release(int X, int Y);
    // The whole result was drawn again: a zoom shown ends.
    void drawingShown() { zoomed_ = false; }

    bool zoomed() const { return zoomed_; }
    // The rectangle dragged for the zoom shown and the area's size then; none without a zoom.
    std::optional<ChartRect> selection() const;
    QSize selectionArea() const { return zoomArea_; }
    // The pixel of the drawing shown (in a zoom, of the zoom's surface F) under the mouse at
    // `at`; none while a selection is dragged or where a zoom has no plan.
    std::optional<ChartPixel> drawingPixel(QPoint at) const;

private:
    ChartPixel clamped(int X, int Y) const;
    void zoomInto(const ChartRect& selection);

    const Project& project_;
    DrawingView view_;
    std::function<void()> run_;
    // No selection is in progress, the press point and the release point in pixels of the area.
    bool DragIdle = true;
    int DragStartX = 0;
    int DragStartY = 0;
    int DragEndX = 0;
    int DragEndY = 0;
    // The result as drawn at the press: while a selection is dragged nothing the result depends
    // on changes, so each move shows that drawing with the rectangle over it.
    QImage pressDrawing_;
    bool zoomed_ = false;
    ChartRect zoomSelection_; // while zoomed_: the dragged rectangle and the area's size
    QSize zoomArea_;
    std::optional<ZoomPlan> zoomPlan_; // while zoomed_: which pixel of F each pixel shows
};

} // namespace dorvan::allocation
