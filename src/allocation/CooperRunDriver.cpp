#include "allocation/CooperRunDriver.h"

#include "allocation/CooperRunText.h"
#include "entry/GroupList.h"
#include "entry/PlaceList.h"

#include <algorithm>
#include <exception>

namespace dorvan {

namespace {

// GroupBox2 in a group run, by whether group 1 was solved.
constexpr int GroupCentresWidth = 300;
constexpr int GroupWarningWidth = 200;

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

    CooperRunResult go(int width1, int width2)
    {
        res_.groupBox1Width = width1;
        res_.groupBox2Width = width2;
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
        takeReport(PocitajCooper(s_, settings()), 0);
        res_.finalIter = s_.FinalIter;
        res_.pathLines = iterationLines(s_.IterX, s_.IterY, s_.FinalIter, in_.separator);
        for (std::size_t i = 0; i < res_.pathLines.size(); ++i)
            res_.groupBox2Width = i == 0 ? textPanelWidth(res_.pathLines[i])
                                         : fitPanelWidth(res_.groupBox2Width, res_.pathLines[i]);
        res_.optimumText = optimumLine(s_.IterX, s_.IterY, s_.FinalIter, in_.separator);
        for (int i = 1; i <= n_; ++i) {
            std::string line = placeLine(
                in_.mode, i, displayName(r_.PlaceName[i]), r_.PlaceX[i], r_.PlaceY[i], in_.separator);
            res_.groupBox1Width = i == 1 ? textPanelWidth(line) : fitPanelWidth(res_.groupBox1Width, line);
            res_.placeLines.push_back(std::move(line));
        }
    }

    void groupRun()
    {
        res_.groupRun = true;
        const int groups = groupCountFromText(in_.groupCountText);
        res_.groupCount = groups;
        s_.GroupMemberTotal = 0;

        // The place panel is measured for the longest line a place could take.
        res_.groupBox1Width = textPanelWidth(groupHeader(groups));
        for (int i = 1; i <= n_; ++i)
            res_.groupBox1Width = fitPanelWidth(res_.groupBox1Width,
                placeLine(ChartDataMode::Manual, i, displayName(r_.PlaceName[i]), r_.PlaceX[i], r_.PlaceY[i],
                    in_.separator));

        for (int g = 1; g <= groups; ++g) {
            s_.GroupNo = g;
            const std::vector<std::string> members = groupMembers(in_.groupLines, g);
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
                const bool full = takeReport(PocitajCooperSkupiny(s_, settings()), g);
                const int f = s_.FinalIter;
                std::string line = groupOptimumLine(g, s_.GroupIterX[f], s_.GroupIterY[f], in_.separator);
                res_.groupBox2Width = g == 1 ? GroupCentresWidth : fitPanelWidth(res_.groupBox2Width, line);
                res_.pathLines.push_back(std::move(line));
                group.solved = true;
                group.finalIter = f;
                group.iterates = historyPoints(s_.GroupIterX, s_.GroupIterY, f);
                group.historyFull = full;
            } else {
                warnOnce(tooFewMembersMessage(g));
                if (g == 1)
                    res_.groupBox2Width = GroupWarningWidth;
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
    }

    CooperSettings settings() const { return cb_.settings ? cb_.settings() : settings_; }

    // The solver's messages are shown once a run, and the texts it complained about go back to
    // their defaults before the next group reads them. True when the history was used up.
    bool takeReport(const CooperReport& report, int groupNo)
    {
        for (const std::string& message : report.messages)
            warnOnce(message);
        if (report.precisionReset) {
            settings_.precisionText = DefaultPrecisionText;
            res_.precisionReset = true;
            if (cb_.resetPrecision)
                cb_.resetPrecision();
        }
        if (report.correctionReset) {
            settings_.correctionText = DefaultCorrectionText;
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

bool isGroupRun(const CooperRunInputs& inputs)
{
    return inputs.groupsOn && !inputs.groupLines.empty();
}

int runPlaceCount(int placeCount)
{
    return std::clamp(placeCount, 0, MaxPlaceCount);
}

CooperRunResult runCooperDriver(CooperState& state, const TProjectRecord& record, int placeCount,
    const CooperRunInputs& inputs, int groupBox1Width, int groupBox2Width,
    const CooperRunCallbacks& callbacks)
{
    return Run(state, record, placeCount, inputs, callbacks).go(groupBox1Width, groupBox2Width);
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

} // namespace dorvan
