// QEN72.INI: the file as written, and the reader's handling of every kind of
// line a user or an older program may leave in it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Format(const ProgramSettingsData& s) {
    char buffer[SettingsTextCapacity];
    const size_t n = FormatSettingsFile(s, buffer, sizeof buffer);
    return std::string(buffer, n);
}

ProgramSettingsData Read(const std::string& text) {
    ProgramSettingsData s;
    ReadSettingsText(text.data(), text.size(), s);
    return s;
}

const ParamDesc& Analyser(int id) { return *FindParam(TableAnalyser, id); }

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(SettingsFileTest, DefaultsGiveTheThirtySevenLinesInOrderThenTheAddedOnes) {
    const std::vector<std::string> lines = Lines(Format(ProgramSettingsData{}));
    ASSERT_EQ(lines.size(), static_cast<size_t>(SettingsFileLines + SettingsAddedLines));
    EXPECT_EQ(lines[SettingsFileLines], "PanelSize=0");
    const std::vector<std::string> head = {
        "[Settings]",       "AlwaysTop=0",           "COMPort=COM2",      "SafeMode=1", "ScrSave_deactive=0",
        "HelpLanguage=0",   "WinPos=100,200,100,200", "Printfont=300,200", "Printpage=",
    };
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;
    for (int i = 0; i < AnalyserCount; ++i) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%s=%f", AnalyserTable[i].name, AnalyserTable[i].value);
        EXPECT_EQ(lines[9 + i], expected);
    }
    EXPECT_EQ(lines[9], "Input Select Left=0.000000");
    EXPECT_EQ(lines[14], "Analyser Type Select=0.000000");
    EXPECT_EQ(lines[17], "Analyser Release Time=1.000000");
    EXPECT_EQ(lines[30], "Level Meter Release=80.000000");
}

TEST_F(SettingsFileTest, WinPosIsWrittenLeftRightTopBottom) {
    ProgramSettingsData s;
    s.mainWindowRect = {10, 20, 500, 300};
    s.analyserSettingsPos = {-5, 7};
    s.portName[3] = '4';
    s.alwaysTop = 1;
    const std::vector<std::string> lines = Lines(Format(s));
    EXPECT_EQ(lines[1], "AlwaysTop=1");
    EXPECT_EQ(lines[2], "COMPort=COM4");
    EXPECT_EQ(lines[6], "WinPos=10,500,20,300");
    EXPECT_EQ(lines[7], "Printfont=-5,7");
}

// Older copies match keys and record names by prefix: the added key must
// neither start nor be started by any of them.
TEST_F(SettingsFileTest, PanelSizeIsReadOnlyAsOfferedAndMeetsNoOlderName) {
    const std::string key = PanelSizeKey;
    auto neitherPrefix = [&](const std::string& other) {
        EXPECT_NE(key.compare(0, other.size(), other), 0) << other;
        EXPECT_NE(other.compare(0, key.size(), key), 0) << other;
    };
    for (const char* name : SettingsKeyNames) neitherPrefix(name);
    for (const ParamDesc& p : AnalyserTable) neitherPrefix(p.name);

    const struct {
        const char* line;
        int32_t size;
    } cases[] = {
        {"PanelSize=200", 200}, {"PanelSize=150", 150}, {"PanelSize=300", 300}, {"PanelSize=100", 100},
        {"PanelSize=0", 0},     {"PanelSize=175", 0},   {"PanelSize=-200", 0},  {"PanelSize=x", 0},
        {"PanelSizeX=200", 0},  {"PanelSize", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(std::string(c.line) + "\r\n").panelSize, c.size) << c.line;
    ProgramSettingsData s;
    s.panelSize = 150;
    EXPECT_EQ(Read(Format(s)).panelSize, 150);
}

TEST_F(SettingsFileTest, TooSmallABufferWritesNothing) {
    char buffer[100];
    EXPECT_EQ(FormatSettingsFile(ProgramSettingsData{}, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

TEST_F(SettingsFileTest, WhatIsWrittenReadsBackUnchanged) {
    ProgramSettingsData s;
    s.alwaysTop = 1;
    std::strcpy(s.portName, "COM3");
    s.safeMode = 0;
    s.screenSaverOff = 1;
    s.helpLanguage = 1;
    s.mainWindowRect = {-20, 40, 779, 316};
    s.analyserSettingsPos = {11, 12};
    const ProgramSettingsData back = Read(Format(s));
    EXPECT_EQ(back.alwaysTop, 1);
    EXPECT_STREQ(back.portName, "COM3");
    EXPECT_EQ(back.safeMode, 0);
    EXPECT_EQ(back.screenSaverOff, 1);
    EXPECT_EQ(back.helpLanguage, 1);
    EXPECT_EQ(back.mainWindowRect.left, -20);
    EXPECT_EQ(back.mainWindowRect.top, 40);
    EXPECT_EQ(back.mainWindowRect.right, 779);
    EXPECT_EQ(back.mainWindowRect.bottom, 316);
    EXPECT_EQ(back.analyserSettingsPos.left, 11);
    EXPECT_EQ(back.analyserSettingsPos.top, 12);
    EXPECT_EQ(TransmitCount, 0) << "unchanged analyser values are not sent";
}

struct KeyCase {
    const char* line;
    int32_t alwaysTop, helpLanguage;
    const char* port;
};

TEST_F(SettingsFileTest, KeysAreMatchedByPrefixAndReadLikeScanf) {
    const KeyCase cases[] = {
        {"AlwaysTop=1", 1, 0, "COM2"},
        {"AlwaysTop:1", 1, 0, "COM2"},  // the character after the key is not examined
        {"alwaystop=1", 0, 0, "COM2"},  // keys are case-sensitive
        {"AlwaysTop=0x10", 16, 0, "COM2"},
        {"AlwaysTop=010", 8, 0, "COM2"},
        {"AlwaysTop= -3", -3, 0, "COM2"},
        {"AlwaysTop=x", 0, 0, "COM2"},
        {"AlwaysTop", 0, 0, "COM2"},  // ends with the key: nothing read
        {"AlwaysTop=99999999999", 0, 0, "COM2"},
        {"  AlwaysTop=1", 0, 0, "COM2"},
        {"HelpLanguage=1", 0, 1, "COM2"},
        {"HelpLanguage=0x1", 0, 1, "COM2"},
        {"HelpLanguage=2", 0, 0, "COM2"},  // outside the help file table
        {"HelpLanguage=-1", 0, 0, "COM2"},
        {"COMPort=COM3", 0, 0, "COM3"},
        {"COMPort= COM4 trailing words", 0, 0, "COM4"},
        {"COMPort=COM1234", 0, 0, "COM1234"},
        {"COMPort=COM12345", 0, 0, "COM2"},  // longer than the 7-character field
        {"COMPort=\\\\.\\COM10", 0, 0, "COM2"},
        {"COMPort=", 0, 0, "COM2"},
        {"COMPort", 0, 0, "COM2"},
        {"[Settings]", 0, 0, "COM2"},
        {"", 0, 0, "COM2"},
    };
    for (const KeyCase& c : cases) {
        const ProgramSettingsData s = Read(std::string(c.line) + "\r\n");
        EXPECT_EQ(s.alwaysTop, c.alwaysTop) << c.line;
        EXPECT_EQ(s.helpLanguage, c.helpLanguage) << c.line;
        EXPECT_STREQ(s.portName, c.port) << c.line;
    }
}

TEST_F(SettingsFileTest, RectanglesReadTheNumbersThatAreThere) {
    ProgramSettingsData s = Read("WinPos=10,500,20,300\n");
    EXPECT_EQ(s.mainWindowRect.left, 10);
    EXPECT_EQ(s.mainWindowRect.right, 500);
    EXPECT_EQ(s.mainWindowRect.top, 20);
    EXPECT_EQ(s.mainWindowRect.bottom, 300);

    s = Read("WinPos=10,20\n");  // partly readable: the values so far
    EXPECT_EQ(s.mainWindowRect.left, 10);
    EXPECT_EQ(s.mainWindowRect.right, 20);
    EXPECT_EQ(s.mainWindowRect.top, 100);
    EXPECT_EQ(s.mainWindowRect.bottom, 200);

    s = Read("WinPos=1 ,2,3,4\n");  // the comma must follow the number
    EXPECT_EQ(s.mainWindowRect.left, 1);
    EXPECT_EQ(s.mainWindowRect.right, 200);

    s = Read("Printfont=0x20,-7\nPrintfont=5\n");  // the later line wins
    EXPECT_EQ(s.analyserSettingsPos.left, 5);
    EXPECT_EQ(s.analyserSettingsPos.top, -7);
}

TEST_F(SettingsFileTest, PrintpageSwallowsWhatFollowsOnItsLine) {
    const ProgramSettingsData s = Read("Printpage=Input Select Left=2.000000\r\n");
    (void)s;
    EXPECT_EQ(Analyser(0).value, 0.0);
    EXPECT_EQ(TransmitCount, 0);
}

struct RecordCase {
    const char* line;
    int id;
    double expected;
    bool marked;
};

TEST_F(SettingsFileTest, AnalyserLinesAreLimitedAndMarkedForSending) {
    const RecordCase cases[] = {
        {"Analyser Rise Time=500", 35, 200.0, true},
        {"Analyser Rise Time=10", 35, 10.0, false},  // equal to the value: nothing
        {"Analyser Rise Time=-4", 35, 0.0, true},
        {"Analyser Release Time=0", 36, 0.3, true},  // not above min gives min
        {"Analyser Release Time=2.5", 36, 2.5, true},
        {"Analyser Release Time 2.5", 36, 2.5, true},  // any separator
        {"Analyser Freeze=1.000000", 46, 0.0, false},  // never restored
        {"Analyser Rise Time=abc", 35, 10.0, false},
        {"Analyser Rise Time=nan", 35, 10.0, false},
        {"Analyser Rise Time=inf", 35, 10.0, false},
        {"Analyser Rise Time=", 35, 10.0, false},
        {"Analyser Rise Time", 35, 10.0, false},
        {"analyser rise time=20", 35, 10.0, false},
        {"Level Meter Display=0.000000", 51, 0.0, true},
    };
    for (const RecordCase& c : cases) {
        FreshStart();
        Read(std::string(c.line) + "\n");
        const ParamDesc& p = Analyser(c.id);
        EXPECT_EQ(p.value, c.expected) << c.line;
        EXPECT_EQ((p.flags & (SendPending | Redraw)) == (SendPending | Redraw), c.marked) << c.line;
        EXPECT_EQ(TransmitCount, c.marked ? 1 : 0) << c.line;
    }
}

TEST_F(SettingsFileTest, EveryChangedRecordRaisesTransmitCount) {
    Read("Analyser Rise Time=20\nAnalyser Top Level=5\nDither=2\nDither=2\n");
    EXPECT_EQ(TransmitCount, 3);
}

TEST_F(SettingsFileTest, OverlongLinesAreDroppedWhole) {
    const std::string pad255 = "AlwaysTop=1" + std::string(244, ' ');  // 255 characters
    ASSERT_EQ(pad255.size(), 255u);
    EXPECT_EQ(Read(pad255 + "\r\n").alwaysTop, 1);
    EXPECT_EQ(Read(pad255 + "\n").alwaysTop, 1);
    EXPECT_EQ(Read(pad255).alwaysTop, 1);
    EXPECT_EQ(Read(pad255 + " \r\n").alwaysTop, 0);  // 256 characters

    // The tail of a long line is not read as a line of its own.
    const std::string tail = std::string(300, 'x') + "AlwaysTop=1\nSafeMode=0\n";
    const ProgramSettingsData s = Read(tail);
    EXPECT_EQ(s.alwaysTop, 0);
    EXPECT_EQ(s.safeMode, 0) << "the next line is read again";

    // A very long COMPort value never reaches the 7-character field.
    EXPECT_STREQ(Read("COMPort=" + std::string(5000, 'C') + "\n").portName, "COM2");
}

TEST_F(SettingsFileTest, ChunksOfAnySizeReadLikeTheWholeText) {
    ProgramSettingsData written;
    written.alwaysTop = 1;
    written.mainWindowRect = {1, 2, 3, 4};
    std::string text = Format(written);
    text += "Analyser Rise Time=150\r\nCOMPort=COM4";  // last line without a line end
    for (size_t chunk : {size_t{1}, size_t{2}, size_t{7}, size_t{255}, size_t{256}, text.size()}) {
        FreshStart();
        ProgramSettingsData s;
        SettingsReader reader;
        BeginSettingsRead(reader);
        for (size_t i = 0; i < text.size(); i += chunk)
            FeedSettingsText(reader, text.data() + i, std::min(chunk, text.size() - i), s);
        EndSettingsRead(reader, s);
        EXPECT_EQ(s.alwaysTop, 1) << chunk;
        EXPECT_EQ(s.mainWindowRect.bottom, 4) << chunk;
        EXPECT_STREQ(s.portName, "COM4") << chunk;
        EXPECT_EQ(Analyser(35).value, 150.0) << chunk;
        EXPECT_EQ(TransmitCount, 1) << chunk;
    }
}

TEST_F(SettingsFileTest, SectionsAreNotHonoured) {
    const ProgramSettingsData s = Read("[Other]\nSafeMode=0\n[Settings]\n\nnoise\n");
    EXPECT_EQ(s.safeMode, 0);
}

}  // namespace
