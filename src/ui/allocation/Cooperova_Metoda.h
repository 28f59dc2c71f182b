#pragma once

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CooperSolver.h"
#include "core/allocation/CostContours.h"
#include "core/allocation/GroupWarnings.h"
#include "core/entry/PicturePlacement.h"
#include "core/project/Project.h"
#include "render/ChartZoomPainter.h"
#include "ui/allocation/CooperWindowParts.h"
#include "ui/common/ChildWindow.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QBoxLayout;
class QGroupBox;
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
// It shows the project's allocation result, which the core makes once for the same inputs
// (AllocationResults), and runs again when the project says the run's inputs changed; the
// chart state survives between drawings.
//
// The window is split over files by concern, its parts are small classes of their own
// (CooperWindowParts.h): Cooperova_Metoda.cpp (layout, the result choice, resizing, closing),
// Cooperova_Metoda_Beh.cpp (the run: the result shown as the run told it),
// Cooperova_Metoda_Kreslenie.cpp (the drawings, with the cost contours of the one-centre result),
// Cooperova_Metoda_Zoznamy.cpp (the parts ResultLists, the lists and the lines under them, and
// ChartOptions, "Izočiary nákladov" and "Rovnaká mierka osí") and Cooperova_Metoda_Mys.cpp (the
// part ChartDrag, the mouse on the drawing: the selection rectangle, the zoom, a click that runs
// again; and the tooltip of a place mark).
class TCooperAlokMetod : public QWidget {
    Q_OBJECT
public:
    // Creating the window runs FormCreate, which makes the first run.
    TCooperAlokMetod(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);

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
    // The runs made since the window was created (runs that showed a result).
    int runsMade() const { return runsMade_; }
    // Whether the drawing area shows a zoom of the result.
    bool zoomed() const { return drag_->zoomed(); }
    // The rectangle dragged for the zoom the area shows, and the area's size then; none while
    // the area shows the whole result.
    std::optional<dorvan::ChartRect> zoomSelection() const { return drag_->selection(); }
    QSize zoomArea() const { return drag_->selectionArea(); }
    // Whether the result is drawn over the map picture ("S obrázkom" in picture mode).
    bool drawsOverPicture() const;
    // The axes' scales the result is drawn with ("Rovnaká mierka osí").
    dorvan::ChartScale chartScale() const { return options_->scale(); }
    // The cost contour levels a result export takes: those of the result box while it is
    // ticked, none otherwise.
    std::vector<double> exportContourLevels() const;
    // The lists and the lines under them: the notice of the last run, the certificate line, the
    // position line, the candidate sites.
    const dorvan::allocation::ResultLists& lists() const { return *lists_; }

    // The tooltip for the mouse at `at` of the drawing area: the name, coordinates and, where
    // the project has a reference, latitude/longitude of the place mark under it; empty where
    // no mark is (or while a selection is dragged).
    QString placeTipAt(QPoint at) const;

    // The design client size of the window, which it also proposes to its frame.
    static constexpr int DesignClientWidth = 831;
    static constexpr int DesignClientHeight = 546;
    QSize sizeHint() const override;

public slots:
    // The run driver: reads the project's result, fills the lists, sizes the panels and draws.
    // Does nothing while "Nastavenie premenných DORVAN" is unticked.
    void SpustiCooper();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Where the drawing area sits in its frame: filling the frame, or placed freely with the
    // frame's size less 4 and 17 pixels.
    enum class ImagePlacement { FillFrame, FrameLess };

    // Cooperova_Metoda.cpp
    friend class CooperImageArea;
    void buildControls();
    void FormCreate();
    void FormResize();
    bool FormZatvor();
    void onWithPictureClicked();
    void onWithoutPictureClicked();
    // "ÁNO" and "NIE" alike.
    void onProportionalClicked();
    void enableResultChoice(bool pictureChoice, bool proportionChoice);
    void layOutPanels();
    void placeImage(ImagePlacement placement);
    void resizeClient(int width, int height);

    // Cooperova_Metoda_Kreslenie.cpp
    void prepareSurface();
    void showSurface();
    void enlargeForChart();
    bool areaTooSmall();
    void KresliGrafCooper();
    void KresliGrafCooperSkupiny1();
    void KresliGrafCooperSkupiny2(const dorvan::CooperGroupResult& group);
    void placeImageOverPicture();
    void KresliGrafMapaCooper();
    void KresliGrafMapaCooperSkupiny1();
    void KresliGrafMapaCooperSkupiny2(const dorvan::CooperGroupResult& group);
    void rememberDrawing(dorvan::ResultDrawing::Kind kind);
    // The contours of the one-centre result, when the box is ticked and there is a result.
    std::optional<dorvan::ContourInput> oneCentreContours() const;
    // The drawing as the last run left it, with the options as they now stand.
    void redrawResult();

    // Cooperova_Metoda_Beh.cpp
    void runOnce();
    dorvan::CooperRunCallbacks runCallbacks(bool overPicture);

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
    // The result as last drawn in full: a selection is dragged over it.
    QImage resultShown_;
    // What the last drawing showed, to draw it again on the zoom's surface.
    dorvan::ResultDrawing drawn_;
    int runsMade_ = 0;

    // The drawing surface; the area widget only shows it.
    QImage surface_;
    ImagePlacement placement_ = ImagePlacement::FillFrame;
    int panelWidth_ = 263; // resultsPanel, both lists and the result choice

    // Run bookkeeping: a run asked for while one is going (a message box, a resize of the
    // window by the run itself) is made once the current one ends.
    bool created_ = false;
    bool running_ = false;
    bool rerunPending_ = false;
    QSize laidOutSize_;
    // A group too small to solve is told once for the same groups, not at every run again.
    dorvan::GroupWarnings groupWarnings_;

    // The controls, with their object names, and the parts that hold the others.
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
    std::unique_ptr<dorvan::allocation::ResultLists> lists_;
    std::unique_ptr<dorvan::allocation::ChartOptions> options_;
    std::unique_ptr<dorvan::allocation::ChartDrag> drag_;
};
