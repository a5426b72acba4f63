// RGB images in memory and their Windows bitmap files: written with 8 bits
// per pixel and a palette (plain or run-length coded) or with 24 bits, read
// back in all three forms. Used by the artwork generator, the render tool
// and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels as 0xRRGGBB, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    RgbImage() = default;
    RgbImage(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

enum class BmpFormat { Palette8, Palette8Rle, Rgb24 };

// The bytes of a bitmap file. For the 8-bit forms `palette` lists the
// colours (at most 256) and every pixel must be one of them; the pixels are
// stored as indices into it.
std::vector<uint8_t> EncodeBmp(const RgbImage& image, BmpFormat format,
                               const std::vector<uint32_t>& palette);

// The colours of the images, sorted, each once.
std::vector<uint32_t> ColoursOf(const std::vector<const RgbImage*>& images);

// Reads an 8-bit (plain or run-length coded) or 24-bit bitmap file. On
// failure returns false with a reason in `error`.
bool DecodeBmp(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* error);

// What a file holds: its bits per pixel and its palette size (0 for 24 bit).
struct BmpInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int compression = 0;
    int paletteSize = 0;
};
bool ReadBmpInfo(const std::vector<uint8_t>& bytes, BmpInfo* info);

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool ReadBmpFile(const std::string& path, RgbImage* image, std::string* error);
