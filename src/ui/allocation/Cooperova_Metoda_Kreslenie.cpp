// The allocation window's drawings: the chart of the result and of the groups, without and
// over the map picture, onto the window's drawing surface.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/MapChartGeometry.h"
#include "core/project/Project.h"
#include "render/ChartPainter.h"
#include "render/CooperRunPainter.h"
#include "render/MapChartPainter.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QWidget>

// A surface of the drawing area's size for a drawing that paints it whole.
void TCooperAlokMetod::prepareSurface()
{
    const QSize wanted = drawingArea->size();
    if (surface_.size() == wanted)
        return;
    if (wanted.isEmpty()) {
        surface_ = QImage();
        return;
    }
    surface_ = dorvan::cooperSurface(wanted);
}

// A drawing of the result: the area shows it, and it is the result a selection is dragged over.
void TCooperAlokMetod::showSurface()
{
    resultShown_ = surface_;
    drag_->drawingShown();
    drawingArea->update();
}

// What a one-centre drawing showed, so that the zoom can draw it again.
void TCooperAlokMetod::rememberDrawing(dorvan::ResultDrawing::Kind kind)
{
    drawn_ = {};
    drawn_.kind = kind;
    drawn_.places = dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount);
    drawn_.mode = dorvan::allocation::dataMode(project_);
    drawn_.path = oneCentre_ ? oneCentre_->path() : std::vector<dorvan::IteratePoint> {};
    drawn_.range = { project_.State.PictureRangeX, project_.State.PictureRangeY };
    drawn_.contours = oneCentreContours();
    drawn_.scale = options_->scale();
}

// A drawing area too small for the chart: the window takes the two lists and a little more.
void TCooperAlokMetod::enlargeForChart()
{
    const dorvan::ChartWindowSize fallback = dorvan::chartFallbackSize(lists_->placesWidth(), lists_->pathWidth());
    resizeClient(fallback.clientWidth, fallback.clientHeight);
}

// An area too small for the chart is not drawn on: the last picture stays (the surface is not
// replaced by an empty one) and the window grows to hold the lists and a little chart.
bool TCooperAlokMetod::areaTooSmall()
{
    if (!dorvan::chartTooSmall(drawingArea->width(), drawingArea->height()))
        return false;
    enlargeForChart();
    return true;
}

void TCooperAlokMetod::KresliGrafCooper()
{
    if (areaTooSmall())
        return;
    prepareSurface();
    const auto places = dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount);
    const auto path = oneCentre_ ? oneCentre_->path() : std::vector<dorvan::IteratePoint> {};
    const std::optional<dorvan::ContourInput> contours = oneCentreContours();
    if (dorvan::KresliGrafCooper(
            surface_, places, path, dorvan::allocation::dataMode(project_), chart_, {}, contours ? &*contours : nullptr,
            options_->scale())) {
        showSurface();
        rememberDrawing(dorvan::ResultDrawing::Kind::Chart);
    } else
        enlargeForChart();
}

void TCooperAlokMetod::KresliGrafCooperSkupiny1()
{
    if (areaTooSmall())
        return;
    prepareSurface();
    if (dorvan::KresliGrafCooperSkupiny1(surface_,
            dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount), chart_, {}, options_->scale()))
        showSurface();
    else
        enlargeForChart();
}

// The current group over the background, in its colour.
void TCooperAlokMetod::KresliGrafCooperSkupiny2(const dorvan::CooperGroupResult& group)
{
    // A drawing over what the surface shows needs a surface, whatever its size.
    if (surface_.isNull())
        prepareSurface();
    if (surface_.isNull())
        return;
    dorvan::paintListedGroup(surface_, chart_, group, false, {}, options_->contourLevels());
    showSurface();
}

// ----------------------------------------------------------------------------------------------
// Drawing over the map picture ("S obrázkom")

// The drawing area over the picture takes its size from the picture and the frame, by the
// " Proporcionalita " choice, at the frame's top left, and a blank surface of that size.
void TCooperAlokMetod::placeImageOverPicture()
{
    const dorvan::PixelSize area
        = dorvan::mapDrawingArea(dorvan::mapPictureSize(project_.MapPicture, project_.Record),
            { drawingFrame->width(), drawingFrame->height() }, proportionalButton->isChecked());
    placement_ = ImagePlacement::FrameLess;
    drawingArea->setGeometry(2, drawingFrame->contentsRect().top(), area.width, area.height);
    surface_ = dorvan::cooperSurface(drawingArea->size());
}

void TCooperAlokMetod::KresliGrafMapaCooper()
{
    placeImageOverPicture();
    if (surface_.isNull())
        return;
    const auto places = dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount);
    const auto path = oneCentre_ ? oneCentre_->path() : std::vector<dorvan::IteratePoint> {};
    const std::optional<dorvan::ContourInput> contours = oneCentreContours();
    const bool drawn = dorvan::KresliGrafMapaCooper(surface_, dorvan::mapPictureImage(project_.MapPicture),
        dorvan::PictureRange { project_.State.PictureRangeX, project_.State.PictureRangeY }, places, path, chart_, {}, contours ? &*contours : nullptr);
    showSurface();
    rememberDrawing(dorvan::ResultDrawing::Kind::Map);
    // Too small for more than the frame and the picture: the window takes the lists and a
    // little more.
    if (!drawn)
        enlargeForChart();
}

void TCooperAlokMetod::KresliGrafMapaCooperSkupiny1()
{
    placeImageOverPicture();
    if (surface_.isNull())
        return;
    const bool drawn
        = dorvan::KresliGrafMapaCooperSkupiny1(surface_, dorvan::mapPictureImage(project_.MapPicture),
            dorvan::PictureRange { project_.State.PictureRangeX, project_.State.PictureRangeY }, dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount), chart_);
    showSurface();
    if (!drawn)
        enlargeForChart();
}

// The current group over the picture background, in its colour.
void TCooperAlokMetod::KresliGrafMapaCooperSkupiny2(const dorvan::CooperGroupResult& group)
{
    if (surface_.isNull())
        prepareSurface();
    if (surface_.isNull())
        return;
    dorvan::paintListedGroup(surface_, chart_, group, true, {}, options_->contourLevels());
    showSurface();
}

// ----------------------------------------------------------------------------------------------
// The options of the drawing

std::optional<dorvan::ContourInput> TCooperAlokMetod::oneCentreContours() const
{
    const std::vector<double>* levels = options_->contourLevels();
    if (levels == nullptr || !oneCentre_)
        return std::nullopt;
    const std::vector<dorvan::IteratePoint> path = oneCentre_->path();
    if (path.empty())
        return std::nullopt;
    return dorvan::ContourInput { dorvan::oneCentreCostSites(oneCentre_->state), path.back(), *levels };
}

std::vector<double> TCooperAlokMetod::exportContourLevels() const
{
    const std::vector<double>* levels = options_->contourLevels();
    return levels != nullptr ? *levels : std::vector<double> {};
}

// The drawing as the last run left it, with or without the contours. A group run is shown
// again as the run told it, as a resize in group mode does.
void TCooperAlokMetod::redrawResult()
{
    if (!dorvan::allocation::settingsOn(project_))
        return;
    if (dorvan::allocation::groupsOn(project_)) {
        SpustiCooper();
        return;
    }
    if (!oneCentre_ || oneCentre_->run.finalIter < 1)
        return;
    if (drawsOverPicture() && project_.Record.PictureWidth > 0 && project_.Record.PictureHeight > 0)
        KresliGrafMapaCooper();
    else
        KresliGrafCooper();
}
