#include "core/project/DistanceQuestions.h"

#include <algorithm>

namespace dorvan {

namespace {

// At most 99 places are ever entered; slot 100 of the record is never a place.
constexpr int MaxAskedPlace = MaxPlaces - 1;

int askedCount(int count)
{
    return std::clamp(count, 0, MaxAskedPlace);
}

} // namespace

void DistanceQuestions::clear()
{
    for (auto& row : pending_)
        row.reset();
    rows_.reset();
}

void DistanceQuestions::askAll(int count)
{
    const int n = askedCount(count);
    for (int p = 1; p <= n; ++p)
        askPlace(p, n);
}

void DistanceQuestions::askPlace(int place, int count)
{
    const int n = askedCount(count);
    if (place < 1 || place > MaxAskedPlace)
        return;
    const auto p = static_cast<std::size_t>(place);
    rows_.set(p);
    for (int j = 1; j <= n; ++j) {
        if (j == place)
            continue;
        pending_[p].set(static_cast<std::size_t>(j));
        pending_[static_cast<std::size_t>(j)].set(p);
    }
}

std::optional<DistanceCursor> DistanceQuestions::next(int count) const
{
    const int n = askedCount(count);
    for (int i = 1; i <= n; ++i) {
        if (!rows_.test(static_cast<std::size_t>(i)))
            continue;
        for (int j = 1; j <= n; ++j)
            if (pending_[static_cast<std::size_t>(i)].test(static_cast<std::size_t>(j)))
                return DistanceCursor { i, j };
    }
    return std::nullopt;
}

void DistanceQuestions::answered(DistanceCursor pair)
{
    if (pair.row < 1 || pair.col < 1 || pair.row >= static_cast<int>(Slots)
        || pair.col >= static_cast<int>(Slots))
        return;
    const auto row = static_cast<std::size_t>(pair.row);
    const auto col = static_cast<std::size_t>(pair.col);
    pending_[row].reset(col);
    pending_[col].reset(row);
    // A place with all its pairs answered is asked as a row no more: a place added later is
    // asked against it under its own row.
    for (std::size_t p : { row, col })
        if (pending_[p].none())
            rows_.reset(p);
}

void DistanceQuestions::reorder(const std::vector<int>& from)
{
    const DistanceQuestions old = *this;
    const auto n = std::min(from.size(), static_cast<std::size_t>(MaxAskedPlace));
    auto oldSlot = [&from](std::size_t k) { return static_cast<std::size_t>(from[k - 1]); };
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t oi = oldSlot(i);
        if (oi < 1 || oi >= Slots)
            continue;
        rows_[i] = old.rows_[oi];
        for (std::size_t j = 1; j <= n; ++j) {
            const std::size_t oj = oldSlot(j);
            if (oj >= 1 && oj < Slots)
                pending_[i][j] = old.pending_[oi][oj];
        }
    }
}

void DistanceQuestions::remove(int number, int oldCount)
{
    const int n = askedCount(oldCount);
    if (number < 1 || number > n)
        return;
    auto shiftDown = [number, n](std::bitset<Slots>& bits) {
        for (int k = number; k < n; ++k)
            bits[static_cast<std::size_t>(k)] = bits[static_cast<std::size_t>(k + 1)];
        bits.reset(static_cast<std::size_t>(n));
    };
    for (int k = number; k < n; ++k)
        pending_[static_cast<std::size_t>(k)] = pending_[static_cast<std::size_t>(k + 1)];
    pending_[static_cast<std::size_t>(n)].reset();
    for (auto& row : pending_)
        shiftDown(row);
    shiftDown(rows_);
}

} // namespace dorvan
