// Writes the seed corpora of the frame targets: real frames of the three
// functions as the unit sends them, with the four set-up bytes in front.
// Usage: fuzz_seed_writer CORPUS_ROOT
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "app/shell_state.h"
#include "link/device_codec.h"
#include "setup/setup_file.h"
#include "link/link_state.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> Frame(const UnitFrameState& s) {
    uint8_t buf[160];
    const size_t n = BuildDeviceFrame(s, buf);
    return std::vector<uint8_t>(buf, buf + n);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_ROOT\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    BuildIdIndices();
    int written = 0;
    const uint8_t setups[][4] = {{0x00, 0, 0, 0}, {0x09, 5, 3, 6}, {0x0E, 2, 1, 20}, {0xF0, 0, 9, 12}};
    for (int function : {FunctionDualMono, FunctionStereo, FunctionAnalyser}) {
        UnitFrameState s;
        DefaultUnitState(function, &s);
        for (size_t k = 0; k < sizeof setups / sizeof setups[0]; ++k) {
            // Receiver seed: setup bytes then three frames in a row, meters moving.
            std::vector<uint8_t> stream(setups[k], setups[k] + 4);
            std::vector<uint8_t> body(setups[k], setups[k] + 4);
            for (int i = 0; i < 3; ++i) {
                s.meters.level[0] = 100000u * static_cast<uint32_t>(i + 1 + k);
                s.meters.bands[i] = static_cast<uint8_t>(200 + i);
                s.memoryNumber = static_cast<int32_t>(1 + i + k);
                const std::vector<uint8_t> f = Frame(s);
                stream.insert(stream.end(), f.begin(), f.end());
                // Decoder seed: function selector, then the frame's data words.
                body.push_back(static_cast<uint8_t>(function - 1));
                body.insert(body.end(), f.begin() + 4, f.end() - 4);
            }
            const std::string tag = std::to_string(function) + "_" + std::to_string(k);
            written += WriteFile(root + "/frame_receiver_fuzz/seed_" + tag, stream);
            written += WriteFile(root + "/frame_decoder_fuzz/seed_" + tag, body);
        }
    }
    // Simulator seeds: the function byte, then host frames as the program
    // sends them: parameters, switches, a store of "Vocal" in memory 3, a
    // recall, a boot and the end mark, with a little garbage between.
    const uint8_t commands[][4] = {{7, 120, 0, 0},  {9, 0xCE, 0xFF, 0xFF}, {19, 164, 6, 0}, {0, 0x37, 0xF3, 0x2E},
                                   {137, '@', '@', '@'}, {134, 'l', '@', '@'}, {131, 'o', 'c', 'a'},
                                   {128, '@', '@', 'V'}, {43, 3, 0, 0},  {44, 2, 0, 0},  {240, 0, 0, 0},
                                   {45, 2, 0, 0},   {33, 1, 0, 0},   {20, 0, 0, 0},   {255, 0, 0, 0}};
    for (int function = 0; function < 3; ++function) {
        std::vector<uint8_t> seed = {static_cast<uint8_t>(function)};
        for (const auto& c : commands) {
            const uint8_t sum = static_cast<uint8_t>(0u - (c[0] + c[1] + c[2] + c[3]));
            const uint8_t frame[8] = {'Q', 'E', 'N', c[0], c[1], c[2], c[3], sum};
            seed.insert(seed.end(), frame, frame + 8);
            seed.push_back(static_cast<uint8_t>(c[1] ^ 0x5A));
        }
        written += WriteFile(root + "/sim_host_fuzz/seed_" + std::to_string(function + 1), seed);
    }
    // File seeds: what the program writes, and a hand-edited setup file with
    // the odd lines users produce. The first byte picks the function and the
    // chunk size.
    static char text[SetupFileCapacity];
    std::strcpy(SetupComment, "Live, hall B");
    for (int function = 1; function <= 3; ++function) {
        const size_t n = FormatSetupFile(function, SetupComment, ProgramSettings.mainWindowRect, text, sizeof text);
        std::vector<uint8_t> seed = {static_cast<uint8_t>(function - 1 + 3 * 7)};
        seed.insert(seed.end(), text, text + n);
        written += WriteFile(root + "/setup_file_fuzz/seed_written_" + std::to_string(function), seed);
    }
    const char edited[] =
        "QIV-72 Dual Mono Configuration\r\nComment=first\r\nsecond line\r\nLow Cut Frequency Left=1000\r\n"
        "Dither=1.7\nDelay Time Left=abc\nDelay Time Right\nWinPos=0x10,010,-5\nComment\nWinPos\n"
        "Expander Threshold Left= -77.5e0\nSample Rate=nan\nNLC Gain Left=inf";
    std::vector<uint8_t> hand = {0};
    hand.insert(hand.end(), edited, edited + sizeof edited - 1);
    written += WriteFile(root + "/setup_file_fuzz/seed_hand_edited", hand);
    static char ini[SettingsTextCapacity];
    const size_t m = FormatSettingsFile(ProgramSettings, ini, sizeof ini);
    std::vector<uint8_t> settings = {13};
    settings.insert(settings.end(), ini, ini + m);
    written += WriteFile(root + "/settings_file_fuzz/seed_written", settings);
    const char odd[] = "[Settings]\r\nCOMPort=COM12345678\r\nHelpLanguage=7\r\nWinPos=99999999999,-1,2\r\nAlwaysTop\r\n"
                       "Analyser Type Select=99\r\nAnalyser Freeze=1\r\n";
    std::vector<uint8_t> oddSeed = {1};
    oddSeed.insert(oddSeed.end(), odd, odd + sizeof odd - 1);
    written += WriteFile(root + "/settings_file_fuzz/seed_hand_edited", oddSeed);
    std::printf("%d seed files written under %s\n", written, root.c_str());
    return written == 33 ? 0 : 1;
}
