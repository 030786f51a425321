#pragma once

#include <string_view>

namespace res::detail {

// The application icon's headphones as SVG text: the desktop icon, compiled in.
extern const std::string_view kHeadphonesDrawing;

} // namespace res::detail
