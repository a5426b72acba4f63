#include "tools/icon/icon_image.h"

#include <cstddef>

namespace {

constexpr uint32_t Transparent = 0x00000000u;
constexpr uint32_t Face = 0xFF2B2F36u;
constexpr uint32_t FaceEdge = 0xFF4A505Au;
constexpr uint32_t Shadow = 0xFF15171Bu;
constexpr uint32_t Letter = 0xFFE6E8EBu;
constexpr uint32_t Green = 0xFF35D04Au;
constexpr uint32_t Yellow = 0xFFF2C230u;
constexpr uint32_t Red = 0xFFE8402Eu;

// 3 x 5 glyphs of D, S and P, one row per entry, bit 2 the leftmost pixel.
constexpr uint8_t Glyphs[3][5] = {
    {0b110, 0b101, 0b101, 0b101, 0b110},
    {0b011, 0b100, 0b010, 0b001, 0b110},
    {0b110, 0b101, 0b110, 0b100, 0b100},
};

struct Canvas {
    int size;
    std::vector<uint32_t> pixels;
    void Fill(int x0, int y0, int w, int h, uint32_t c) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (x >= 0 && y >= 0 && x < size && y < size) pixels[static_cast<size_t>(y * size + x)] = c;
    }
};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPINFOHEADER, the pixels bottom row first as BGRA, then the AND mask
// (1 = transparent), rows padded to 32 bits.
std::vector<uint8_t> ImageData(int size) {
    const std::vector<uint32_t> px = DrawDspIcon(size);
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(size));
    Put32(out, static_cast<uint32_t>(size * 2));  // colour and mask
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);  // BI_RGB
    const int maskStride = ((size + 31) / 32) * 4;
    Put32(out, static_cast<uint32_t>(size * size * 4 + maskStride * size));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const uint32_t c = px[static_cast<size_t>(y * size + x)];
            out.push_back(static_cast<uint8_t>(c & 0xFF));
            out.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
            out.push_back(static_cast<uint8_t>((c >> 16) & 0xFF));
            out.push_back(static_cast<uint8_t>(c >> 24));
        }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < size; ++x)
            if ((px[static_cast<size_t>(y * size + x)] >> 24) == 0) row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<uint32_t> DrawDspIcon(int size) {
    Canvas c{size, std::vector<uint32_t>(static_cast<size_t>(size * size), Transparent)};
    const int m = size / 16;  // 1, 2 or 3 pixels per design unit
    // The face with a one-unit shadow and a lighter top edge; corners cut.
    c.Fill(m, m, size - m, size - m, Shadow);
    c.Fill(0, 0, size - m, size - m, Face);
    c.Fill(0, 0, size - m, m, FaceEdge);
    c.Fill(0, 0, m, m, Transparent);
    c.Fill(size - 2 * m, 0, m, m, Transparent);
    c.Fill(0, size - 2 * m, m, m, Transparent);

    // "DSP": three glyphs of 3 x 5 units with one unit between them.
    const int glyphW = 3 * m, gap = m;
    const int textW = 3 * glyphW + 2 * gap;
    const int x0 = (size - m - textW) / 2;
    const int y0 = 3 * m;
    for (int g = 0; g < 3; ++g)
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (Glyphs[g][row] & (4 >> col)) c.Fill(x0 + g * (glyphW + gap) + col * m, y0 + row * m, m, m, Letter);

    // A meter of six segments under the letters.
    const uint32_t segment[6] = {Green, Green, Green, Green, Yellow, Red};
    const int segY = y0 + 7 * m;
    for (int s = 0; s < 6; ++s) c.Fill(x0 - m + s * 2 * m, segY, m, 2 * m, segment[s]);
    return c.pixels;
}

std::vector<uint8_t> BuildDspIconFile() {
    std::vector<std::vector<uint8_t>> images;
    for (int s : IconSizes) images.push_back(ImageData(s));
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int s = IconSizes[i];
        out.push_back(static_cast<uint8_t>(s));
        out.push_back(static_cast<uint8_t>(s));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);   // planes
        Put16(out, 32);  // bits per pixel
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::vector<uint8_t>& img : images) out.insert(out.end(), img.begin(), img.end());
    return out;
}
