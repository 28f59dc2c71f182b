#pragma once

#include <string>
#include <string_view>

namespace dorvan {

// The settings of the Cooper iteration as the settings page offers them. The project keeps them
// as the page shows them; every run reads and checks them as they stand.
enum class StoppingRule {
    AxisX, // "podľa osi x"
    AxisY, // "podľa osi y"
    BothAxes, // "podľa osi x a osi y súčasne" (default)
    Objective, // "podľa účelovej funkcie"
};

enum class StartPoint {
    Origin, // "[X0;Y0] = [0;0]"
    Computed, // "[X0;Y0] - vypočítať" (default)
};

// The captions the settings page gives the choices; the report names the settings alike.
constexpr const char* ruleCaption(StoppingRule rule)
{
    switch (rule) {
    case StoppingRule::AxisX:
        return "podľa osi x";
    case StoppingRule::AxisY:
        return "podľa osi y";
    case StoppingRule::BothAxes:
        return "podľa osi x a osi y súčasne";
    case StoppingRule::Objective:
        return "podľa účelovej funkcie";
    }
    return "";
}

constexpr const char* startCaption(StartPoint start)
{
    return start == StartPoint::Origin ? "[X0;Y0] = [0;0]" : "[X0;Y0] - vypočítať";
}

// What a run or the settings page says of a precision or correction text it cannot take.
inline constexpr std::string_view BadPrecisionMessage = "Chybná presnosť !!!";
inline constexpr std::string_view BadCorrectionMessage = "Chybná korekčná hodnota !!!";

inline constexpr const char* DefaultPrecisionText = "0,01";
inline constexpr const char* DefaultCorrectionText = "1,0";

// The settings of one run as the settings page shows them: the start point, the stopping rule
// and the precision and correction texts, which each run checks as they stand.
struct CooperSettings {
    StartPoint start = StartPoint::Computed; // "[X0;Y0] = [0;0]" / "[X0;Y0] - vypočítať"
    StoppingRule rule = StoppingRule::BothAxes; // " Presnosť ": x, y, both, objective
    std::string precisionText = DefaultPrecisionText; // the precision text, "e = "
    std::string correctionText = DefaultCorrectionText; // the correction text, "k = "
    bool operator==(const CooperSettings&) const = default;
};

// Precision e: a number whose four-decimal value lies in 0,0001..10.
bool precisionAcceptable(std::string_view text);
// Correction k: a number whose four-decimal value is above 0.
bool correctionAcceptable(std::string_view text);

} // namespace dorvan
