// The help texts of dorvan-cli, one a command.
#include "core/cli/CliArguments.h"

#include <string>
#include <string_view>

namespace dorvan::cli {

namespace {

const char* const Overview = R"(Usage: dorvan-cli COMMAND [ARGUMENTS]

Location-allocation of DORVAN without its windows: solve projects, draw their result, list and
import places.

Commands:
  solve PROJECT.mzd    find the optimal centre and print what the allocation window lists
  render PROJECT.mzd   draw the result chart into a PNG or PDF file
  places PROJECT.mzd   list the places and criteria of a project as CSV or JSON
  import PLACES.csv    make a project from a list of places
  groups PROJECT.mzd   propose distribution groups: the best P centres and their places
  network PROJECT.mzd  the star network (searched or proven best) or the delivery rounds
  export PROJECT.mzd   write the solved result as GeoJSON or CSV for a GIS or a spreadsheet
  report PROJECT.mzd   write the report of the solved result as a PDF (A4)
  map PROJECT.mzd MAP  put a map (or a picture with a scale) into a copy of the project
  distances PROJECT.mzd MATRIX
                       import a matrix of road distances into a copy of the project

solve, groups and render also take a place list of any size (PLACES.csv or PLACES.geojson)
instead of a project: "dorvan-cli help lists".

"dorvan-cli COMMAND --help" explains a command. Exit codes: 0 success, 2 refused input (the
message says why on one line; import names every bad line).
)";

const char* const SolveOptionsText
    = R"(  --start gravity|origin    start point: the weighted centre of gravity (default) or [0;0]
  --stop x|y|xy|objective   stopping rule: change of X, of Y, of both (default) or of the
                            objective function
  --precision TEXT          precision e, 0,0001 to 10 (default "0,01"); a comma or a point
  --correction TEXT         correction value k above 0 (default "1,0"), read by the
                            objective rule only
  --groups                  one centre per stored distribution group instead of one for all
)";

const char* const SolveUsage = R"(Usage: dorvan-cli solve PROJECT.mzd [OPTIONS]

Runs Cooper's method on the project as the allocation window does and prints what the window
shows. The places are weighted by quantity, price and flexibility where the project has those
criteria switched on.

Options:
%SOLVE%  --format text|json        text (default): the lines of Edit1 (one-centre runs only),
                            ListBox1 and ListBox2, each block under a line naming the
                            control; json: start, optimum, final_iter, iterates, lines and,
                            for group runs, groups; a project with a coordinate reference
                            adds the optimum's latitude and longitude (7 decimals)

An invalid precision or correction value is reported on standard error and replaced by its
default, as the window does, and the run goes on.
)";

const char* const RenderUsage = R"(Usage: dorvan-cli render PROJECT.mzd --out FILE.png|FILE.pdf [OPTIONS]

Draws the result chart exactly as the allocation window draws it on a drawing area of the given
size, into a PNG picture or a one-page PDF (by the extension of FILE).

Options:
  --out FILE                the picture to write (.png or .pdf)
  --size WxH                the drawing area in pixels, 120 to 5000 each (default 800x600)
  --picture yes|no          over the project's map picture ("S obrázkom", default) or without
                            it ("Bez obrázku")
  --proportional yes|no     proportional picture ("ÁNO", default) or not ("NIE")
  --select X1,Y1,X2,Y2      magnify the part of the drawing area a mouse drag from (X1,Y1) to
                            (X2,Y2) selects, as the window's zoom does (pixels of the drawing
                            area, kept to it; at most 1 pixel either way leaves it unzoomed)
  --contours L1,L2,...      cost contours at these percents above the optimum's cost (above 0,
                            at most 1000, at most 10 levels; a decimal point, e.g. 1,2.5,10),
                            as "Izočiary nákladov" draws them
  --equal-scale             both axes of the chart at one scale, the drawing centred, as
                            "Rovnaká mierka osí" draws it (not over the map picture)
%SOLVE%
With "--picture yes" a project with a map picture is drawn over its picture, as the window
draws it; --size is then the drawing area of "NIE", and "ÁNO" fits the picture's proportions
within it. A project without a picture, or "--picture no", gives the chart of --size.
)";

const char* const PlacesUsage = R"(Usage: dorvan-cli places PROJECT.mzd [--format csv|json]

Lists every place of the project (number, name, X, Y, quantity, price, flexibility, and
latitude and longitude for a project with a coordinate reference) and the single-value
criteria.

  --format csv|json         csv (default): the places under a header line, ";" separated with
                            decimal commas, then an empty line and the criteria as
                            "criterion;on;value"; json: one object
)";

const char* const MapUsage = R"(Usage: dorvan-cli map PROJECT.mzd MAPFILE --out NEW.mzd [--epsg N] [--scale WxH]

Puts a map picture into a copy of the project, as the picture page of the data entry does.
A georeferenced map (a GeoTIFF, or a PNG, JPEG or bitmap with a world file .pgw/.jgw/.bpw/.wld
and an .aux.xml or .prj naming its system) is warped into the project's coordinate reference;
a project without one gets a local reference centred on the map, its origin at the map's
lower-left corner. The stored picture covers whole kilometres from 0 (white where the map does
not reach) and holds every place; where the map reaches below 0 the origin moves and the
places' X/Y move with it. A warped picture has at most 8000 x 6000 pixels.

Options:
  --out NEW.mzd   the project written, never the input itself
  --epsg N        the map's coordinate system when its files name none
  --scale WxH     a picture without a georeference: its width and height in whole kilometres
                  (Wx or xH gives one side, the other follows the picture's proportions)

Refused, with one line and nothing written: a file that is no readable picture, a raster over
20000 x 20000 pixels, a georeference without a system and no --epsg, a warp needing more than
1 GB, a plain picture without --scale.
)";

const char* const ImportUsage = R"(Usage: dorvan-cli import PLACES.csv --out PROJECT.mzd [--crs EPSG:N]

Makes a project from a list of places, one place a line: name;x;y, optionally followed by
quantity;price;flexibility. The rules of typed entry hold: 2 to 99 places, names of 1 to 100
characters that Windows-1250 can store, numbers rounded to four decimals, quantity and price at
least 1, flexibility a whole number above 0, not all coordinates equal. The places are sorted
by name and their distances computed; a quantity, price or flexibility column switches its
criterion on. Every bad line is reported with its number (a name given twice too, letter case
and surrounding spaces aside) and no file is written. Plain x and y of which any is larger than
10 000 in size are read as kilometres with a notice: they look like metres of a national grid,
which --crs places.

The file:
  - UTF-8, or Windows-1250 when it is not valid UTF-8; blank lines and lines starting
    with "#" are skipped;
  - the first line decides the separator: ";" when it holds one, otherwise ",";
  - numbers take a decimal comma or point; in a ","-separated file a number with a decimal
    comma must be quoted ("48,15"), since a bare comma separates fields;
  - fields may be quoted with double quotes ("" is one quote inside them);
  - the first line is a header when neither its second nor its third field is a number.

Real coordinates: a header naming a latitude column (latitude, lat, šírka, zemepisná šírka,
šířka, zeměpisná šířka) and a longitude column (longitude, lon, lng, dĺžka, zemepisná dĺžka,
délka, zeměpisná délka), in any case and order, gives the places in decimal degrees on WGS84;
its other columns are then named too (name, názov or název, and optionally quantity or
množstvo, price or cena, flexibility or flexibilita; x and y columns are ignored). The places
are projected into a local azimuthal equidistant plane in kilometres centred on the middle of
the list, every place at X, Y of at least 1, and the project keeps that projection as its
reference: solve, places and export then give results in latitude and longitude too. Every
place must lie within 2000 km of the middle.

  --out FILE                the project to write (an existing file is replaced)
  --crs EPSG:N              the x and y columns are in this coordinate reference system (x the
                            easting, y the northing; e.g. EPSG:5514, S-JTSK in metres); they are
                            transformed to latitude and longitude and then as above
)";

const char* const DistancesUsage
    = R"(Usage: dorvan-cli distances PROJECT.mzd MATRIX --out NEW.mzd [--unit km|m]
       dorvan-cli distances PROJECT.mzd --request-url BASE

Imports a matrix of road distances between the project's places into a copy of the project, as
if every pair had been typed on the distance page: the matrix is kept symmetric in kilometres to
four decimals and "Reálne vzdialenosti medzi miestami" is switched on, so that the network
methods run on it. The matrix may be:
  - long CSV: one pair a line, from;to;distance, the places named as in the project (an
    optional header line: the first line is one when its third field is no number);
  - square CSV: a header line with a corner cell and the place names, then one line a place,
    its name followed by its distance to the place of each column (an empty cell gives none);
  - the JSON of a routing engine's table service, {"distances": [[...], ...]}, rows and columns
    in the project's place order, as --request-url asks for them; null gives no value.
The CSV is read as import reads a place list (UTF-8 or Windows-1250, ";" or "," as the first
line decides, a decimal comma or point, quotes). A CSV file is square when its first line holds
more than three fields, or three whose second and third are place names.

A pair given in one direction serves both; where both directions are given and differ, their
mean is kept, and a notice on standard error counts the pairs that differ by more than 1 %.
Refused, every problem named on its own line and nothing written: a missing pair (named
"A<--->B"), a value that is no number or is negative, a place whose distance to itself is not
0, a name that is no place of the project or is repeated, a pair given twice, a matrix of
another size than the list.

Options:
  --out NEW.mzd             the project written, never the input itself
  --unit km|m               the unit of the matrix; without it the JSON is in metres and the
                            CSV in kilometres, unless the CSV's header names its unit (the
                            third field of a long header or the corner of a square one ending
                            in "km" or "m", e.g. "distance_m")
  --request-url BASE        print the table-service request for the project's places
                            (longitude,latitude in the project's order) at the routing server
                            BASE, e.g. http://localhost:5000; BASE/table/v1/driving/ is added
                            unless BASE already names a table service. Only for a project with
                            a coordinate reference.
)";

const char* const GroupsUsage = R"(Usage: dorvan-cli groups PROJECT.mzd --centres P|A-B [OPTIONS]

Proposes distribution groups as "Navrhnúť skupiny" does: P centres and the places each serves,
so that the sum of weight × distance from every place to its group's centre is least, every
group holding at least 3 places. Places are weighted as a run weighs them. Projects of up to
10 places are solved exactly; larger ones by a search from several starts.

Options:
  --centres P|A-B           the number of centres, 2 to places / 3; a range A-B (A from 1)
                            prints the table of best totals and savings for A to B centres,
                            every row: a count that cannot keep the rules has no total and
                            gives the reason in its last column (json: "refused")
  --fixed NAME[,NAME...]    existing centres: they stay on these places and serve the places
                            nearest to them; P counts them (P from their number, 1 included);
                            a name matches as duplicate names do (letter case and surrounding
                            spaces aside); without it the project's own existing centres
  --max-places m            at most m places a group (3 to 99); without it the project's
                            "Rovnomernosť počtu miest v skupinách" when that is ticked
  --starts N                starts of the search, 1 to 10000 (default 24)
  --seed S                  seed of the search, a whole number (default 1)
  --format text|json        text (default) or json
  --out NEW.mzd             write a copy of the project with these groups stored and groups
                            switched on (one P only), with its existing centres and limit
)";

const char* const NetworkUsage
    = R"(Usage: dorvan-cli network PROJECT.mzd [--method star|rounds|exact] [--format text|json]
                          [--out FILE.png|FILE.pdf|FILE.geojson] [--size WxH]
                          [--time-limit S] [--seed N] [--iterations N]

Runs a method of the distribution network window on the project as the program holds it after
opening it and prints what the window shows.

  --method star|rounds|exact
                            star (default): the star search (the criteria switched on in the
                            file give the reach and the places a star); rounds: the delivery
                            rounds from the distribution centre (or the one-centre optimum
                            when no centre is switched on) within the vehicles' capacity, the
                            longest route, the longest working time with the loading times and
                            the number of vehicles, each when switched on; exact: the proven
                            best star network ("Optimálna sieť": the fewest stars, then the
                            least total), started from the star search's network
  --format text|json        star, text (default): ListBox1 to ListBox5, each block under a line
                            naming the list, then StringGrid1, one line a row from row 0, the
                            cells of columns 0 to 4 separated by tabs; json: the stars (centre,
                            members, sum), the total, the star count and the recalculations.
                            rounds, text: the window's lines; json: "rounds" (each "places" in
                            order, "length", "load", "time"), "total", "vehicles", "depot" and
                            "missed" (the limits no plan found keeps, with by how much).
                            exact, text: the line comparing both searches, then the lines of
                            the exact list; json: "stars", "star_count", "total", "proven",
                            "lower_bound_stars", "lower_bound_total", "seconds" and the star
                            search's result under "heuristic"
  --out FILE                also draw the station graph into a PNG or PDF file (by extension;
                            for exact, the exact network; for rounds, the rounds over the stars
                            as the window draws them); for rounds a .geojson file gets each
                            round as a LineString from the depot and back (latitude/longitude
                            when the project has a reference, else its own X/Y)
  --size WxH                the drawing area of the graph of --out, 120 to 5000 pixels a
                            side (default 624x446, the window's design size less its list)
  --time-limit S            rounds: seconds the search may take at most (default 10); exact:
                            seconds of the exact search (default 30), which then gives the
                            best network found and its lower bounds, unproven
  --seed N                  rounds: the seed of the search (default 1); the same seed gives the
                            same rounds unless the time limit cuts the search short
  --iterations N            rounds: steps of the search (default: 20000 and 12000 a place)

A project the rounds cannot be made for (a place whose quantity exceeds the capacity, a place too
far for a round of its own, no centre chosen) stops with its reason and exit code 2. When no
rounds found keep every limit, the best are printed with the limits they miss and the exit
code is 3.
)";

const char* const ExportUsage
    = R"(Usage: dorvan-cli export PROJECT.mzd --format geojson|csv --out FILE [OPTIONS]

Solves the project as solve does (the same options give the same result) and writes the places
and the result for other programs.

Options:
  --format geojson|csv      geojson: a FeatureCollection in latitude and longitude (RFC 7946,
                            [longitude, latitude], 7 decimals): a Point per place (name,
                            weight, group with --groups), a Point per result (role "optimum",
                            group, objective, gap), the iteration path as a LineString (role
                            "path") and the contours as LineStrings (role "contour", level);
                            only for a project with a coordinate reference (made by import
                            from latitude/longitude or with --crs). csv: one table a GIS
                            reads, a row a feature: kind (place, optimum, path), group, name,
                            step (of the path, 0 at the start), x, y, weight, objective, gap,
                            existing (1 for an existing centre, named, serving its group) and,
                            with a reference, latitude, longitude; "," between fields, a
                            decimal point, UTF-8
  --out FILE                the file to write (an existing file is replaced)
  --contours L1,L2,...      cost contours at these percents above the optimum's cost (above 0,
                            at most 1000, at most 10 levels; a decimal point), GeoJSON only
%SOLVE%)";

const char* const ReportUsage = R"(Usage: dorvan-cli report PROJECT.mzd --out FILE.pdf [OPTIONS]

Solves the project as solve does (the same options give the same result) and writes its report
on A4 pages, the same pages as the window's "Súbor -> Zostava (PDF) ...": the project's places,
criteria and run settings; the result with its certificate; the chart as vector graphics (over
the map picture for a project entered on its picture); the candidate sites (every place as the
centre, with its cost above the optimum's); the place table. Every page names the project file
and the date and carries its number; the fonts are embedded. Nothing is cut: columns take their
content, long texts wrap, and a wide table or chart gets a landscape page. The chart is always
to scale (both axes at one scale) and as large as its page allows.

Options:
  --out FILE.pdf            the file to write (an existing file is replaced; a failed write
                            leaves it as it was)
  --contours L1,L2,...      cost contours at these percents above the optimum's cost on the
                            chart (above 0, at most 1000, at most 10 levels; a decimal point)
  --picture yes|no          the chart over the project's map picture ("S obrázkom", default)
                            or without it ("Bez obrázku")
  --equal-scale             the drawing area --select's pixels lie on has both axes at one
                            scale, as "Rovnaká mierka osí" draws it
  --select X1,Y1,X2,Y2      the chart page shows the part of the drawing area a mouse drag
                            from (X1,Y1) to (X2,Y2) selects, magnified to scale with axes of
                            its own, still as vector graphics (at most 1 pixel either way
                            leaves the whole chart)
  --size WxH                the drawing area --select's pixels lie on, as render takes it
                            (default 800x600; only with --select)
  --proportional yes|no     over the picture, that area as render sizes it ("ÁNO", default,
                            or "NIE"; only with --select)
%SOLVE%)";

const char* const ListsUsage = R"(Usage: dorvan-cli solve PLACES [OPTIONS]
       dorvan-cli groups PLACES --centres P|A-B [OPTIONS]
       dorvan-cli render PLACES --out FILE.png [--centres P] [OPTIONS]

A place list of any size instead of a project: PLACES.csv (or .txt) read as import reads it
(name, x, y or latitude/longitude, quantity, price, flexibility; every bad line named), or
PLACES.geojson (or .json): a FeatureCollection of Point features in WGS84 with the property
"name" and optionally "quantity". A place weighs quantity x price x flexibility of the columns
the list has. The problem is the classic one: every place is served by its nearest centre and
the total is the sum of weight x Euclidean distance in the list's plane (kilometres of a local
projection for latitude/longitude); there is no least group size unless --min-places asks.

solve finds the one centre (the weighted Weber point) with the line that says how far it can be
from the optimum. groups finds P centres; A-B prints the table of totals and savings. render
draws a point per place in its group's colour and the centres.

Options:
  --crs EPSG:N              CSV: the x and y columns are in that system (as import --crs)
  --format text|json        groups, solve: text (default) or json (total, groups[] with centre,
                            objective, member_count, members)
  --members yes|no          groups, solve: list the places of each group (default yes)
  --out FILE.geojson|FILE.csv
                            groups, solve: a row per place with its group, a row per centre,
                            latitude/longitude where the list has them (GeoJSON only then)
  --time-limit S            groups, render: seconds of the search at most (default 10)
  --threads N               groups, render: threads of the search (default: every core)
  --seed N                  groups, render: the same seed and threads give the same result
                            unless the time limit cuts the search (default 1)
  --fixed NAME,...          groups, render: existing centres serve from these places
  --min-places k, --max-places m
                            groups, render: every group holds at least k, at most m places
  --quiet                   no progress line (it is drawn only when standard error is a
                            terminal)
  --size WxH                render: the picture's size in pixels (default 800x600)
)";

std::string replaced(std::string text, std::string_view marker, std::string_view by)
{
    const std::size_t at = text.find(marker);
    if (at != std::string::npos)
        text.replace(at, marker.size(), by);
    return text;
}

} // namespace

std::string usageText(std::string_view topic)
{
    if (topic == "lists")
        return ListsUsage;
    const std::string listsNote = "\nA place list instead of the project: dorvan-cli help lists\n";
    if (topic == "solve")
        return replaced(SolveUsage, "%SOLVE%", SolveOptionsText) + listsNote;
    if (topic == "render")
        return replaced(RenderUsage, "%SOLVE%", SolveOptionsText) + listsNote;
    if (topic == "places")
        return PlacesUsage;
    if (topic == "import")
        return ImportUsage;
    if (topic == "map")
        return MapUsage;
    if (topic == "distances")
        return DistancesUsage;
    if (topic == "groups")
        return GroupsUsage + listsNote;
    if (topic == "network")
        return NetworkUsage;
    if (topic == "export")
        return replaced(ExportUsage, "%SOLVE%", SolveOptionsText);
    if (topic == "report")
        return replaced(ReportUsage, "%SOLVE%", SolveOptionsText);
    return Overview;
}

} // namespace dorvan::cli
