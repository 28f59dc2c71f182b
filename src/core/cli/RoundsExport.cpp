#include "core/cli/RoundsExport.h"

#include "core/cli/JsonWriter.h"

namespace dorvan::cli {

namespace {

void roundProperties(JsonWriter& j, const RoundsProblem& p, const Round& r)
{
    j.key("places");
    j.beginArray(true);
    for (int s : r.stops)
        j.value(p.names[static_cast<std::size_t>(s)]);
    j.endArray();
    j.key("length");
    j.value(r.length);
    j.key("load");
    j.value(r.load);
    j.key("time");
    j.value(r.time);
}

// The project's X/Y of a node: its place's, or the depot point.
geo::PlanarPoint nodePoint(const TProjectRecord& record, const RoundsProblem& p, int node)
{
    const int place = p.placeNo[static_cast<std::size_t>(node)];
    if (place == 0)
        return { p.depotX, p.depotY };
    return { record.PlaceX[place], record.PlaceY[place] };
}

} // namespace

std::string roundsJson(const std::string& project, const RoundsProblem& p, const RoundsPlan& plan)
{
    JsonWriter j;
    j.beginObject();
    j.key("project");
    j.value(project);
    j.key("depot");
    j.beginObject(true);
    j.key("name");
    j.value(p.names[0]);
    j.key("x");
    j.value(p.depotX);
    j.key("y");
    j.value(p.depotY);
    j.key("place");
    j.value(p.depotIsPlace);
    j.endObject();
    j.key("rounds");
    j.beginArray();
    for (const Round& r : plan.rounds) {
        j.beginObject(true);
        roundProperties(j, p, r);
        j.endObject();
    }
    j.endArray();
    j.key("total");
    j.value(plan.total);
    j.key("vehicles");
    j.value(static_cast<int>(plan.rounds.size()));
    j.key("missed");
    j.beginArray();
    for (const std::string& m : plan.missed)
        j.value(m);
    j.endArray();
    j.key("cancelled");
    j.value(plan.cancelled);
    j.endObject();
    return j.text();
}

std::optional<std::string> roundsGeoJson(const TProjectRecord& record, const RoundsProblem& p,
    const RoundsPlan& plan, const geo::Projection* reference)
{
    bool ok = true;
    const auto position = [&](JsonWriter& j, int node) {
        const geo::PlanarPoint xy = nodePoint(record, p, node);
        j.beginArray(true);
        if (reference) {
            const auto q = reference->toLatLon(xy);
            ok = ok && q.has_value();
            j.value(q ? geo::roundDegrees(q->longitude) : 0.0);
            j.value(q ? geo::roundDegrees(q->latitude) : 0.0);
        } else {
            j.value(xy.x);
            j.value(xy.y);
        }
        j.endArray();
    };
    JsonWriter j;
    j.beginObject();
    j.key("type");
    j.value("FeatureCollection");
    j.key("features");
    j.beginArray();
    j.beginObject();
    j.key("type");
    j.value("Feature");
    j.key("geometry");
    j.beginObject(true);
    j.key("type");
    j.value("Point");
    j.key("coordinates");
    position(j, 0);
    j.endObject();
    j.key("properties");
    j.beginObject(true);
    j.key("kind");
    j.value("depot");
    j.key("name");
    j.value(p.names[0]);
    j.endObject();
    j.endObject();
    for (std::size_t k = 0; k < plan.rounds.size(); ++k) {
        const Round& r = plan.rounds[k];
        j.beginObject();
        j.key("type");
        j.value("Feature");
        j.key("geometry");
        j.beginObject();
        j.key("type");
        j.value("LineString");
        j.key("coordinates");
        j.beginArray(true);
        position(j, 0);
        for (int s : r.stops)
            position(j, s);
        position(j, 0);
        j.endArray();
        j.endObject();
        j.key("properties");
        j.beginObject(true);
        j.key("kind");
        j.value("round");
        j.key("round");
        j.value(static_cast<int>(k) + 1);
        roundProperties(j, p, r);
        j.endObject();
        j.endObject();
    }
    j.endArray();
    j.endObject();
    if (!ok)
        return std::nullopt;
    return j.text();
}

} // namespace dorvan::cli
