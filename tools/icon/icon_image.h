// The program's "DSP" icon, drawn from code: a dark rack-unit face with the
// letters DSP in light grey over a row of green, yellow and red meter
// segments, at 16, 32 and 48 pixels, as the bytes of a Windows .ico file.
// Deterministic: the same bytes on every run.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int IconSizes[3] = {16, 32, 48};

// One image as 32-bit pixels 0xAARRGGBB, top row first.
std::vector<uint32_t> DrawDspIcon(int size);

// The whole .ico file with all sizes.
std::vector<uint8_t> BuildDspIconFile();
