// --replay: a capture of a unit's byte stream (qiv72ctl capture) played back
// in place of the unit model's frames, with the captured pauses, looping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sim/unit_model.h"

class ReplaySource {
public:
    // Reads and checks the capture; false with the reason.
    bool Load(const std::string& path, std::string* error);
    // The next piece of the stream (at most UnitMaxOutput bytes), and the
    // unit time until the piece after it is due.
    void Next(UnitOutput* out, int64_t* gapUs);

private:
    struct Piece {
        int64_t micros;
        std::vector<uint8_t> bytes;
    };
    std::vector<Piece> pieces_;
    size_t next_ = 0;
};
