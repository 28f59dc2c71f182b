#include "core/project/AllocationSettings.h"

#include "core/common/DecimalText.h"

namespace dorvan {

bool precisionAcceptable(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    return p.ok() && p.number->tenThousandths >= 1 && p.number->tenThousandths <= 100000;
}

bool correctionAcceptable(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    return p.ok() && p.number->tenThousandths > 0;
}

} // namespace dorvan
