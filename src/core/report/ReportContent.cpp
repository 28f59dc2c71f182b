#include "core/report/ReportContent.h"

#include "core/allocation/CandidateSites.h"
#include "core/allocation/CooperRunText.h"
#include "core/common/DecimalText.h"
#include "core/entry/MapPlacement.h"
#include "core/entry/OverviewTables.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>

namespace dorvan::report {

namespace {

constexpr const char* Sep = ",";

// Coordinates are kilometres where the project has a reference or a map with its scale.
bool inKilometres(const TProjectRecord& r)
{
    return geo::projectReference(r).has_value() || rangesFixed(r);
}

std::string decimal4(double v)
{
    return formatDecimal4(v, Sep);
}

std::string number(long double v)
{
    return formatIterate(v, Sep);
}

// The value a switched-on criterion has, as the overview page lists it.
std::string criterionValue(int c, const ReportRun& run, const TextTable& settings)
{
    const TProjectRecord& r = *run.record;
    const auto row = [&](int i) { return settings.at(1, i); };
    switch (c) {
    case CritQuantity:
    case CritPrice:
    case CritFlexibility:
        return "hodnoty v tabuľke miest";
    case CritRealDistances:
        return "zadané medzi miestami";
    case CritMaxRouteLength:
        return row(0);
    case CritMaxDistributionTime:
        return row(1);
    case CritCentral:
        return row(2);
    case CritWarehouses:
        return "počet skladov " + std::to_string(std::max(0, r.WarehouseCount));
    case CritLoadTimes:
        return "DC " + row(3) + ", DS " + row(4) + ", DM " + row(5);
    case CritWarehouseCapacity:
        return "DC " + row(6) + ", DS " + row(7) + ", DM " + row(8);
    case CritPriority:
        return "počet miest s prioritou " + std::to_string(std::max(0, r.PriorityCount));
    case CritVehicleCount:
        return row(9);
    case CritVehicleCapacity:
        return row(10);
    case CritVehicleSpeed:
        return row(11);
    case CritEvenGroups:
        return "najviac " + std::to_string(r.PlacesPerGroup) + " miest v skupine";
    case CritGroups:
        return "počet skupín " + std::to_string(run.inputs->groups.Count);
    default:
        return {};
    }
}

// The criteria the run weighs by follow its inputs; the others the boxes.
bool criterionOn(int c, const ReportRun& run)
{
    const CooperRunInputs& in = *run.inputs;
    switch (c) {
    case CritQuantity:
        return in.quantityOn;
    case CritPrice:
        return in.priceOn;
    case CritFlexibility:
        return in.flexibilityOn;
    case CritGroups:
        return in.groupsOn;
    default:
        return run.ticked[static_cast<std::size_t>(c)];
    }
}

ReportSection summarySection(const ReportRun& run)
{
    const CooperRunInputs& in = *run.inputs;
    const CooperRunResult& res = *run.result;
    ReportSection s;
    s.title = "Projekt";
    s.lines.push_back("Súbor projektu: " + run.projectName);
    s.lines.push_back("Počet miest: " + std::to_string(runPlaceCount(run.placeCount)));
    s.lines.push_back(std::string("Dáta: ") + (in.mode == ChartDataMode::Picture ? "OBRÁZOK" : "RUČNE"));
    if (geo::projectReference(*run.record))
        s.lines.push_back("Súradnice miest majú zemepisnú šírku a dĺžku (WGS84).");
    if (inKilometres(*run.record))
        s.lines.push_back("Súradnice X a Y sú v kilometroch (km).");
    const OverviewTables overview = overviewTables(*run.record, runPlaceCount(run.placeCount), {}, Sep);
    bool any = false;
    s.lines.push_back("Zapnuté kritériá:");
    for (int c = 0; c < CriterionCount; ++c) {
        if (!criterionOn(c, run))
            continue;
        any = true;
        s.lines.push_back(std::string("    ") + CriterionCaptions[static_cast<std::size_t>(c)] + ": "
            + criterionValue(c, run, overview.settings));
    }
    if (!any)
        s.lines.push_back("    žiadne (každé miesto má váhu 1)");
    if (in.groupsOn && !in.existingCentres.empty()) {
        std::string names;
        for (const std::string& n : in.existingCentres)
            names += (names.empty() ? "" : ", ") + n;
        s.lines.push_back("Existujúce centrá: " + names);
    }
    s.lines.push_back("Nastavenie premenných DORVAN:");
    s.lines.push_back(std::string("    Počiatočné hodnoty X0 a Y0: ") + startCaption(in.settings.start));
    s.lines.push_back(std::string("    Presnosť: ") + ruleCaption(in.settings.rule));
    s.lines.push_back("    Hodnota presnosti: "
        + (res.precisionReset ? std::string(DefaultPrecisionText) : in.settings.precisionText()));
    s.lines.push_back("    Korekčná hodnota: "
        + (res.correctionReset ? std::string(DefaultCorrectionText) : in.settings.correctionText()));
    if (!run.contours.empty()) {
        std::string levels;
        for (double l : run.contours)
            levels += (levels.empty() ? "" : "; ") + formatGeneral15(l, Sep);
        s.lines.push_back("    Izočiary nákladov: " + levels + " %");
    }
    return s;
}

std::string positionOf(const TProjectRecord& r, const IteratePoint& p)
{
    const auto at = geo::toLatLon(r, static_cast<double>(p.x), static_cast<double>(p.y));
    return at ? geo::formatPosition(*at) : std::string();
}

void oneCentreResult(ReportSection& s, const ReportRun& run)
{
    const CooperRunResult& res = *run.result;
    const std::vector<IteratePoint> path = historyPoints(run.state->IterX, run.state->IterY, res.finalIter);
    s.lines.push_back("Optimum: " + res.optimumText);
    if (!path.empty())
        if (const std::string at = positionOf(*run.record, path.back()); !at.empty())
            s.lines.push_back(at);
    s.lines.push_back("Vážený súčet vzdialeností: " + number(res.certificate.objective));
    s.lines.push_back("Počet iterácií: " + std::to_string(res.finalIter));
}

// The group's certificate line without its opening words, which the column's title gives.
std::string certificateColumn(const std::string& line)
{
    constexpr std::string_view opening = "Výsledok je ";
    return line.starts_with(opening) ? line.substr(opening.size()) : line;
}

void groupResult(ReportSection& s, const ReportRun& run)
{
    const CooperRunResult& res = *run.result;
    ReportTable t;
    t.columns = { { "Skupina", 0, Align::Left }, { "Optimum", 0, Align::Left },
        { "Vážený súčet", 0, Align::Right }, { "Iterácie", 0, Align::Right }, { "", 5, Align::Left },
        { "Výsledok je ...", 0, Align::Left } };
    std::size_t line = 0;
    for (const CooperGroupResult& g : res.groups) {
        if (!g.solved) {
            t.rows.push_back({ std::to_string(g.no), tooFewMembersMessage(g.no) });
            continue;
        }
        const std::string optimum = line < res.pathLines.size() ? res.pathLines[line] : std::string();
        ++line;
        // A group served from an existing centre was not iterated.
        const int iterations = g.existingCentre.empty() ? g.finalIter : 0;
        t.rows.push_back({ std::to_string(g.no), optimum, number(g.certificate.objective),
            std::to_string(iterations), "", certificateColumn(groupCertificateText(g, Sep)) });
    }
    s.tables.push_back(std::move(t));
    if (const std::string total = groupTotalText(res, Sep); !total.empty())
        s.lines.push_back(total);
    for (const std::string& at : groupPositionLines(res, *run.record))
        s.lines.push_back(at);
    if (const std::string u = ungroupedText(res.ungroupedPlaces); !u.empty())
        s.lines.push_back(u);
}

ReportSection resultSection(const ReportRun& run)
{
    const CooperRunResult& res = *run.result;
    ReportSection s;
    s.title = "Výsledok";
    s.lines.push_back(std::string("Pravidlo zastavenia: ") + ruleCaption(run.inputs->settings.rule)
        + ", hodnota presnosti "
        + (res.precisionReset ? std::string(DefaultPrecisionText) : run.inputs->settings.precisionText()));
    if (res.groupRun)
        groupResult(s, run);
    else
        oneCentreResult(s, run);
    if (const std::string c = certificateText(res, *run.record, Sep); !c.empty())
        s.lines.push_back(c);
    if (const std::string n = runNoticeText(res.historyFullGroups); !n.empty())
        s.lines.push_back(n);
    for (const std::string& w : res.warnings)
        s.lines.push_back(w);
    return s;
}

ReportTable candidateTable(const std::string& title, const std::vector<CandidateSite>& candidates)
{
    ReportTable t;
    t.title = title;
    t.columns = { { "Poradie", 0, Align::Right }, { "", 10, Align::Left }, { "Miesto", 0, Align::Left },
        { "Vážený súčet", 0, Align::Right }, { "Nad optimom", 0, Align::Right } };
    int rank = 0;
    for (const CandidateSite& c : candidates) {
        const std::string line = candidateLine(c, Sep);
        const std::string excess = line.substr(std::min(line.size(), c.name.size() + 2));
        t.rows.push_back({ std::to_string(++rank), "", c.name, number(c.objective), excess });
    }
    return t;
}

ReportSection candidateSection(const ReportRun& run)
{
    const CooperRunResult& res = *run.result;
    ReportSection s;
    s.title = "Kandidátske miesta";
    s.lines.push_back("Náklady pri centre v mieste namiesto optima, od najlacnejšieho.");
    if (!res.groupRun) {
        s.tables.push_back(candidateTable("",
            run.candidates != nullptr ? *run.candidates
                                      : oneCentreCandidates(*run.record, run.placeCount, res, *run.state)));
        return s;
    }
    for (const CooperGroupResult& g : res.groups)
        if (std::vector<CandidateSite> c = groupCandidates(g); !c.empty())
            s.tables.push_back(candidateTable("Skupina " + std::to_string(g.no), c));
    return s;
}

// The first group of the run that lists the place, 0 for none.
int groupOf(const CooperRunResult& res, const std::string& name)
{
    for (const CooperGroupResult& g : res.groups)
        for (std::size_t k = 0; k < g.memberNames.size(); ++k)
            if (k < g.memberFound.size() && g.memberFound[k] && g.memberNames[k] == name)
                return g.no;
    return 0;
}

ReportSection placeSection(const ReportRun& run)
{
    const TProjectRecord& r = *run.record;
    const auto reference = geo::projectionOf(r);
    ReportSection s;
    s.title = "Miesta";
    ReportTable t;
    const bool km = inKilometres(r);
    t.columns = { { "Č.", 0, Align::Right }, { "", 4, Align::Left }, { "Názov", 0, Align::Left },
        { km ? "X [km]" : "X", 0, Align::Right }, { km ? "Y [km]" : "Y", 0, Align::Right } };
    if (reference)
        t.columns.insert(t.columns.end(), { { "Šírka", 0, Align::Right }, { "Dĺžka", 0, Align::Right } });
    t.columns.insert(t.columns.end(),
        { { "Množstvo", 0, Align::Right }, { "Cena", 0, Align::Right }, { "Flexibilita", 0, Align::Right },
            { "Skupina", 0, Align::Right } });
    const int n = runPlaceCount(run.placeCount);
    for (int i = 1; i <= n; ++i) {
        const std::string placeName = displayName(r.PlaceName[i]);
        std::vector<std::string> row { std::to_string(i), "", placeName, formatCoordinate(r.PlaceX[i], Sep),
            formatCoordinate(r.PlaceY[i], Sep) };
        if (reference) {
            const auto at = reference->toLatLon({ r.PlaceX[i], r.PlaceY[i] });
            row.push_back(at ? geo::commaDegrees(at->latitude) : std::string());
            row.push_back(at ? geo::commaDegrees(at->longitude) : std::string());
        }
        const int group = run.result->groupRun ? groupOf(*run.result, placeName) : 0;
        row.insert(row.end(),
            { decimal4(r.PlaceQuantity[i]), decimal4(r.PlacePrice[i]), std::to_string(r.PlaceFlexibility[i]),
                group > 0 ? std::to_string(group) : "" });
        t.rows.push_back(std::move(row));
    }
    s.tables.push_back(std::move(t));
    return s;
}

} // namespace

std::string dateText(ReportDate d)
{
    return std::to_string(d.day) + ". " + std::to_string(d.month) + ". " + std::to_string(d.year);
}

ReportContent reportContent(const ReportRun& run)
{
    ReportContent c;
    c.projectName = run.projectName;
    c.date = dateText(run.date);
    c.title = "Zostava DORVAN - umiestnenie distribučného centra";
    c.sections.push_back(summarySection(run));
    c.sections.push_back(resultSection(run));
    ReportSection chart;
    chart.title = "Graf výsledku";
    if (run.overPicture)
        chart.lines.push_back("Výsledok nad mapovým obrázkom projektu.");
    if (run.selectedPart)
        chart.lines.push_back("Zväčšená vybraná časť grafu.");
    chart.lines.push_back(inKilometres(*run.record)
            ? "Obe osi v rovnakej mierke, súradnice v kilometroch (km)."
            : "Obe osi v rovnakej mierke.");
    chart.chart = true;
    c.sections.push_back(std::move(chart));
    c.sections.push_back(candidateSection(run));
    c.sections.push_back(placeSection(run));
    return c;
}

ReportSection starSection(const StarSolution& stars)
{
    ReportSection s;
    s.title = "Hviezdicová sieť";
    s.lines.push_back("Počet hviezd: " + std::to_string(stars.StarCount)
        + ", celkový súčet vzdialeností: " + decimal4(stars.StarTotal));
    ReportTable t;
    t.columns = { { "Hviezda", 0, Align::Right }, { "", 10, Align::Left }, { "Centrum", 0, Align::Left },
        { "Miesta", 0, Align::Left }, { "Súčet", 0, Align::Right } };
    std::size_t at = 0;
    for (int k = 0; k < stars.StarCount && k < static_cast<int>(stars.StarSize.size()); ++k) {
        const std::size_t size
            = static_cast<std::size_t>(std::max(0, stars.StarSize[static_cast<std::size_t>(k)]));
        const int centre = k < static_cast<int>(stars.StarCentre.size())
            ? stars.StarCentre[static_cast<std::size_t>(k)]
            : 0;
        std::string members;
        std::string centreName;
        for (std::size_t m = 0; m < size && at + m < stars.StarOrder.size(); ++m) {
            const std::string name = displayName(stars.StarOrder[at + m]);
            if (static_cast<int>(at + m + 1) == centre)
                centreName = name;
            else
                members += (members.empty() ? "" : ", ") + name;
        }
        at += size;
        const double sum
            = k < static_cast<int>(stars.StarSum.size()) ? stars.StarSum[static_cast<std::size_t>(k)] : 0.0;
        t.rows.push_back({ std::to_string(k + 1), "", centreName, members, decimal4(sum) });
    }
    s.tables.push_back(std::move(t));
    return s;
}

ReportSection roundsSection(const RoundsTrace& rounds)
{
    ReportSection s;
    s.title = "Okruhy rozvozu";
    ReportTable t;
    t.columns = { { "Okruh", 0, Align::Right }, { "Miesta v poradí", 0, Align::Left },
        { "Dĺžka", 0, Align::Right }, { "Náklad", 0, Align::Right }, { "Čas", 0, Align::Right } };
    t.rows = rounds.rows;
    s.tables.push_back(std::move(t));
    s.lines = rounds.notes;
    return s;
}

ReportSection tableSection(const std::string& title, const std::vector<std::string>& header,
    const std::vector<std::vector<std::string>>& rows)
{
    ReportSection s;
    s.title = title;
    ReportTable t;
    for (const std::string& h : header)
        t.columns.push_back({ h, 0.0, Align::Right });
    if (!t.columns.empty())
        t.columns.front().align = Align::Left;
    t.rows = rows;
    s.tables.push_back(std::move(t));
    return s;
}

} // namespace dorvan::report
