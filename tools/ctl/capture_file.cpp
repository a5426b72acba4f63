#include "tools/ctl/capture_file.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Fail(std::string* error, size_t line, const char* why) {
    *error = "line " + std::to_string(line) + ": " + why;
    return false;
}

}  // namespace

std::string FormatCaptureChunk(int64_t micros, const uint8_t* bytes, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string line = std::to_string(micros);
    line += ' ';
    for (size_t i = 0; i < count; ++i) {
        line += digits[bytes[i] >> 4];
        line += digits[bytes[i] & 0xF];
    }
    line += '\n';
    return line;
}

bool ParseCapture(const char* text, size_t size, std::vector<CaptureChunk>* chunks, std::string* error) {
    chunks->clear();
    if (size > CaptureMaxFileBytes) return Fail(error, 0, "too large for a capture");
    size_t pos = 0, lineNumber = 0;
    int64_t last = 0;
    while (pos < size) {
        const char* start = text + pos;
        const void* feed = std::memchr(start, '\n', size - pos);
        size_t length = feed != nullptr ? static_cast<size_t>(static_cast<const char*>(feed) - start) : size - pos;
        pos += length + (feed != nullptr ? 1 : 0);
        ++lineNumber;
        if (length > 0 && start[length - 1] == '\r') --length;
        if (lineNumber == 1) {
            if (length != std::strlen(CaptureHeader) || std::memcmp(start, CaptureHeader, length) != 0)
                return Fail(error, lineNumber, "not a QIV-72 capture (first line)");
            continue;
        }
        if (length == 0 || start[0] == '#') continue;
        size_t i = 0;
        int64_t micros = 0;
        while (i < length && start[i] >= '0' && start[i] <= '9') {
            micros = micros * 10 + (start[i] - '0');
            if (micros > CaptureMaxMicros) return Fail(error, lineNumber, "time out of range");
            ++i;
        }
        if (i == 0 || i >= length || start[i] != ' ') return Fail(error, lineNumber, "expected a time and a blank");
        if (micros < last) return Fail(error, lineNumber, "time goes backwards");
        last = micros;
        ++i;
        const size_t hex = length - i;
        if (hex == 0 || hex % 2 != 0) return Fail(error, lineNumber, "expected an even number of hex digits");
        if (hex / 2 > CaptureMaxChunkBytes) return Fail(error, lineNumber, "too many bytes on one line");
        CaptureChunk chunk{micros, {}};
        chunk.bytes.reserve(hex / 2);
        for (; i < length; i += 2) {
            const int hi = HexDigit(start[i]), lo = HexDigit(start[i + 1]);
            if (hi < 0 || lo < 0) return Fail(error, lineNumber, "not a hex digit");
            chunk.bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
        }
        chunks->push_back(std::move(chunk));
    }
    if (lineNumber == 0) return Fail(error, 1, "empty file");
    return true;
}
