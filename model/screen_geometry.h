// Screen coordinates in pixels, as the settings and setup files keep them and
// the windows use them.
#pragma once

#include <cstdint>

struct ScreenRect {
    int32_t left, top, right, bottom;
};
struct ScreenPoint {
    int32_t left, top;
};
