// Names and texts that identify this build of the program.
#pragma once

#include <string_view>

namespace melodane {

inline constexpr std::string_view kProductName = "Melodane";
// The version this build reports and compares with the published one.
inline constexpr std::string_view kBuildVersionText = "3.0";
inline constexpr std::string_view kProductFamily = "Brenwick Desktop Fun";
inline constexpr std::string_view kMakerNotice = "Brenwick Software. All rights reserved.";

}  // namespace melodane
