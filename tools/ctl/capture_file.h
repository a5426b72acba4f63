// Capture files: the unit's byte stream as read from the port, with the time
// of each read, as text that survives mail and diff:
//
//   QIV72 capture 1
//   # any comment line
//   <microseconds since the start> <bytes in hex>
//
// Times never go backwards. qiv72ctl capture writes them; qiv72sim
// --replay plays them back as the unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr char CaptureHeader[] = "QIV72 capture 1";
// Limits of the reader: a file larger than this, or a line with more bytes,
// is refused rather than read.
inline constexpr size_t CaptureMaxFileBytes = 64u * 1024u * 1024u;
inline constexpr size_t CaptureMaxChunkBytes = 4096;
inline constexpr int64_t CaptureMaxMicros = 366LL * 24 * 3600 * 1000000;

struct CaptureChunk {
    int64_t micros;
    std::vector<uint8_t> bytes;
};

// One line for a chunk, with its line feed.
std::string FormatCaptureChunk(int64_t micros, const uint8_t* bytes, size_t count);

// Reads a whole capture file. False with the line number and the reason in
// `error` for anything that is not a capture.
bool ParseCapture(const char* text, size_t size, std::vector<CaptureChunk>* chunks, std::string* error);
