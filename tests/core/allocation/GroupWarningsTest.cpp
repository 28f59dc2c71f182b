#include "core/allocation/GroupWarnings.h"

#include "core/entry/GroupList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dorvan::CooperRunInputs;
using dorvan::GroupWarnings;

const std::string Small1 = "Nedostatočný počet miest v SKUPINE 1 (MIN=3)!!!";
const std::string Small2 = "Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!";
const std::string Small12 = "Nedostatočný počet miest v SKUPINE 12 (MIN=3)!!!";
const std::string BadPrecision = "Chybná presnosť !!!";

CooperRunInputs groupRun(std::vector<std::string> lines, const char* count = "2")
{
    CooperRunInputs in;
    in.groupsOn = true;
    in.groups = dorvan::groupsFromLines(lines, 0);
    in.groups.Count = dorvan::groupCountFromText(count);
    return in;
}

const CooperRunInputs Pairs = groupRun({ "--- Skupina 1 ---", "A", "B", "C", "--- Skupina 2 ---", "D", "E" });
const CooperRunInputs PairsMoved
    = groupRun({ "--- Skupina 1 ---", "A", "B", "--- Skupina 2 ---", "C", "D", "E" });
const CooperRunInputs OneCentre {};

// One run: its inputs, the warnings that arose in it, and those to be shown.
struct WarnedRun {
    const CooperRunInputs* inputs;
    std::vector<std::string> arose;
    std::vector<std::string> shown;
};

struct Sequence {
    const char* what;
    std::vector<WarnedRun> runs;
};

TEST(GroupWarnings, ASmallGroupIsToldOnceWhileTheGroupsStayTheSame)
{
    const Sequence sequences[] = {
        { "the same groups run again and again",
            { { &Pairs, { Small2 }, { Small2 } }, { &Pairs, { Small2 }, {} }, { &Pairs, { Small2 }, {} } } },
        { "other groups tell again, and so do the first ones after them",
            { { &Pairs, { Small2 }, { Small2 } }, { &PairsMoved, { Small1 }, { Small1 } },
                { &Pairs, { Small2 }, { Small2 } }, { &Pairs, { Small2 }, {} } } },
        { "a one-centre run between forgets",
            { { &Pairs, { Small2 }, { Small2 } }, { &OneCentre, {}, {} },
                { &Pairs, { Small2 }, { Small2 } } } },
        { "other warnings are always shown",
            { { &Pairs, { BadPrecision, Small2 }, { BadPrecision, Small2 } },
                { &Pairs, { BadPrecision, Small2 }, { BadPrecision } },
                { &OneCentre, { BadPrecision }, { BadPrecision } } } },
        { "a group number of two digits, and a second small group arising later",
            { { &Pairs, { Small12 }, { Small12 } }, { &Pairs, { Small12, Small1 }, { Small1 } },
                { &Pairs, { Small1, Small12 }, {} } } },
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.what);
        GroupWarnings memory;
        int n = 0;
        for (const WarnedRun& run : s.runs) {
            SCOPED_TRACE(++n);
            memory.startRun(*run.inputs);
            std::vector<std::string> shown;
            for (const std::string& text : run.arose)
                if (memory.shows(text))
                    shown.push_back(text);
            EXPECT_EQ(shown, run.shown);
        }
    }
}

} // namespace
