#include "core/allocation/PMedianWeber.h"

#include <cmath>
#include <limits>

namespace dorvan::pmedian {

namespace {

struct Sums {
    double spread = 0; // sum w / d over the members off the point
    double mapX = 0, mapY = 0; // sum w x / d, sum w y / d over them
    double here = 0; // weight lying on the point
    std::int32_t hereMember = -1;
    double nearestOff = std::numeric_limits<double>::infinity(); // the nearest member off the point
    std::int32_t nearestMember = -1;
};

Sums sumsAt(const PlaceArrays& p, std::span<const std::int32_t> members, double x, double y)
{
    Sums s;
    for (const std::int32_t i : members) {
        const auto k = static_cast<std::size_t>(i);
        const double dx = p.x[k] - x, dy = p.y[k] - y;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d <= p.reach) {
            s.here += p.w[k];
            s.hereMember = i;
            continue;
        }
        if (d < s.nearestOff) {
            s.nearestOff = d;
            s.nearestMember = i;
        }
        const double r = p.w[k] / d;
        s.spread += r;
        s.mapX += r * p.x[k];
        s.mapY += r * p.y[k];
    }
    return s;
}

// Kuhn's test at the place of a member: the weight on it outweighs the pull of the others.
bool kuhnHolds(const PlaceArrays& p, std::span<const std::int32_t> members, std::int32_t member)
{
    const auto m = static_cast<std::size_t>(member);
    const Sums s = sumsAt(p, members, p.x[m], p.y[m]);
    if (!(s.here > 0))
        return false;
    const double pullX = s.mapX - p.x[m] * s.spread;
    const double pullY = s.mapY - p.y[m] * s.spread;
    return std::sqrt(pullX * pullX + pullY * pullY) <= s.here;
}

} // namespace

WeberStep weberSteps(const PlaceArrays& places, std::span<const std::int32_t> members, double x, double y,
    double tolerance, int maxSteps)
{
    WeberStep out { x, y, true, -1 };
    if (members.empty())
        return out;
    out.converged = false;
    double lastStep = std::numeric_limits<double>::infinity();
    for (int step = 0; step < maxSteps; ++step) {
        const Sums s = sumsAt(places, members, out.x, out.y);
        if (!(s.spread > 0)) { // everything lies on the point (or weighs nothing)
            out.converged = true;
            break;
        }
        double nx = s.mapX / s.spread, ny = s.mapY / s.spread;
        if (s.here > 0) {
            const double pullX = s.mapX - out.x * s.spread, pullY = s.mapY - out.y * s.spread;
            const double pull = std::sqrt(pullX * pullX + pullY * pullY);
            if (pull <= s.here) { // Kuhn's test holds on this place
                const auto m = static_cast<std::size_t>(s.hereMember);
                return { places.x[m], places.y[m], true, s.hereMember };
            }
            const double share = s.here / pull;
            nx = (1 - share) * nx + share * out.x;
            ny = (1 - share) * ny + share * out.y;
        }
        const double dx = nx - out.x, dy = ny - out.y;
        lastStep = std::sqrt(dx * dx + dy * dy);
        out.x = nx;
        out.y = ny;
        // Near an optimal place the iteration only creeps: the nearest member gets the test.
        const bool creeping = s.nearestMember >= 0 && s.nearestOff <= 8 * lastStep;
        if ((creeping && step % 4 == 3) || (lastStep <= tolerance && s.nearestOff <= 1e3 * tolerance)) {
            if (kuhnHolds(places, members, s.nearestMember)) {
                const auto m = static_cast<std::size_t>(s.nearestMember);
                out = { places.x[m], places.y[m], true, s.nearestMember };
                return out;
            }
        }
        if (lastStep <= tolerance) {
            out.converged = true;
            break;
        }
    }
    return out;
}

long double groupCost(const PlaceArrays& places, std::span<const std::int32_t> members, double x, double y)
{
    long double sum = 0;
    for (const std::int32_t i : members) {
        const auto k = static_cast<std::size_t>(i);
        const double dx = places.x[k] - x, dy = places.y[k] - y;
        sum += static_cast<long double>(places.w[k]) * std::sqrt(dx * dx + dy * dy);
    }
    return sum;
}

} // namespace dorvan::pmedian
