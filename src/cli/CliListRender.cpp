// render PLACES: a place list's result drawn into a PNG picture.
#include "cli/CliRender.h"

#include "core/allocation/ListChart.h"
#include "core/cli/ListCommands.h"
#include "render/ListChartPainter.h"

#include <ostream>

namespace dorvan::cli {

int renderListCommand(const RenderOptions& o, std::ostream& out, std::ostream& err)
{
    const ListOptions& list = o.solve.list;
    const std::optional<PlaceTable> table = readListFor(o.solve.project, list, err);
    if (!table)
        return ExitBadInput;
    ListResult r;
    if (o.centres == 1 && list.fixed.empty() && list.minPlaces == 0 && list.maxPlaces == 0) {
        r = oneCentreResult(*table);
    } else {
        ProgressDisplay display(err, list.terminal && !list.quiet);
        r = listGroups(*table, list, o.centres, "render", display.callback());
    }
    std::vector<double> cx, cy;
    for (const ListCentre& c : r.centres) {
        cx.push_back(c.x);
        cy.push_back(c.y);
    }
    std::vector<std::string> names;
    if (table->size() <= ListChartNamedPlaces)
        for (std::size_t i = 0; i < table->size(); ++i)
            names.emplace_back(table->name(i));
    const ListChart chart = listChart(table->x, table->y, r.centreOf, cx, cy, o.width, o.height, names);
    std::optional<QGuiApplication> app;
    startOffscreenGui(app);
    const QImage image = paintListChart(chart);
    writePicture(image, o.out, false);
    out << o.out << ": " << image.width() << " x " << image.height() << " PNG, " << r.centres.size()
        << (r.centres.size() == 1 ? " centre" : " centres") << ", total " << listNumber(r.total) << '\n';
    return ExitOk;
}

} // namespace dorvan::cli
