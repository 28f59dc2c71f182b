#include "core/allocation/GroupWarnings.h"

#include "core/allocation/CooperSolver.h"

#include <string_view>

namespace dorvan {

namespace {

// "Nedostatočný počet miest v SKUPINE n (MIN=3)!!!" for some n of digits.
bool isGroupSizeWarning(std::string_view text)
{
    const std::string sample = tooFewMembersMessage(0);
    const std::size_t digit = sample.find('0');
    const std::string_view head = std::string_view(sample).substr(0, digit);
    const std::string_view tail = std::string_view(sample).substr(digit + 1);
    if (text.size() <= head.size() + tail.size() || !text.starts_with(head) || !text.ends_with(tail))
        return false;
    const std::string_view number = text.substr(head.size(), text.size() - head.size() - tail.size());
    return number.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

void GroupWarnings::startRun(const CooperRunInputs& inputs)
{
    const bool groupRun = isGroupRun(inputs);
    if (groupRun == groupRun_ && (!groupRun || inputs.groups == groups_))
        return;
    groupRun_ = groupRun;
    groups_ = groupRun ? inputs.groups : DistributionGroups {};
    shown_.clear();
}

bool GroupWarnings::shows(const std::string& text)
{
    if (!groupRun_ || !isGroupSizeWarning(text))
        return true;
    return shown_.insert(text).second;
}

} // namespace dorvan
