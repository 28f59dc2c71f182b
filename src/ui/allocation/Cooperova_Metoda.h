#pragma once

#include "core/allocation/ChartGeometry.h"
#include "render/ChartZoomPainter.h"
#include "core/allocation/CooperSolver.h"
#include "core/allocation/CostContours.h"
#include "core/allocation/GroupWarnings.h"
#include "core/entry/PicturePlacement.h"
#include "core/project/Project.h"
#include "ui/common/ChildWindow.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
namespace dorvan {
struct AllocationResult;
struct CooperGroupResult;
struct CooperRunCallbacks;
struct CooperRunResult;
class UserDialogs;
} // namespace dorvan

// The allocation window: the result of Cooper's method, drawn on the left, the places and the
// iteration path listed on the right. An MDI child of the main window, at most one at a time.
// It owns the solver state and the chart state, which survive between runs; every run of
// SpustiCooper overwrites them. It reads everything a run needs from the project and runs
// again when the project says the run's inputs changed.
//
// The window is split over files: Cooperova_Metoda.cpp (layout, handlers, closing, drawing),
// Cooperova_Metoda_Beh.cpp (the run driver) and Cooperova_Metoda_Mys.cpp (the mouse on the
// drawing: the selection rectangle, the zoom, a click that runs again).
class TCooperAlokMetod : public QWidget {
    Q_OBJECT
public:
    // Creating the window runs FormCreate, which makes the first run.
    TCooperAlokMetod(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TCooperAlokMetod() override;

    // Close question and closing by program.
    dorvan::ChildWindow& childWindow() { return child_; }
    // Whether the data-entry window is open: without it in sight a resize only lays out. The
    // main window tells; a window on its own counts it open.
    void setEntryWindowOpen(std::function<bool()> open) { entryWindowOpen_ = std::move(open); }

    // "Riešenie DORVAN" sets the result choice by whether the project has a picture: with one,
    // "S obrázkom" checked and all four buttons enabled; without, "Bez obrázku" and "ÁNO"
    // checked and all four disabled.
    void setResultChoiceByPicture(bool hasPicture);

    // --- What the last run and drawing left ---
    // The drawing surface as last painted.
    const QImage& image() const { return surface_; }
    // The solver's working copy as the result shown last left it.
    const dorvan::CooperState& solverState() const;
    const dorvan::ChartState& chartState() const { return chart_; }
    // The client size of the drawing area read at the start of the last run.
    int imageWidth() const { return ImageWidth; }
    int imageHeight() const { return ImageHeight; }
    // The notice of the last run shown in the window's status line, empty when there is none.
    QString runNotice() const;
    // The runs made since the window was created (runs that computed a result).
    int runsMade() const { return runsMade_; }
    // Whether the drawing area shows a zoom of the result.
    bool zoomed() const { return zoomed_; }
    // The rectangle dragged for the zoom the area shows, and the area's size then; none while
    // the area shows the whole result.
    std::optional<dorvan::ChartRect> zoomSelection() const;
    QSize zoomArea() const { return zoomArea_; }
    // Whether the result is drawn over the map picture ("S obrázkom" in picture mode).
    bool drawsOverPicture() const;
    // The axes' scales the result is drawn with ("Rovnaká mierka osí").
    dorvan::ChartScale chartScale() const;
    // The line under the lists that says how far the result can be from the optimum.
    QString certificateLine() const;
    // The position of the one-centre optimum in latitude/longitude under the certificate line,
    // empty when the project has no coordinate reference or the run had groups.
    QString positionLine() const;
    // The cost contour levels a result export takes: those of the result box while it is
    // ticked, none otherwise.
    std::vector<double> exportContourLevels() const;
    // The lines of "Kandidátske miesta": the ten cheapest places as the centre ("NAME: +0,83 %"),
    // in a group run under each solved group's header.
    QStringList candidateLines() const;

    // The tooltip for the mouse at `at` of the drawing area: the name, coordinates and, where
    // the project has a reference, latitude/longitude of the place mark under it; empty where
    // no mark is (or while a selection is dragged).
    QString placeTipAt(QPoint at) const;

    // The design client size of the window, which it also proposes to its frame.
    static constexpr int DesignClientWidth = 831;
    static constexpr int DesignClientHeight = 546;
    QSize sizeHint() const override;

public slots:
    // The run driver: copies the places, solves for one centre or for each group, fills the
    // lists, sizes the panels and draws. Does nothing while "Nastavenie premenných DORVAN" is
    // unticked.
    void SpustiCooper();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Where the drawing area sits in its frame: filling the frame, or placed freely with the
    // frame's size less 4 and 17 pixels.
    enum class ImagePlacement { FillFrame, FrameLess };

    // Cooperova_Metoda.cpp
    void buildControls();
    void FormCreate();
    void FormResize();
    bool FormZatvor();
    void onWithPictureClicked();
    void onWithoutPictureClicked();
    void onProportionalClicked();
    void onNotProportionalClicked();
    void onDefaultClicked();
    void enableResultChoice(bool pictureChoice, bool proportionChoice);
    void layOutPanels();
    void placeImage(ImagePlacement placement);
    void resizeClient(int width, int height);
    void projectChanged(dorvan::ProjectChange what);
    bool settingsOn() const;
    bool groupsOn() const;
    bool inPictureMode() const;
    dorvan::ChartDataMode dataMode() const;
    void prepareSurface();
    void ensureSurface();
    void showSurface();
    void showOverlay();
    void enlargeForChart();
    bool areaTooSmall();
    void KresliGrafCooper();
    void KresliGrafCooperSkupiny1();
    void KresliGrafCooperSkupiny2(const dorvan::CooperGroupResult& group);
    void placeImageOverPicture();
    dorvan::PictureRange pictureRange() const;
    void KresliGrafMapaCooper();
    void KresliGrafMapaCooperSkupiny1();
    void KresliGrafMapaCooperSkupiny2(const dorvan::CooperGroupResult& group);
    void rememberDrawing(dorvan::ResultDrawing::Kind kind);
    void buildScaleControl(QBoxLayout* resultChoice);

    // Cooperova_Metoda_Mys.cpp
    friend class CooperImageArea;
    void onDrawingMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void onDrawingMouseMove(Qt::KeyboardModifiers shift, int X, int Y);
    void onDrawingClicked();
    void onDrawingMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    dorvan::ChartPixel clampToImage(int X, int Y) const;
    void zoomInto(const dorvan::ChartRect& selection);

    // Cooperova_Metoda_Izociary.cpp: the certificate line and the cost contours
    void buildContourControls(QBoxLayout* resultChoice);
    void CostContoursBoxClick();
    void CostContourLevelsEdited();
    // The contours of the one-centre result, when the box is ticked and there is a result.
    std::optional<dorvan::ContourInput> oneCentreContours() const;
    // The levels for the groups' contours, when the box is ticked.
    const std::vector<double>* groupContourLevels() const;
    void showCertificate(const dorvan::CooperRunResult& res);
    void showPosition(const dorvan::CooperRunResult& res);
    void showCandidates(const dorvan::AllocationResult& result);
    void redrawResult();

    // Cooperova_Metoda_Beh.cpp
    void runOnce();
    dorvan::CooperRunCallbacks runCallbacks(bool overPicture);
    void rememberGroupDrawing(const dorvan::CooperRunResult& res, bool overPicture);
    void showOneCentreResult(const dorvan::CooperRunResult& res, bool overPicture);
    void takeWidths(const dorvan::CooperRunResult& soFar);
    void showRunNotice();
    QString separator() const;

    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    dorvan::ChildWindow& child_;
    std::function<bool()> entryWindowOpen_ = [] { return true; };
    dorvan::ProjectObservers::Observation observation_;

    // The project's result as last shown, and the last one-centre result shown: a redraw of the
    // one-centre chart draws that one (a group run leaves the one-centre path as it was).
    std::shared_ptr<const dorvan::AllocationResult> shown_;
    std::shared_ptr<const dorvan::AllocationResult> oneCentre_;
    // The chart state, kept between drawings.
    dorvan::ChartState chart_;
    int ImageWidth = 0;
    int ImageHeight = 0;
    // The chart interaction: no selection is in progress (set by FormCreate), the press point
    // and the release point in pixels of the drawing area.
    bool DragIdle = true;
    int DragStartX = 0;
    int DragStartY = 0;
    int DragEndX = 0;
    int DragEndY = 0;
    // The result as last drawn in full, and as it was at the press: while a selection is
    // dragged nothing the result depends on changes, so each move shows that drawing with the
    // rectangle over it instead of drawing (or in group mode running) it all again.
    QImage resultShown_;
    QImage pressDrawing_;
    // What the last drawing showed, to draw it again on the zoom's surface.
    dorvan::ResultDrawing drawn_;
    bool zoomed_ = false;
    dorvan::ChartRect zoomSelection_; // while zoomed_: the dragged rectangle and the area's size
    QSize zoomArea_;
    std::optional<dorvan::ZoomPlan> zoomPlan_; // while zoomed_: which pixel of F each pixel shows
    int runsMade_ = 0;

    // The drawing surface; the area widget only shows it.
    QImage surface_;
    ImagePlacement placement_ = ImagePlacement::FillFrame;

    // Panel widths as the runs set them.
    int placesWidth_ = 130; // placesBox
    int pathWidth_ = 130; // pathBox, the path or the group centres
    int panelWidth_ = 263; // resultsPanel, both lists and the result choice

    // Run bookkeeping: a run asked for while one is going (a message box, a resize of the
    // window by the run itself) is made once the current one ends.
    bool created_ = false;
    bool running_ = false;
    bool rerunPending_ = false;
    QSize laidOutSize_;
    std::vector<int> historyFullGroups_; // 0 for the one-centre run
    std::vector<std::string> ungroupedPlaces_; // places a group run left out
    // A group too small to solve is told once for the same groups, not at every run again.
    dorvan::GroupWarnings groupWarnings_;

    // The controls, with their object names.
    QGroupBox* drawingFrame = nullptr; // GroupBox3, " Grafické zobrazenie dorvan "
    QWidget* drawingArea = nullptr; // Image1, shows surface_
    QGroupBox* resultsPanel = nullptr; // GroupBox5, " Dáta a výsledky "
    QGroupBox* resultChoiceBox = nullptr; // GroupBox4, " Zobrazenie výsledkov "
    QRadioButton* withPictureButton = nullptr; // RadioButton1, "S obrázkom"
    QRadioButton* withoutPictureButton = nullptr; // RadioButton2, "Bez obrázku"
    QGroupBox* proportionBox = nullptr; // GroupBox6, " Proporcionalita "
    QRadioButton* proportionalButton = nullptr; // RadioButton3, "ÁNO"
    QRadioButton* notProportionalButton = nullptr; // RadioButton4, "NIE"
    QPushButton* defaultButton = nullptr; // Button1, "Default": runs again
    QGroupBox* pathBox = nullptr; // GroupBox2, " Výpočet dorvan "
    QLineEdit* optimumEdit = nullptr; // Edit1, the optimum of a one-centre run
    QListWidget* pathList = nullptr; // ListBox1, the iteration path or the group centres
    QGroupBox* placesBox = nullptr; // GroupBox1, " Miesta "
    QListWidget* placeList = nullptr; // ListBox2, the places of the run
    QGroupBox* candidatesBox = nullptr; // GroupBox7, " Kandidátske miesta "
    QListWidget* CandidateList = nullptr;
    QLabel* RunNotice = nullptr;
    QLabel* PositionLine = nullptr;
    QLabel* CertificateLine = nullptr;
    QCheckBox* EqualScaleBox = nullptr; // "Rovnaká mierka osí"
    QCheckBox* CostContoursBox = nullptr;
    QLineEdit* CostContourLevels = nullptr;
    std::vector<double> contourLevels_;
    QString acceptedLevelsText_; // the levels' text as last accepted
};

