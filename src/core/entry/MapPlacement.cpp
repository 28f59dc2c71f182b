#include "core/entry/MapPlacement.h"

#include "core/common/DecimalText.h"
#include "core/common/MapRaster.h"
#include "core/common/Rounding.h"
#include "core/entry/MapPictureDecoder.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace dorvan {

KilometresText parseKilometres(std::string_view text)
{
    const std::string_view t = trimBlanks(text);
    if (t.empty())
        return {};
    if (!std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return { std::nullopt, false };
    const auto n = parseWholeNumber(t);
    if (!n || *n < 1 || *n > 1'000'000)
        return { std::nullopt, false };
    return { static_cast<int>(*n), true };
}

std::optional<ScaleKm> scaleRanges(
    std::optional<int> widthKm, std::optional<int> heightKm, int pictureWidth, int pictureHeight)
{
    if ((!widthKm && !heightKm) || pictureWidth < 1 || pictureHeight < 1)
        return std::nullopt;
    const auto follow = [](int km, int along, int across) {
        return std::max(1, roundToInt(static_cast<long double>(km) * across / along));
    };
    ScaleKm s;
    s.x = widthKm ? *widthKm : follow(*heightKm, pictureHeight, pictureWidth);
    s.y = heightKm ? *heightKm : follow(*widthKm, pictureWidth, pictureHeight);
    return s;
}

namespace {

MapLoad refusedLoad(std::string message)
{
    MapLoad m;
    m.message = std::move(message);
    return m;
}

// A bitmap or a JPEG without a georeference keeps the program's own readers and their messages.
std::optional<MapLoad> ownReader(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char head[3] = {};
    if (!in.read(head, 3))
        return std::nullopt;
    const bool bmp = head[0] == 'B' && head[1] == 'M';
    const bool jpeg
        = static_cast<unsigned char>(head[0]) == 0xFF && static_cast<unsigned char>(head[1]) == 0xD8;
    if (!bmp && !jpeg)
        return std::nullopt;
    // No bitmap or JPEG of an acceptable size needs more than its pixels at four bytes each, a
    // palette and a header.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > RgbPicture::MaxBytes / 3 * 4 + 65536)
        return refusedLoad(PlainPictureTooLargeText);
    in.seekg(0);
    const std::vector<std::uint8_t> bytes(
        (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MapPictureResult r = tryDecodeMapPicture(bytes);
    if (!r.ok())
        return refusedLoad(r.message);
    MapLoad m;
    m.kind = MapLoad::Picture;
    m.picture = std::move(*r.picture);
    return m;
}

MapLoad plainRaster(const RasterFile& file)
{
    if (!RgbPicture::sizeAcceptable(file.width(), file.height()))
        return refusedLoad(PlainPictureTooLargeText);
    std::string message;
    auto pixels = file.readRgb(message);
    if (!pixels)
        return refusedLoad(message);
    MapLoad m;
    m.kind = MapLoad::Picture;
    m.picture.resizeForOverwrite(pixels->width, pixels->height);
    std::copy(pixels->rgb.begin(), pixels->rgb.end(), m.picture.data().begin());
    return m;
}

} // namespace

MapLoadInputs mapLoadInputs(const Project& project, int placeCount)
{
    MapLoadInputs in;
    in.reference = geo::projectReference(project.Record);
    if (in.reference) {
        for (int i = 1; i <= std::clamp(placeCount, 0, MaxPlaceCount); ++i)
            in.places.push_back({ project.Record.PlaceX[i], project.Record.PlaceY[i] });
    }
    return in;
}

bool sameInputs(const MapLoadInputs& a, const MapLoadInputs& b)
{
    return a.reference == b.reference
        && std::equal(a.places.begin(), a.places.end(), b.places.begin(), b.places.end(),
            [](const geo::PlanarPoint& p, const geo::PlanarPoint& q) { return p.x == q.x && p.y == q.y; });
}

MapLoad loadMapFile(const std::string& path, const Project& project, int placeCount, std::optional<int> epsg)
{
    return loadMapFile(path, mapLoadInputs(project, placeCount), epsg);
}

MapLoad loadMapFile(const std::string& path, const MapLoadInputs& inputs, std::optional<int> epsg,
    const StepProgress& progress)
{
    RasterOpen opened = RasterFile::open(path);
    if (!opened.ok() || !opened.file->georeference()) {
        if (auto own = ownReader(path))
            return std::move(*own);
        if (!opened.ok())
            return refusedLoad(opened.message);
        return plainRaster(*opened.file);
    }
    const RasterFile& file = *opened.file;
    const std::uint64_t sourceBytes = std::uint64_t { 3 } * static_cast<std::uint64_t>(file.width())
        * static_cast<std::uint64_t>(file.height());
    if (sourceBytes > MaxWarpBytes)
        return refusedLoad(WarpTooLargeText);
    if (!epsg && file.georeference()->system.empty()) {
        MapLoad m = refusedLoad(geo::MapSystemQuestion);
        m.kind = MapLoad::NeedsSystem;
        return m;
    }
    const auto share = [&progress](double from) {
        return StepProgress(
            [&progress, from](double done) { return !progress || progress(from + done / 2.0); });
    };
    const auto stoppedLoad = [] {
        MapLoad m = refusedLoad(RasterStoppedText);
        m.kind = MapLoad::Stopped;
        return m;
    };
    std::string message;
    const auto pixels = file.readRgb(message, share(0.0));
    if (!pixels)
        return message == RasterStoppedText ? stoppedLoad() : refusedLoad(message);
    geo::MapFitRequest request;
    request.reference = inputs.reference;
    request.epsg = epsg;
    if (request.reference)
        request.places = inputs.places;
    geo::MapFitResult r = geo::fitMap(*pixels, *file.georeference(), request, share(0.5));
    if (r.stopped)
        return stoppedLoad();
    if (r.needsSystem) {
        MapLoad m = refusedLoad(r.message);
        m.kind = MapLoad::NeedsSystem;
        return m;
    }
    if (!r.ok())
        return refusedLoad(r.message);
    MapLoad m;
    m.kind = MapLoad::Map;
    m.fit = std::move(r.fit);
    return m;
}

std::string placesOutsideText(int count)
{
    const std::string n = std::to_string(count);
    if (count == 1)
        return n + " miesto leží mimo mapy";
    if (count >= 2 && count <= 4)
        return n + " miesta ležia mimo mapy";
    return n + " miest leží mimo mapy";
}

bool farFromEveryPlace(const geo::MapFit& fit)
{
    return fit.placesChecked > 0 && fit.placesOutside == fit.placesChecked;
}

std::string farMapQuestion(const geo::MapFit& fit)
{
    const long km = std::max(1L, std::lround(fit.nearestOutsideKm));
    return "Žiadne miesto projektu neleží na mape, najbližšie je " + std::to_string(km)
        + " km od jej okraja. Vložiť MAPU aj tak ?!!";
}

namespace {

void takePicture(Project& project, RgbPicture picture, int rangeX, int rangeY)
{
    auto& r = project.Record;
    auto& s = project.State;
    project.MapPicture = std::move(picture);
    r.PictureWidth = project.MapPicture.width();
    r.PictureHeight = project.MapPicture.height();
    r.MapRangeX = s.PictureRangeX = rangeX;
    r.MapRangeY = s.PictureRangeY = rangeY;
    s.MapPictureOwned = true;
    s.PictureMode = true;
}

} // namespace

void placeFittedMap(Project& project, int placeCount, geo::MapFit fit)
{
    auto& r = project.Record;
    geo::setProjectReference(r, fit.reference);
    if (fit.shiftX != 0.0 || fit.shiftY != 0.0) {
        for (int i = 1; i <= std::clamp(placeCount, 0, MaxPlaceCount); ++i) {
            r.PlaceX[i] = fourDecimals(r.PlaceX[i] + fit.shiftX);
            r.PlaceY[i] = fourDecimals(r.PlaceY[i] + fit.shiftY);
        }
        project.changed(ProjectChange::Places | ProjectChange::Coordinates);
    }
    takePicture(project, std::move(fit.picture), fit.rangeX, fit.rangeY);
}

void placeScaledPicture(Project& project, RgbPicture picture, ScaleKm scale)
{
    if (!geo::projectReference(project.Record))
        geo::markScaledPicture(project.Record);
    takePicture(project, std::move(picture), scale.x, scale.y);
}

bool rangesFixed(const TProjectRecord& record)
{
    return record.hasPicture() && (geo::isScaledPicture(record) || geo::projectReference(record).has_value());
}

bool plainPictureNeedsScale(const TProjectRecord& record)
{
    return geo::projectReference(record).has_value();
}

std::optional<Kilometres> kilometresFromPixel(int x, int y, int width, int height, int rangeX, int rangeY)
{
    if (width < 1 || height < 2)
        return std::nullopt;
    const long double X = static_cast<long double>(x) * rangeX / width;
    const long double Y = static_cast<long double>(height - y - 1) * rangeY / (height - 1);
    return Kilometres { fourDecimals(static_cast<double>(X)), fourDecimals(static_cast<double>(Y)) };
}

} // namespace dorvan
