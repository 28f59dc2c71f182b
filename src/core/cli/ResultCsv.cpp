// The result as one CSV table for a GIS or a spreadsheet that reads CSV by its standard: one
// header, one row a feature, "," between fields, a decimal point, UTF-8.
#include "core/cli/ResultExport.h"

#include "core/cli/PlaceCsv.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

namespace dorvan::cli {

namespace {

constexpr char Comma = ',';

// The fields of one row, by column; an empty field is a value the feature does not have.
struct CsvRow {
    const char* kind = "";
    std::string group;
    std::string name;
    std::string step;
    PlanarPoint at;
    std::string weight;
    std::string objective;
    std::string gap;
    std::string existing; // of a result: 1 for an existing centre that serves its group, else 0
};

class TableWriter {
public:
    explicit TableWriter(const Projection* reference)
        : reference_(reference)
    {
        out_ << "kind,group,name,step,x,y,weight,objective,gap,existing";
        if (reference_ != nullptr)
            out_ << ",latitude,longitude";
        out_ << '\n';
    }

    void row(const CsvRow& r)
    {
        out_ << r.kind << Comma << r.group << Comma << separatedField(r.name, Comma) << Comma << r.step
             << Comma << gisReal(r.at.x) << Comma << gisReal(r.at.y) << Comma << r.weight << Comma
             << r.objective << Comma << r.gap << Comma << r.existing;
        if (reference_ != nullptr) {
            const auto p = reference_->toLatLon(r.at);
            out_ << Comma << (p ? geo::fixedDegrees(p->latitude) : "") << Comma
                 << (p ? geo::fixedDegrees(p->longitude) : "");
        }
        out_ << '\n';
    }

    std::string text() const { return out_.str(); }

private:
    const Projection* reference_;
    std::ostringstream out_;
};

} // namespace

// A real as a GIS types it: a decimal point whatever the locale, 15 significant digits, and
// always a fraction or an exponent, so that a column of whole numbers is still read as reals.
// Nothing for a value that is not finite.
std::string gisReal(double v)
{
    if (!std::isfinite(v))
        return {};
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    std::string s(buf, r.ptr);
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s;
}

std::string exportCsv(const RunExport& run, const Projection* reference)
{
    TableWriter table(reference);
    const auto group = [&](int g) { return run.groups && g > 0 ? std::to_string(g) : std::string(); };
    for (const ExportPlace& p : run.places) {
        CsvRow r;
        r.kind = "place";
        r.group = group(p.group);
        r.name = p.name;
        r.at = { p.x, p.y };
        r.weight = gisReal(p.weight);
        table.row(r);
    }
    for (const ExportResult& res : run.results) {
        CsvRow r;
        r.kind = "optimum";
        r.group = group(res.group);
        // An existing centre is named: the group is served from that place.
        r.name = res.existingCentre;
        r.existing = res.existingCentre.empty() ? "0" : "1";
        r.at = res.optimum;
        r.objective = gisReal(res.objective);
        r.gap = res.gap ? gisReal(*res.gap) : std::string();
        table.row(r);
    }
    // The iteration path point by point, from the start (step 0) to the optimum.
    for (const ExportResult& res : run.results)
        for (std::size_t k = 0; k < res.path.size(); ++k) {
            CsvRow r;
            r.kind = "path";
            r.group = group(res.group);
            r.step = std::to_string(k);
            r.at = res.path[k];
            table.row(r);
        }
    return table.text();
}

} // namespace dorvan::cli
