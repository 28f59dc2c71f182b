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
const std::string PrecisionRefused = "Chybná presnosť !!!";

CooperRunInputs groupInputs(std::vector<std::string> lines, const char* count = "2")
{
    CooperRunInputs in;
    in.groupsOn = true;
    in.groups = dorvan::groupsFromLines(lines, 0);
    in.groups.Count = dorvan::groupCountFromText(count);
    return in;
}

const CooperRunInputs SecondSmall = groupInputs({ "--- Skupina 1 ---", "A", "B", "C", "--- Skupina 2 ---", "D", "E" });
const CooperRunInputs FirstSmall
    = groupInputs({ "--- Skupina 1 ---", "A", "B", "--- Skupina 2 ---", "C", "D", "E" });
const CooperRunInputs NoGroups {};

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
            { { &SecondSmall, { Small2 }, { Small2 } }, { &SecondSmall, { Small2 }, {} }, { &SecondSmall, { Small2 }, {} } } },
        { "other groups tell again, and so do the first ones after them",
            { { &SecondSmall, { Small2 }, { Small2 } }, { &FirstSmall, { Small1 }, { Small1 } },
                { &SecondSmall, { Small2 }, { Small2 } }, { &SecondSmall, { Small2 }, {} } } },
        { "a one-centre run between forgets",
            { { &SecondSmall, { Small2 }, { Small2 } }, { &NoGroups, {}, {} },
                { &SecondSmall, { Small2 }, { Small2 } } } },
        { "other warnings are always shown",
            { { &SecondSmall, { PrecisionRefused, Small2 }, { PrecisionRefused, Small2 } },
                { &SecondSmall, { PrecisionRefused, Small2 }, { PrecisionRefused } },
                { &NoGroups, { PrecisionRefused }, { PrecisionRefused } } } },
        { "a group number of two digits, and a second small group arising later",
            { { &SecondSmall, { Small12 }, { Small12 } }, { &SecondSmall, { Small12, Small1 }, { Small1 } },
                { &SecondSmall, { Small1, Small12 }, {} } } },
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
