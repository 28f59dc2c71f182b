#pragma once

#include <string_view>

namespace dorvan {

// The settings of the Cooper iteration as the settings page offers them. They live only in
// that page's controls; every run reads and checks them as they stand.
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

inline constexpr const char* DefaultPrecisionText = "0,01";
inline constexpr const char* DefaultCorrectionText = "1,0";

// Precision e: a number whose four-decimal value lies in 0,0001..10.
bool precisionAcceptable(std::string_view text);
// Correction k: a number whose four-decimal value is above 0.
bool correctionAcceptable(std::string_view text);

} // namespace dorvan
