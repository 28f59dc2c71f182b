#include "core/project/AllocationSettings.h"

#include "core/common/DecimalText.h"

#include <utility>

namespace dorvan {

namespace {

constexpr std::int64_t MinPrecision = 1; // 0,0001
constexpr std::int64_t MaxPrecision = 100000; // 10

} // namespace

std::optional<std::int64_t> precisionUnits(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    if (!p.ok() || p.number->tenThousandths < MinPrecision || p.number->tenThousandths > MaxPrecision)
        return std::nullopt;
    return p.number->tenThousandths;
}

std::optional<std::int64_t> correctionUnits(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    if (!p.ok() || p.number->tenThousandths <= 0)
        return std::nullopt;
    return p.number->tenThousandths;
}

CooperSettings::CooperSettings()
    : CooperSettings(
        StartPoint::Computed, StoppingRule::BothAxes, DefaultPrecisionText, DefaultCorrectionText)
{
}

CooperSettings::CooperSettings(
    StartPoint startPoint, StoppingRule stoppingRule, std::string precisionText, std::string correctionText)
    : start(startPoint)
    , rule(stoppingRule)
{
    setPrecisionText(std::move(precisionText));
    setCorrectionText(std::move(correctionText));
}

void CooperSettings::setPrecisionText(std::string text)
{
    precision_ = precisionUnits(text);
    precisionText_ = std::move(text);
}

void CooperSettings::setCorrectionText(std::string text)
{
    correction_ = correctionUnits(text);
    correctionText_ = std::move(text);
}

} // namespace dorvan
