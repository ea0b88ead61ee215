// The fixed lists of the main window.
#pragma once

#include <array>
#include <string_view>

namespace melodane {

// Entry n is General MIDI program n, under the window's own short names.
extern const std::array<std::string_view, 128> kInstrumentNames;

// The tone list; the keystroke player uses the position, not the name.
extern const std::array<std::string_view, 12> kToneNames;

}  // namespace melodane
