#pragma once

#include "core/project/ProjectRecord.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <optional>
#include <vector>

namespace dorvan {

// A pair of place numbers the distance entry asks for: `row` is the place being asked about
// (an added or changed place), `col` the place it is measured against.
struct DistanceCursor {
    int row = 1;
    int col = 2;
    bool operator==(const DistanceCursor&) const = default;
};

// Which pairs of places the distance entry still asks for. The pairs move with their places
// when the list is sorted or a place is deleted, like the rows and columns of the distance
// matrix. Each asked place is a "row": its pairs are asked together, against every place in
// place order; a pair of two asked places is asked once, under the lower-numbered one. A first
// list asks every place, so its pairs come as (1,2), (1,3) ... (N-1,N).
class DistanceQuestions {
public:
    bool operator==(const DistanceQuestions&) const = default;

    // Nothing is asked.
    void clear();
    // Every pair of places 1..count.
    void askAll(int count);
    // Every pair of `place` with places 1..count; `place` is asked as a row.
    void askPlace(int place, int count);
    // The pair asked next among places 1..count, none when every pair has its value.
    std::optional<DistanceCursor> next(int count) const;
    // The pair has its value and is not asked again.
    void answered(DistanceCursor pair);
    // The places were put in a new order: from[k - 1] is the old number of place k.
    void reorder(const std::vector<int>& from);
    // Place `number` of places 1..oldCount went; the later ones move down by one.
    void remove(int number, int oldCount);

private:
    static constexpr std::size_t Slots = MaxPlaces + 1;
    std::array<std::bitset<Slots>, Slots> pending_ {};
    std::bitset<Slots> rows_ {};
};

} // namespace dorvan
