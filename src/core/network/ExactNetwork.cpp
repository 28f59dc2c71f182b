#include "core/network/ExactNetwork.h"

#include "core/common/DecimalText.h"
#include "core/common/Index.h"
#include "core/entry/PlaceList.h"

#include <cmath>

namespace dorvan {

namespace {

// 1 hviezda, 2 to 4 hviezdy, 0 and 5 on hviezd (the same for "miesto").
std::string counted(int count, const char* one, const char* few, const char* many)
{
    const int a = std::abs(count);
    return std::to_string(count) + " " + (a == 1 ? one : (a >= 2 && a <= 4 ? few : many));
}

std::string percent(double v, std::string_view separator)
{
    // By hand: the C library's formatting follows the program's locale.
    const long long tenths = std::llround(std::abs(v) * 10.0);
    return (v < 0 && tenths != 0 ? "-" : "") + std::to_string(tenths / 10) + std::string(separator)
        + std::to_string(tenths % 10);
}

std::string bounds(const ExactStarResult& r, std::string_view separator)
{
    return "aspoň " + starsText(r.lowerBoundStars) + ", dráha aspoň "
        + formatDecimal4(r.lowerBoundTotal, separator);
}

} // namespace

ExactStarProblem exactProblem(const StarWorkingCopy& w)
{
    ExactStarProblem pb;
    pb.n = w.n;
    pb.D = w.D0;
    pb.reach = starReach(w);
    pb.capacity = starCapacity(w);
    return pb;
}

std::vector<ExactStar> starsOfSolution(const StarWorkingCopy& w, const StarSolution& s)
{
    std::vector<ExactStar> stars;
    std::vector<char> used(ix(w.n), 0);
    const auto placeNamed = [&](const Text100& name) {
        for (int i = 0; i < w.n; ++i)
            if (!used[ix(i)] && w.names[ix(i)] == name) {
                used[ix(i)] = 1;
                return i;
            }
        return -1;
    };
    std::size_t next = 0;
    for (std::size_t k = 0; k < s.StarSize.size() && k < s.StarCentre.size(); ++k) {
        ExactStar star;
        // The centre is the star's first place: the search puts it there.
        if (s.StarCentre[k] != static_cast<int>(next) + 1)
            return {};
        for (int m = 0; m < s.StarSize[k]; ++m, ++next) {
            if (next >= s.StarOrder.size())
                return {};
            const int place = placeNamed(s.StarOrder[next]);
            if (place < 0)
                return {};
            star.members.push_back(place);
        }
        if (star.members.empty())
            return {};
        star.centre = star.members.front();
        stars.push_back(std::move(star));
    }
    return stars;
}

StarSolution starSolutionOf(const StarWorkingCopy& w, const ExactStarResult& r)
{
    StarSolution s;
    s.StarCount = r.starCount;
    s.StarTotal = r.total;
    for (const ExactStar& star : r.stars) {
        s.StarCentre.push_back(static_cast<int>(s.StarOrder.size()) + 1);
        s.StarSize.push_back(static_cast<int>(star.members.size()));
        s.StarSum.push_back(star.sum);
        for (int m : star.members)
            s.StarOrder.push_back(w.names[ix(m)]);
    }
    return s;
}

ExactStarResult searchExactNetwork(
    const StarWorkingCopy& w, const StarSolution& heuristic, const ExactStarOptions& options)
{
    return solveExactStars(exactProblem(w), starsOfSolution(w, heuristic), options);
}

std::string starsText(int count)
{
    return counted(count, "hviezda", "hviezdy", "hviezd");
}

std::vector<std::string> exactListLines(
    const StarWorkingCopy& w, const ExactStarResult& r, std::string_view separator)
{
    std::vector<std::string> lines;
    lines.push_back("Optimálna sieť: " + starsText(r.starCount));
    lines.push_back("Celková dráha: " + formatDecimal4(r.total, separator));
    lines.push_back(r.proven ? std::string("Dokázané optimum") : "Nedokázané: " + bounds(r, separator));
    lines.push_back("----------");
    int s = 0;
    for (const ExactStar& star : r.stars) {
        lines.push_back("Hviezda " + std::to_string(++s) + ": centrum "
            + displayName(w.names[ix(star.centre)]) + ", "
            + counted(static_cast<int>(star.members.size()), "miesto", "miesta", "miest") + ", dráha "
            + formatDecimal4(star.sum, separator));
        for (int m : star.members)
            if (m != star.centre)
                lines.push_back("   " + displayName(w.names[ix(m)]));
    }
    return lines;
}

std::string comparisonLine(const ExactStarResult& r, const StarSolution& h, std::string_view separator)
{
    std::string line = r.proven ? "Optimum: " : "Najlepšia nájdená: ";
    line += starsText(r.starCount) + ", celková dráha " + formatDecimal4(r.total, separator);
    if (r.proven)
        line += " (dokázané)";
    else
        line += std::string(r.stopped ? " (zastavené, " : " (časový limit, ")
            + "nedokázané: " + bounds(r, separator) + ")";
    line += "; heuristika: " + starsText(h.StarCount) + ", " + formatDecimal4(h.StarTotal, separator);
    const int more = h.StarCount - r.starCount;
    if (more != 0)
        line += " (" + std::string(more > 0 ? "+" : "") + starsText(more) + ")";
    else if (h.StarTotal > r.total && r.total > 0.0)
        line += " (dráha +" + percent((h.StarTotal - r.total) / r.total * 100.0, separator) + " %)";
    else if (h.StarTotal > r.total)
        line += " (dráha +" + formatDecimal4(h.StarTotal - r.total, separator) + ")";
    else
        line += " (rovnako dobrá)";
    return line;
}

} // namespace dorvan
