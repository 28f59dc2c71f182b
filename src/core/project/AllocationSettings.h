#pragma once

#include <cstdint>
#include <optional>
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

// The precision e and the correction k as a run takes them: whole counts of ten-thousandths
// (E = e × 10000, K = k × 10000). These are the only rules of what the two texts may hold.
// E: a number whose four-decimal value lies in 0,0001..10.
std::optional<std::int64_t> precisionUnits(std::string_view text);
// K: a number whose four-decimal value is above 0.
std::optional<std::int64_t> correctionUnits(std::string_view text);

// The settings of one run as the settings page shows them: the start point, the stopping rule
// and the precision and correction texts as they stand. Each text is parsed once, when it is
// set, and kept with its value; a text that is no acceptable value keeps none, and the run that
// reads it complains and puts it back to its default.
class CooperSettings {
public:
    CooperSettings();
    CooperSettings(StartPoint startPoint, StoppingRule stoppingRule, std::string precisionText,
        std::string correctionText);

    StartPoint start = StartPoint::Computed; // "[X0;Y0] = [0;0]" / "[X0;Y0] - vypočítať"
    StoppingRule rule = StoppingRule::BothAxes; // " Presnosť ": x, y, both, objective

    // The precision text, "e = ", and E; nothing when the text is no number in 0,0001..10.
    const std::string& precisionText() const { return precisionText_; }
    std::optional<std::int64_t> precision() const { return precision_; }
    // The correction text, "k = ", and K; nothing when the text is no number above 0.
    const std::string& correctionText() const { return correctionText_; }
    std::optional<std::int64_t> correction() const { return correction_; }

    void setPrecisionText(std::string text);
    void setCorrectionText(std::string text);
    // A text the run or the page refused goes back to its default.
    void resetPrecision() { setPrecisionText(DefaultPrecisionText); }
    void resetCorrection() { setCorrectionText(DefaultCorrectionText); }

    bool operator==(const CooperSettings&) const = default;

private:
    std::string precisionText_;
    std::optional<std::int64_t> precision_;
    std::string correctionText_;
    std::optional<std::int64_t> correction_;
};

} // namespace dorvan
