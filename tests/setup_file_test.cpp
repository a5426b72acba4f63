// Setup files: the exact written layout, the forgiving line reader and the
// inputs a hand-edited file may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "app/shell_state.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "setup/setup_file.h"
#include "tests/test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::string Written(int function) {
    static char buffer[SetupFileCapacity];
    const size_t n = FormatSetupFile(function, SetupComment, ProgramSettings.mainWindowRect, buffer, sizeof buffer);
    return std::string(buffer, n);
}

class SetupFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshStart();
        ResetShellState();
    }
    // Loads `text` into table `t` in chunks of `chunk` bytes.
    int Load(int t, const std::string& text, size_t chunk = 4096, bool sendEvery = false) {
        BeginSetupLoad(reader, TableByNumber(t), TableRecordCount(t), SetupComment, ProgramSettings.mainWindowRect,
                       sendEvery);
        for (size_t at = 0; at < text.size(); at += chunk)
            FeedSetupBytes(reader, text.data() + at, std::min(chunk, text.size() - at));
        FinishSetupLoad(reader);
        return reader.changed;
    }
    static double Value(int t, int id) { return FindParam(t, id)->value; }
    SetupReader reader{};
};

TEST_F(SetupFileTest, AnAnalyserFileWithStartValuesReadsExactlyAsTheManualShows) {
    const std::string expected =
        "QIV-72 Analyser Configuration\nComment=\nInput Select Left=0.000000\nPhase Invert Left=0.000000\n"
        "Input Select Right=0.000000\nPhase Invert Right=0.000000\nM/S Processing=0.000000\n"
        "Analyser Type Select=0.000000\nAnalyser Input Select=0.000000\nAnalyser Rise Time=10.000000\n"
        "Analyser Release Time=1.000000\nAnalyser Peak Hold=1.000000\nAnalyser Instant Hold=0.000000\n"
        "Analyser Hold Reset=0.000000\nAnalyser Range Select=0.000000\nAnalyser Top Level=2.000000\n"
        "Analyser Mode Select=2.000000\nAnalyser Size=0.000000\nAnalyser Resolution=1.000000\n"
        "Analyser Freeze=0.000000\nLevel Meter Display=1.000000\nMeter Input/Output=1.000000\n"
        "Level Meter Peak Hold=1.000000\nLevel Meter Release=80.000000\nFull Bypass=1.000000\n"
        "Sample Rate=1.000000\nAudio Wordlength=3.000000\nDither=0.000000\nChannel Status=0.000000\n"
        "Word Clock Out Enable=1.000000\nWinPos=100,200,100,200\n";
    EXPECT_EQ(Written(FunctionAnalyser), expected);
}

TEST_F(SetupFileTest, DualMonoAndStereoFilesHaveTheirKeysInTableOrder) {
    std::strcpy(SetupComment, "Live mix, hall B");
    const std::vector<std::string> dm = Lines(Written(FunctionDualMono));
    ASSERT_EQ(dm.size(), 51u);
    EXPECT_EQ(dm[0], "QIV-72 Dual Mono Configuration");
    EXPECT_EQ(dm[1], "Comment=Live mix, hall B");
    EXPECT_EQ(dm[9], "Low Cut Frequency Right=50.000000");
    EXPECT_EQ(dm[11], "Expander Threshold Left=-50.000000");
    EXPECT_EQ(dm[18], "Expander Attack Slow=0.000000");
    EXPECT_EQ(dm[40], "ALC Link L/R=0.000000");
    EXPECT_EQ(dm[49], "Word Clock Out Enable=1.000000");
    EXPECT_EQ(dm[50], "WinPos=100,200,100,200");

    const std::vector<std::string> st = Lines(Written(FunctionStereo));
    ASSERT_EQ(st.size(), 39u);
    EXPECT_EQ(st[0], "QIV-72 Stereo Configuration");
    EXPECT_EQ(st[8], "Low Cut Frequency=50.000000");
    EXPECT_EQ(st[12], "Expander Relaese=5.000000");
    EXPECT_EQ(st[13], "Expander Attack Slow=0.000000");
    EXPECT_EQ(st[14], "Expander Link L/R=0.000000");
    EXPECT_EQ(Lines(Written(FunctionAnalyser)).size(), 31u);
}

TEST_F(SetupFileTest, NoFunctionOrNoRoomWritesNothing) {
    char small[100];
    EXPECT_EQ(FormatSetupFile(FunctionNone, "", ProgramSettings.mainWindowRect, small, sizeof small), 0u);
    EXPECT_EQ(FormatSetupFile(FunctionDualMono, "", ProgramSettings.mainWindowRect, small, sizeof small), 0u);
}

TEST_F(SetupFileTest, WinPosIsWrittenLeftRightTopBottom) {
    ProgramSettings.mainWindowRect = {10, 20, 830, 300};
    EXPECT_EQ(Lines(Written(FunctionStereo)).back(), "WinPos=10,830,20,300");
}

TEST_F(SetupFileTest, ValuesAreLimitedButNeverRounded) {
    const int changed = Load(TableDualMono,
                             "Low Cut Frequency Left=1000\nLow Cut Frequency Right=-3\nDither=1.7\n"
                             "Expander Ratio Left=2.0\n");
    EXPECT_EQ(Value(TableDualMono, 6), 250.0);
    EXPECT_EQ(Value(TableDualMono, 7), 2.0);
    EXPECT_EQ(Value(TableDualMono, 58), 1.7);
    EXPECT_EQ(changed, 3) << "a value equal to the current one changes nothing";
    EXPECT_EQ(TransmitCount, 5 + 3);
    EXPECT_EQ(FindParam(TableDualMono, 6)->flags, UserChangeFlags);
    EXPECT_EQ(FindParam(TableDualMono, 10)->flags, 0u);
}

TEST_F(SetupFileTest, WithoutAUnitEverySavedValueOfTheFileIsSent) {
    const std::string text =
        "Delay Time Left=0.000000\nDither=2.000000\nExpander Cur. Damping=-50.000000\nALC Link L/R=0.000000\n";
    EXPECT_EQ(Load(TableDualMono, text, 4096, true), 1) << "equal values are sent, not counted";
    EXPECT_EQ(TransmitCount, 5 + 1);
    EXPECT_EQ(FindParam(TableDualMono, 22)->flags, static_cast<uint32_t>(SendPending));
    EXPECT_EQ(FindParam(TableDualMono, 58)->flags, UserChangeFlags);
    EXPECT_EQ(DualMonoTable[12].flags, 0u) << "a readout the file names is never sent";
    const int alcLink = 41;
    EXPECT_EQ(FindParam(TableDualMono, alcLink)->flags, static_cast<uint32_t>(SendPending));

    SetUp();
    Load(TableDualMono, text);
    EXPECT_EQ(FindParam(TableDualMono, 22)->flags, 0u) << "with the unit online the table holds its values";
}

TEST_F(SetupFileTest, AFileOfAnotherFunctionLoadsTheNamesBothShare) {
    Load(TableDualMono, "QIV-72 Stereo Configuration\nInput Select Left=2.000000\nLow Cut Frequency=60.000000\n"
                        "Expander Relaese=9.000000\n");
    EXPECT_EQ(Value(TableDualMono, 0), 2.0);
    EXPECT_EQ(Value(TableDualMono, 6), 50.0);
    EXPECT_EQ(Value(TableDualMono, 11), 5.0);
}

TEST_F(SetupFileTest, CommentAndWindowLines) {
    std::strcpy(SetupComment, "old");
    Load(TableStereo, "Input Select Left=1\n");
    EXPECT_STREQ(SetupComment, "") << "a file without a Comment line leaves the comment empty";
    EXPECT_EQ(ProgramSettings.mainWindowRect.left, 100);

    Load(TableStereo, "Comment=\n");
    EXPECT_STREQ(SetupComment, "");
    Load(TableStereo, "Comment=two\nlines\nWinPos=0x10,010,5,6\n");
    EXPECT_STREQ(SetupComment, "two");
    const ScreenRect& r = ProgramSettings.mainWindowRect;
    EXPECT_EQ(r.left, 16);
    EXPECT_EQ(r.right, 8);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.bottom, 6);

    Load(TableStereo, "WinPos=1, 2,x,4\n");  // stops at the unreadable third number
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.right, 2);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.bottom, 6);
}

TEST_F(SetupFileTest, AMultiLineCommentIsWrittenAcrossLinesAndOnlyItsFirstLineReturns) {
    std::strcpy(SetupComment, "first\nsecond");
    const std::string text = Written(FunctionDualMono);
    EXPECT_EQ(Lines(text).size(), 52u);
    Load(TableDualMono, text);
    EXPECT_STREQ(SetupComment, "first");
}

TEST_F(SetupFileTest, ReadingBackASavedFileMarksOnlyInexactValues) {
    ParamDesc* ratio = FindParam(TableDualMono, 10);
    double v = ratio->min;
    for (int i = 0; i < 7; ++i) v += ratio->step;  // 1.9000000000000004
    ratio->value = v;
    FindParam(TableDualMono, 22)->value = 12.5;
    const std::string text = Written(FunctionDualMono);
    EXPECT_EQ(Load(TableDualMono, text), 1);
    EXPECT_EQ(ratio->value, 1.9);
    EXPECT_EQ(TransmitCount, 6);
}

TEST_F(SetupFileTest, ChunksDoNotMatter) {
    ParamDesc* delay = FindParam(TableDualMono, 22);
    const std::string text = "Comment=abc\nDelay Time Left=12.3\nWinPos=1,2,3,4";  // no final line feed
    for (size_t chunk : {1u, 2u, 7u, 4096u}) {
        SetUp();
        Load(TableDualMono, text, chunk);
        EXPECT_EQ(delay->value, 12.3) << chunk;
        EXPECT_STREQ(SetupComment, "abc");
        EXPECT_EQ(ProgramSettings.mainWindowRect.bottom, 4);
    }
}

struct OddLine {
    const char* text;
    const char* why;
};

TEST_F(SetupFileTest, LinesWithoutAUsableValueChangeNothing) {
    const OddLine lines[] = {
        {"Delay Time Left", "ends right after the name"},
        {"Delay Time Left=", "ends right after the equals sign"},
        {"Delay Time Left=abc", "no number"},
        {"Delay Time Left=\r", "a carriage return only"},
        {"delay time left=5", "names are case-sensitive"},
        {"Comment", "ends after Comment"},
        {"WinPos", "ends after WinPos"},
        {"WinPos=", "no numbers"},
        {"", "blank"},
        {"=5", "no name"},
    };
    Load(TableDualMono, "Delay Time Left=7\nComment=kept\nWinPos=1,2,3,4\n");
    for (const OddLine& l : lines) {
        ApplySetupLine(reader, l.text, static_cast<int>(std::strlen(l.text)));
        EXPECT_EQ(Value(TableDualMono, 22), 7.0) << l.why;
        EXPECT_STREQ(SetupComment, "kept") << l.why;
        EXPECT_EQ(ProgramSettings.mainWindowRect.right, 2) << l.why;
    }
}

TEST_F(SetupFileTest, OverlongLinesAreCutAndTheRestReadAsFurtherLines) {
    std::string text = "Comment=" + std::string(600, 'c') + "\n";
    // 512 characters of one line, then the rest starting with a name.
    text += std::string(512, 'x') + "Dither=2\n";
    Load(TableDualMono, text);
    EXPECT_EQ(std::strlen(SetupComment), 255u);
    EXPECT_EQ(Value(TableDualMono, 58), 2.0);
}

TEST_F(SetupFileTest, NumbersBeyondReasonAreLimited) {
    Load(TableDualMono, "Dither=nan\nSample Rate=inf\nDelay Time Left=-1e400\nLow Cut Frequency Left=1e400\n"
                        "WinPos=99999999999999999999,-99999999999999999999,2147483648,-2147483649\n");
    EXPECT_EQ(Value(TableDualMono, 58), 0.0);
    EXPECT_EQ(Value(TableDualMono, 55), 7.0);
    EXPECT_EQ(Value(TableDualMono, 22), 0.0);
    EXPECT_EQ(Value(TableDualMono, 6), 250.0);
    const ScreenRect& r = ProgramSettings.mainWindowRect;
    EXPECT_GT(r.left, 0);
    EXPECT_LT(r.right, 0);
    EXPECT_LE(static_cast<long long>(r.left) - r.right, 2000000);
}

TEST_F(SetupFileTest, PrefixMatchingTakesTheFirstEntryInTableOrder) {
    // "Expander Cur. Damping" is a readout, matched by prefix all the same.
    Load(TableDualMono, "Expander Cur. Damping=-20\nLevel Meter Left=-5\n");
    EXPECT_EQ(DualMonoTable[12].value, -20.0);
    EXPECT_EQ(DualMonoTable[16].value, -50.0) << "the second record of that name is never reached";
    EXPECT_EQ(DualMonoTable[58].value, -5.0);
    EXPECT_EQ(DualMonoTable[60].value, 0.0);
}

TEST_F(SetupFileTest, NewTitlesInAnyCase) {
    for (const char* t : {"new.c72", "New1.c72", "NEWMIX.s72", "news.a72"}) EXPECT_TRUE(IsNewSetupTitle(t)) << t;
    for (const char* t : {"mix.c72", "ne", "", "renew.c72"}) EXPECT_FALSE(IsNewSetupTitle(t)) << t;
}

}  // namespace
