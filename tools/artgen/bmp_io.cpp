// Windows bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up).
#include "tools/artgen/bmp_io.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

constexpr int BiRgb = 0;
constexpr int BiRle8 = 1;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
uint32_t Get16(const std::vector<uint8_t>& in, size_t at) {
    return uint32_t(in[at]) | uint32_t(in[at + 1]) << 8;
}
uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

// One row of palette indices in run-length form (without the end-of-line
// mark): repeated pixels as (count, index), stretches of three or more
// different pixels in absolute mode, padded to an even length.
void EncodeRleRow(const uint8_t* row, int width, std::vector<uint8_t>& out) {
    int i = 0;
    while (i < width) {
        int run = 1;
        while (i + run < width && run < 255 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            out.push_back(uint8_t(run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // A stretch up to the next run of three or more.
        int end = i + 1;
        while (end < width && end - i < 255) {
            if (end + 2 < width && row[end] == row[end + 1] && row[end] == row[end + 2]) break;
            ++end;
        }
        const int n = end - i;
        if (n >= 3) {
            out.push_back(0);
            out.push_back(uint8_t(n));
            for (int k = 0; k < n; ++k) out.push_back(row[i + k]);
            if (n % 2) out.push_back(0);
        } else {
            for (int k = 0; k < n; ++k) {
                out.push_back(1);
                out.push_back(row[i + k]);
            }
        }
        i = end;
    }
}

}  // namespace

std::vector<uint32_t> ColoursOf(const std::vector<const RgbImage*>& images) {
    std::vector<uint32_t> all;
    for (const RgbImage* image : images) all.insert(all.end(), image->pixels.begin(), image->pixels.end());
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

std::vector<uint8_t> EncodeBmp(const RgbImage& image, BmpFormat format,
                               const std::vector<uint32_t>& palette) {
    const int w = image.width, h = image.height;
    const bool indexed = format != BmpFormat::Rgb24;
    std::vector<uint8_t> data;
    if (indexed) {
        std::map<uint32_t, uint8_t> index;
        for (size_t i = 0; i < palette.size() && i < 256; ++i) index[palette[i]] = uint8_t(i);
        std::vector<uint8_t> row(size_t(w) + 4, 0);
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) {
                auto found = index.find(image.At(x, y));
                row[size_t(x)] = found == index.end() ? 0 : found->second;
            }
            if (format == BmpFormat::Palette8) {
                const int stride = (w + 3) & ~3;
                data.insert(data.end(), row.begin(), row.begin() + stride);
                std::fill(row.begin(), row.end(), 0);
            } else {
                EncodeRleRow(row.data(), w, data);
                data.push_back(0);
                data.push_back(y == 0 ? 1 : 0);  // end of line, or of the bitmap
            }
        }
    } else {
        const int stride = (w * 3 + 3) & ~3;
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) {
                const uint32_t c = image.At(x, y);
                data.push_back(uint8_t(c));
                data.push_back(uint8_t(c >> 8));
                data.push_back(uint8_t(c >> 16));
            }
            for (int k = w * 3; k < stride; ++k) data.push_back(0);
        }
    }
    const uint32_t colours = indexed ? uint32_t(std::min<size_t>(palette.size(), 256)) : 0;
    const uint32_t offset = 14 + 40 + colours * 4;
    std::vector<uint8_t> out;
    out.reserve(offset + data.size());
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + uint32_t(data.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(h));
    Put16(out, 1);
    Put16(out, indexed ? 8 : 24);
    Put32(out, format == BmpFormat::Palette8Rle ? BiRle8 : BiRgb);
    Put32(out, uint32_t(data.size()));
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, colours);
    for (uint32_t i = 0; i < colours; ++i) {
        const uint32_t c = palette[i];
        out.push_back(uint8_t(c));
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c >> 16));
        out.push_back(0);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

bool ReadBmpInfo(const std::vector<uint8_t>& in, BmpInfo* info) {
    if (in.size() < 54 || in[0] != 'B' || in[1] != 'M') return false;
    if (Get32(in, 14) < 40) return false;
    info->width = int(Get32(in, 18));
    info->height = int(Get32(in, 22));
    info->bitsPerPixel = int(Get16(in, 28));
    info->compression = int(Get32(in, 30));
    info->paletteSize = 0;
    if (info->bitsPerPixel == 8) {
        const uint32_t used = Get32(in, 46);
        info->paletteSize = used == 0 ? 256 : int(used);
    }
    return true;
}

bool DecodeBmp(const std::vector<uint8_t>& in, RgbImage* image, std::string* error) {
    BmpInfo info;
    if (!ReadBmpInfo(in, &info)) {
        *error = "not a bitmap file";
        return false;
    }
    const int w = info.width, h = info.height;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384) {
        *error = "unsupported size (top-down or empty bitmaps are not read)";
        return false;
    }
    const size_t offset = Get32(in, 10);
    const size_t headerSize = Get32(in, 14);
    if (offset > in.size()) {
        *error = "pixel data past the end";
        return false;
    }
    *image = RgbImage(w, h, 0);
    if (info.bitsPerPixel == 24 && info.compression == BiRgb) {
        const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
        if (offset + stride * size_t(h) > in.size()) {
            *error = "pixel data cut short";
            return false;
        }
        for (int y = 0; y < h; ++y) {
            const size_t row = offset + size_t(h - 1 - y) * stride;
            for (int x = 0; x < w; ++x) {
                const size_t p = row + size_t(x) * 3;
                image->At(x, y) = uint32_t(in[p]) | uint32_t(in[p + 1]) << 8 | uint32_t(in[p + 2]) << 16;
            }
        }
        return true;
    }
    if (info.bitsPerPixel != 8 || (info.compression != BiRgb && info.compression != BiRle8)) {
        *error = "only 8-bit and 24-bit bitmaps are read";
        return false;
    }
    const size_t paletteAt = 14 + headerSize;
    if (info.paletteSize > 256 || paletteAt + size_t(info.paletteSize) * 4 > offset) {
        *error = "bad palette";
        return false;
    }
    uint32_t palette[256] = {};
    for (int i = 0; i < info.paletteSize; ++i) {
        const size_t p = paletteAt + size_t(i) * 4;
        palette[i] = uint32_t(in[p]) | uint32_t(in[p + 1]) << 8 | uint32_t(in[p + 2]) << 16;
    }
    if (info.compression == BiRgb) {
        const size_t stride = (size_t(w) + 3) & ~size_t(3);
        if (offset + stride * size_t(h) > in.size()) {
            *error = "pixel data cut short";
            return false;
        }
        for (int y = 0; y < h; ++y) {
            const size_t row = offset + size_t(h - 1 - y) * stride;
            for (int x = 0; x < w; ++x) image->At(x, y) = palette[in[row + size_t(x)]];
        }
        return true;
    }
    // Run-length coded; pixels not covered stay palette entry 0.
    for (uint32_t& p : image->pixels) p = palette[0];
    int x = 0, row = 0;  // row counts from the bottom
    size_t at = offset;
    while (at + 1 < in.size()) {
        const uint8_t count = in[at], value = in[at + 1];
        at += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k, ++x)
                if (x < w && row < h) image->At(x, h - 1 - row) = palette[value];
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // move
            if (at + 1 >= in.size()) break;
            x += in[at];
            row += in[at + 1];
            at += 2;
        } else {  // absolute
            if (at + value > in.size()) break;
            for (int k = 0; k < value; ++k, ++x)
                if (x < w && row < h) image->At(x, h - 1 - row) = palette[in[at + size_t(k)]];
            at += value + (value % 2);
        }
    }
    *error = "run-length data without an end mark";
    return false;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    bytes->clear();
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes->insert(bytes->end(), buffer, buffer + n);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadBmpFile(const std::string& path, RgbImage* image, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes)) {
        *error = "cannot read " + path;
        return false;
    }
    if (!DecodeBmp(bytes, image, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}
