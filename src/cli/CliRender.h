#pragma once

// "dorvan-cli render": the result chart as the allocation window draws it, painted off screen.

#include "core/cli/CliArguments.h"
#include "core/entry/PicturePlacement.h"

#include <QImage>

#include <QGuiApplication>

#include <iosfwd>
#include <optional>
#include <string>

namespace dorvan::cli {

// The drawing of a run on a surface of the requested size, the same pixels the allocation
// window's surface holds after the same run. Needs a QGuiApplication. Throws UsageError for a
// project that cannot be read.
QImage renderChart(const RenderOptions& options, std::ostream& err);

// The drawing area of a requested size: that size, or, drawn over a map picture of `picture`
// pixels, the area within a frame that holds one of that size ("NIE": exactly that size; "ÁNO":
// the picture's proportions within it).
QSize drawingArea(QSize size, const std::optional<PixelSize>& picture, bool proportional);

// Makes a QGuiApplication on the offscreen platform in app when there is none, and shows numbers
// the Slovak way.
void startOffscreenGui(std::optional<QGuiApplication>& app);

// Writes a PNG picture or a one-page PDF of the image's size; a file that cannot be written is
// a UsageError and leaves any earlier file as it was.
void writePicture(const QImage& image, const std::string& out, bool pdf);

// Renders and writes the PNG or PDF file; makes its own QGuiApplication on the offscreen
// platform when there is none.
int renderCommand(const RenderOptions& options, std::ostream& out, std::ostream& err);

// render PLACES: the groups of a place list (or its one centre) drawn into a PNG picture, a
// point per place in its group's colour (CliListRender.cpp).
int renderListCommand(const RenderOptions& options, std::ostream& out, std::ostream& err);

} // namespace dorvan::cli
