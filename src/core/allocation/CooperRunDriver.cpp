#include "core/allocation/CooperRunDriver.h"

#include "core/allocation/CooperRunText.h"
#include "core/common/CodePage.h"
#include "core/entry/ExistingCentres.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <set>

namespace dorvan {

namespace {

// A member line back into a stored name for the lookup. Lines come from place names, so they
// convert; one that does not matches no place.
Text100 memberName(const std::string& line)
{
    try {
        return Text100::fromUtf8(line);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

std::vector<std::string> groupRunMembers(const DistributionGroups& groups, int groupNo)
{
    std::vector<std::string> members;
    for (const std::string& name : groups.members(groupNo)) {
        if (members.size() == static_cast<std::size_t>(MaxPlaces))
            break;
        members.push_back(firstCharacters(name, Text100::Capacity));
    }
    return members;
}

namespace {

class Run {
public:
    Run(CooperState& state, const TProjectRecord& record, int placeCount, const CooperRunInputs& inputs,
        const CooperRunCallbacks& callbacks)
        : s_(state)
        , r_(record)
        , n_(runPlaceCount(placeCount))
        , in_(inputs)
        , cb_(callbacks)
        , settings_(inputs.settings)
    {
    }

    CooperRunResult go()
    {
        VstupUdajCMStavCreate(s_, r_, n_, in_.quantityOn, in_.priceOn, in_.flexibilityOn);
        if (isGroupRun(in_))
            groupRun();
        else
            oneCentreRun();
        return std::move(res_);
    }

private:
    void oneCentreRun()
    {
        const CooperReport report = PocitajCooper(s_, settings());
        takeReport(report, 0);
        res_.certificate = report.certificate;
        res_.finalIter = s_.FinalIter;
        res_.pathLines = iterationLines(s_.IterX, s_.IterY, s_.FinalIter, in_.separator);
        res_.optimumText = optimumLine(s_.IterX, s_.IterY, s_.FinalIter, in_.separator);
        for (int i = 1; i <= n_; ++i)
            res_.placeLines.push_back(placeLine(
                in_.mode, i, displayName(r_.PlaceName[i]), r_.PlaceX[i], r_.PlaceY[i], in_.separator));
    }

    void groupRun()
    {
        res_.groupRun = true;
        const int groups = std::clamp(in_.groups.Count, 0, MaxRunGroups);
        res_.groupCount = groups;
        s_.GroupMemberTotal = 0;

        for (int g = 1; g <= groups; ++g) {
            s_.GroupNo = g;
            const std::vector<std::string> members = groupRunMembers(in_.groups, g);
            const int size = static_cast<int>(members.size());
            s_.GroupSize = size;
            s_.GroupMemberTotal += size;
            for (int k = 1; k <= size; ++k)
                s_.GroupMemberName[k] = memberName(members[static_cast<std::size_t>(k - 1)]);

            CooperGroupResult group;
            group.no = g;
            group.firstMemberNumber = s_.GroupMemberTotal - size + 1;
            group.memberNames = members;
            if (size >= MinGroupMembers) {
                const int centre = existingCentreOf(members);
                const CooperReport report
                    = centre > 0 ? solveGroupAtPlace(s_, centre) : PocitajCooperSkupiny(s_, settings());
                const bool full = takeReport(report, g);
                group.certificate = report.certificate;
                const int f = s_.FinalIter;
                if (centre > 0) {
                    group.existingCentre = members[static_cast<std::size_t>(centre - 1)];
                    res_.pathLines.push_back(existingCentreLine(
                        g, group.existingCentre, s_.GroupIterX[f], s_.GroupIterY[f], in_.separator));
                } else {
                    res_.pathLines.push_back(
                        groupOptimumLine(g, s_.GroupIterX[f], s_.GroupIterY[f], in_.separator));
                }
                group.solved = true;
                group.finalIter = f;
                group.iterates = historyPoints(s_.GroupIterX, s_.GroupIterY, f);
                group.historyFull = full;
                group.costSites = groupCostSites(s_);
            } else {
                warnOnce(tooFewMembersMessage(g));
                // The members are still looked up, to be listed and drawn.
                if (size >= 1)
                    takeReport(PocitajCooperSkupiny(s_, settings()), g);
            }

            res_.placeLines.push_back(groupHeader(g));
            for (int k = 1; k <= size; ++k) {
                const bool found = s_.GroupMemberFound[k];
                group.memberFound.push_back(found);
                group.memberPoints.push_back({ s_.GroupMemberX[k], s_.GroupMemberY[k] });
                res_.placeLines.push_back(
                    memberLine(group.firstMemberNumber + k - 1, members[static_cast<std::size_t>(k - 1)],
                        found, s_.GroupMemberX[k], s_.GroupMemberY[k], in_.separator));
            }
            res_.groups.push_back(std::move(group));
            if (size >= 1 && cb_.groupListed)
                cb_.groupListed(res_, g);
        }
        listUngrouped();
    }

    // The member number (1-based) of the existing centre that serves the group, 0 for none. A
    // member whose name matches no place serves nothing.
    int existingCentreOf(const std::vector<std::string>& members) const
    {
        std::vector<std::string> candidates = in_.existingCentres;
        while (!candidates.empty()) {
            const int k = existingCentreMember(members, candidates);
            if (k < 0)
                return 0;
            const Text100 name = memberName(members[static_cast<std::size_t>(k)]);
            for (int i = 1; i <= n_; ++i)
                if (r_.PlaceName[i] == name && !name.empty())
                    return k + 1;
            std::erase(candidates, members[static_cast<std::size_t>(k)]);
        }
        return 0;
    }

    // The places whose name no member line of the run's groups carries.
    void listUngrouped()
    {
        std::set<std::string> members;
        for (const CooperGroupResult& g : res_.groups)
            members.insert(g.memberNames.begin(), g.memberNames.end());
        for (int i = 1; i <= n_; ++i) {
            std::string name = displayName(r_.PlaceName[i]);
            if (members.count(name) == 0)
                res_.ungroupedPlaces.push_back(std::move(name));
        }
    }

    CooperSettings settings() const { return settings_; }

    // The solver's messages are shown once a run, and the texts it complained about go back to
    // their defaults before the next group reads them. True when the history was used up.
    bool takeReport(const CooperReport& report, int groupNo)
    {
        for (const std::string& message : report.messages)
            warnOnce(message);
        if (report.precisionReset) {
            settings_.resetPrecision();
            res_.precisionReset = true;
            if (cb_.resetPrecision)
                cb_.resetPrecision();
        }
        if (report.correctionReset) {
            settings_.resetCorrection();
            res_.correctionReset = true;
            if (cb_.resetCorrection)
                cb_.resetCorrection();
        }
        if (report.historyFull)
            res_.historyFullGroups.push_back(groupNo);
        return report.historyFull;
    }

    void warnOnce(const std::string& text)
    {
        if (std::find(res_.warnings.begin(), res_.warnings.end(), text) != res_.warnings.end())
            return;
        res_.warnings.push_back(text);
        if (cb_.warn)
            cb_.warn(text);
    }

    CooperState& s_;
    const TProjectRecord& r_;
    const int n_;
    const CooperRunInputs& in_;
    const CooperRunCallbacks& cb_;
    CooperSettings settings_;
    CooperRunResult res_;
};

} // namespace

CooperRunInputs runInputs(const Project& project, std::string separator)
{
    const EntryChoices& c = project.Choices;
    CooperRunInputs in;
    in.quantityOn = project.ticked(CritQuantity);
    in.priceOn = project.ticked(CritPrice);
    in.flexibilityOn = project.ticked(CritFlexibility);
    in.groupsOn = project.ticked(CritGroups);
    if (in.groupsOn) {
        in.groups = c.Groups;
        in.existingCentres = c.ExistingCentres;
    }
    in.settings = c.Settings;
    in.mode = project.State.PictureMode ? ChartDataMode::Picture : ChartDataMode::Manual;
    in.separator = std::move(separator);
    return in;
}

bool isGroupRun(const CooperRunInputs& inputs)
{
    return inputs.groupsOn && !inputs.groups.Groups.empty();
}

int runPlaceCount(int placeCount)
{
    return std::clamp(placeCount, 0, MaxPlaceCount);
}

CooperRunResult runCooperDriver(CooperState& state, const TProjectRecord& record, int placeCount,
    const CooperRunInputs& inputs, const CooperRunCallbacks& callbacks)
{
    return Run(state, record, placeCount, inputs, callbacks).go();
}

std::string runNoticeText(const std::vector<int>& historyFullGroups)
{
    if (historyFullGroups.empty())
        return {};
    std::string text(HistoryFullNotice);
    std::string groups;
    for (int g : historyFullGroups) {
        if (g <= 0)
            continue;
        if (!groups.empty())
            groups += ", ";
        groups += std::to_string(g);
    }
    if (!groups.empty()) {
        // The groups go before the closing " !!!", so the notice keeps the program's form.
        const std::string_view end = " !!!";
        std::string part(" (SKUPINA ");
        part += groups;
        part += ')';
        if (text.size() >= end.size() && std::string_view(text).substr(text.size() - end.size()) == end)
            text.insert(text.size() - end.size(), part);
        else
            text += part;
    }
    return text;
}

std::string ungroupedText(const std::vector<std::string>& ungroupedPlaces)
{
    if (ungroupedPlaces.empty())
        return {};
    std::string text = "Miesta mimo skupín: ";
    for (std::size_t i = 0; i < ungroupedPlaces.size(); ++i)
        text += (i ? ", " : "") + ungroupedPlaces[i];
    return text;
}

std::vector<IteratePoint> historyPoints(const CooperHistory& x, const CooperHistory& y, int finalIter)
{
    const int n = std::clamp(finalIter, 0, CooperHistorySize);
    std::vector<IteratePoint> points;
    points.reserve(static_cast<std::size_t>(n));
    for (int j = 1; j <= n; ++j)
        points.push_back({ x[j], y[j] });
    return points;
}

std::vector<ChartPoint> projectChartPlaces(const TProjectRecord& record, int placeCount)
{
    const int n = std::clamp(placeCount, 0, MaxPlaces);
    std::vector<ChartPoint> places;
    places.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        places.push_back({ record.PlaceX[i], record.PlaceY[i] });
    return places;
}

namespace {

// G to at most 4 significant digits, with the locale's separator and never an exponent, so
// that a small gap reads as a plain number ("0,00001191"); trailing zeros are dropped.
std::string percentDigits(long double percent, std::string_view separator)
{
    if (!(percent > 0.0L) || !std::isfinite(percent))
        return "0";
    char buf[96];
    // Decimals for 4 significant digits; a value that rounds up to the next power of ten
    // ("9,99996" to "10,000") just keeps one digit more, dropped below as a trailing zero.
    const int magnitude = static_cast<int>(std::floor(std::log10(percent)));
    const int decimals = std::clamp(3 - magnitude, 0, 40);
    std::snprintf(buf, sizeof buf, "%.*Lf", decimals, percent);
    std::string text(buf);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    const std::size_t point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

std::string placeText(const std::string& name)
{
    return "Výsledok je optimum (miesto " + name + ")";
}

} // namespace

std::string gapText(long double gap, std::string_view separator)
{
    return "Výsledok je nanajvýš o " + percentDigits(gap * 100.0L, separator) + " % horší ako optimum";
}

std::string optimumPlaceText(const std::string& name)
{
    return placeText(name);
}

std::string existingCentreText(std::string_view name)
{
    return "Existujúce centrum: " + std::string(name);
}

long double groupRunTotal(const CooperRunResult& result)
{
    long double total = 0.0L;
    for (const CooperGroupResult& g : result.groups)
        if (g.solved)
            total += g.certificate.objective;
    return total;
}

std::string groupTotalText(const CooperRunResult& result, std::string_view separator)
{
    const bool any = std::any_of(
        result.groups.begin(), result.groups.end(), [](const CooperGroupResult& g) { return g.solved; });
    if (!result.groupRun || !any)
        return {};
    return "Vážený súčet skupín: " + formatIterate(groupRunTotal(result), separator);
}

std::vector<std::string> groupPositionLines(const CooperRunResult& result, const TProjectRecord& record)
{
    std::vector<std::string> lines;
    for (const CooperGroupResult& g : result.groups) {
        if (!g.solved || g.iterates.empty())
            continue;
        const IteratePoint& p = g.iterates.back();
        const auto at = geo::toLatLon(record, static_cast<double>(p.x), static_cast<double>(p.y));
        if (!at)
            continue;
        lines.push_back("Skupina " + std::to_string(g.no) + ": "
            + (g.existingCentre.empty()
                    ? geo::formatPosition(*at)
                    : "Existujúce centrum " + g.existingCentre + ": " + geo::formatLatLon(*at)));
    }
    return lines;
}

std::string groupCertificateText(const CooperGroupResult& group, std::string_view separator)
{
    const CooperCertificate& c = group.certificate;
    if (group.solved && !group.existingCentre.empty())
        return existingCentreText(group.existingCentre);
    if (!group.solved || !c.available)
        return {};
    const auto k = static_cast<std::size_t>(c.optimalPlace);
    if (k >= 1 && k <= group.memberNames.size())
        return placeText(group.memberNames[k - 1]);
    return gapText(c.gap, separator);
}

std::string certificateText(
    const CooperRunResult& result, const TProjectRecord& record, std::string_view separator)
{
    if (!result.groupRun) {
        const CooperCertificate& c = result.certificate;
        if (!c.available || result.finalIter < 1)
            return {};
        if (c.optimalPlace >= 1 && c.optimalPlace <= MaxPlaces)
            return placeText(displayName(record.PlaceName[c.optimalPlace]));
        return gapText(c.gap, separator);
    }
    bool any = false;
    long double worst = 0.0L;
    for (const CooperGroupResult& g : result.groups) {
        // A centre that stays at its place is no result of the iteration to vouch for.
        if (!g.solved || !g.existingCentre.empty())
            continue;
        if (!g.certificate.available)
            return {};
        any = true;
        worst = std::max(worst, g.certificate.gap);
    }
    return any ? gapText(worst, separator) : std::string();
}

} // namespace dorvan
