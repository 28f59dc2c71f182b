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

// "Rovnaká mierka osí": unticked, each axis fills the drawing area; ticked, both axes share
// one scale, so that distances look true. The chart is drawn again at once.
void TCooperAlokMetod::buildScaleControl(QBoxLayout* resultChoice)
{
    EqualScaleBox = new QCheckBox(QString::fromUtf8("Rovnaká mierka osí"));
    EqualScaleBox->setObjectName("EqualScaleBox");
    resultChoice->addWidget(EqualScaleBox);
    connect(EqualScaleBox, &QCheckBox::clicked, this, &TCooperAlokMetod::redrawResult);
}

dorvan::ChartScale TCooperAlokMetod::chartScale() const
{
    return EqualScaleBox->isChecked() ? dorvan::ChartScale::Equal : dorvan::ChartScale::Free;
}

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

// A drawing over what the surface shows needs a surface, whatever its size.
void TCooperAlokMetod::ensureSurface()
{
    if (surface_.isNull())
        prepareSurface();
}

// A drawing of the result: the area shows it, and it is the result a selection is dragged over.
void TCooperAlokMetod::showSurface()
{
    resultShown_ = surface_;
    zoomed_ = false;
    drawingArea->update();
}

// Something over the result or instead of it (the selection rectangle, the zoom).
void TCooperAlokMetod::showOverlay()
{
    drawingArea->update();
}

// What a one-centre drawing showed, so that the zoom can draw it again.
void TCooperAlokMetod::rememberDrawing(dorvan::ResultDrawing::Kind kind)
{
    drawn_ = {};
    drawn_.kind = kind;
    drawn_.places = dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount);
    drawn_.mode = dataMode();
    drawn_.path = oneCentre_ ? oneCentre_->path() : std::vector<dorvan::IteratePoint> {};
    drawn_.range = pictureRange();
    drawn_.contours = oneCentreContours();
    drawn_.scale = chartScale();
}

// A drawing area too small for the chart: the window takes the two lists and a little more.
void TCooperAlokMetod::enlargeForChart()
{
    const dorvan::ChartWindowSize fallback = dorvan::chartFallbackSize(placesWidth_, pathWidth_);
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
            surface_, places, path, dataMode(), chart_, {}, contours ? &*contours : nullptr, chartScale())) {
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
            dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount), chart_, {}, chartScale()))
        showSurface();
    else
        enlargeForChart();
}

// The current group over the background, in its colour.
void TCooperAlokMetod::KresliGrafCooperSkupiny2(const dorvan::CooperGroupResult& group)
{
    ensureSurface();
    if (surface_.isNull())
        return;
    dorvan::paintListedGroup(surface_, chart_, group, false, {}, groupContourLevels());
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

dorvan::PictureRange TCooperAlokMetod::pictureRange() const
{
    return { project_.State.PictureRangeX, project_.State.PictureRangeY };
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
        pictureRange(), places, path, chart_, {}, contours ? &*contours : nullptr);
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
            pictureRange(), dorvan::projectChartPlaces(project_.Record, project_.State.PlaceCount), chart_);
    showSurface();
    if (!drawn)
        enlargeForChart();
}

// The current group over the picture background, in its colour.
void TCooperAlokMetod::KresliGrafMapaCooperSkupiny2(const dorvan::CooperGroupResult& group)
{
    ensureSurface();
    if (surface_.isNull())
        return;
    dorvan::paintListedGroup(surface_, chart_, group, true, {}, groupContourLevels());
    showSurface();
}
