// The generated DSP icon: a well-formed .ico with the three sizes, the same
// bytes on every run, transparent corners and an opaque face.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/icon/icon_image.h"

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

TEST(DspIcon, IsAWellFormedIconFileWithThreeSizes) {
    const std::vector<uint8_t> ico = BuildDspIconFile();
    ASSERT_GE(ico.size(), 6u + 3 * 16);
    EXPECT_EQ(U16(ico, 0), 0);
    EXPECT_EQ(U16(ico, 2), 1);
    ASSERT_EQ(U16(ico, 4), 3);
    size_t expectedOffset = 6 + 3 * 16;
    for (int i = 0; i < 3; ++i) {
        const size_t e = 6 + 16 * static_cast<size_t>(i);
        const int size = IconSizes[i];
        EXPECT_EQ(ico[e], size);
        EXPECT_EQ(ico[e + 1], size);
        EXPECT_EQ(U16(ico, e + 6), 32);
        const uint32_t bytes = U32(ico, e + 8);
        const uint32_t offset = U32(ico, e + 12);
        EXPECT_EQ(offset, expectedOffset);
        const uint32_t maskStride = ((size + 31) / 32) * 4;
        EXPECT_EQ(bytes, 40 + static_cast<uint32_t>(size * size * 4) + maskStride * size);
        ASSERT_LE(offset + bytes, ico.size());
        EXPECT_EQ(U32(ico, offset), 40u);
        EXPECT_EQ(U32(ico, offset + 8), static_cast<uint32_t>(2 * size));
        expectedOffset += bytes;
    }
    EXPECT_EQ(expectedOffset, ico.size());
}

TEST(DspIcon, IsDeterministicAndShowsAFace) {
    EXPECT_EQ(BuildDspIconFile(), BuildDspIconFile());
    for (int size : IconSizes) {
        const std::vector<uint32_t> px = DrawDspIcon(size);
        ASSERT_EQ(px.size(), static_cast<size_t>(size * size));
        EXPECT_EQ(px[0] >> 24, 0u) << "corner transparent at " << size;
        EXPECT_EQ(px[static_cast<size_t>(size * size / 2 + size / 2)] >> 24, 0xFFu) << "opaque centre at " << size;
        int light = 0;
        for (uint32_t p : px) light += (p & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0xC0 && ((p >> 16) & 0xFF) > 0xC0;
        EXPECT_GT(light, 10) << "letters drawn at " << size;
    }
}

}  // namespace
