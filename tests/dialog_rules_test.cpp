// Rules of the shell's dialogs and title: store names, memory lists, port
// names, help files and the window title.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/dialog_rules.h"
#include "link/link_state.h"
#include "tests/test_support.h"

namespace {

std::string StoreNameOf(const char* typed, StoreNameResult expected = StoreNameResult::Accepted) {
    char out[StoreNameSize];
    std::memset(out, '?', sizeof out);
    EXPECT_EQ(BuildStoreName(typed, out), expected) << typed;
    return std::string(out, sizeof out);
}

TEST(StoreName, FillsToTenAndSendsBlanksAsFill) {
    EXPECT_EQ(StoreNameOf("VOCAL"), "@@VOCAL@@@@@");
    EXPECT_EQ(StoreNameOf("MIX A"), "@@MIX@A@@@@@");
    EXPECT_EQ(StoreNameOf(""), "@@@@@@@@@@@@");
    EXPECT_EQ(StoreNameOf(" LEAD"), "@@@LEAD@@@@@");
    EXPECT_EQ(StoreNameOf("ABCDEFGHIJ"), "@@ABCDEFGHIJ");
}

TEST(StoreName, BlanksAfterTheTenthCharacterEndTheName) {
    EXPECT_EQ(StoreNameOf("ABCDEFGHIJ  "), "@@ABCDEFGHIJ");
    EXPECT_EQ(StoreNameOf("ABCDEFGHIJ KLM"), "@@ABCDEFGHIJ");
    EXPECT_EQ(StoreNameOf("AB DE FG I  X"), "@@AB@DE@FG@I") << "blanks inside the ten stay";
}

TEST(StoreName, LongerNamesAreRefused) {
    char out[StoreNameSize] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(BuildStoreName("ABCDEFGHIJK", out), StoreNameResult::TooLong);
    EXPECT_EQ(std::string(out, sizeof out), "xxxxxxxxxxxx") << "a refused name leaves the request alone";
    EXPECT_EQ(BuildStoreName("ABCDEFGHIJKLMNOPQRSTUVWXYZ", out), StoreNameResult::TooLong);
    EXPECT_EQ(BuildStoreName("ABCDEFGHIJK ", out), StoreNameResult::TooLong);
}

TEST(StoreName, ElevenCharactersWithABlankInsideStillTooLong) {
    EXPECT_EQ(StoreNameOf("ABCDE FGHIJK", StoreNameResult::TooLong).size(), 12u);
}

TEST(MemoryLists, CountsAndPreselection) {
    EXPECT_EQ(MemoryCountFor(FunctionDualMono), 16);
    EXPECT_EQ(MemoryCountFor(FunctionStereo), 6);
    EXPECT_EQ(MemoryCountFor(FunctionAnalyser), 0);
    EXPECT_EQ(MemoryCountFor(FunctionNone), 0);

    struct Case {
        int current, function, position;
    };
    const Case cases[] = {
        {0, 1, 0}, {1, 1, 0}, {7, 1, 6}, {16, 1, 15}, {17, 1, 0}, {255, 1, 0}, {-4, 1, 0},
        {6, 2, 5}, {7, 2, 0}, {3, 3, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreselectedMemoryPosition(c.current, c.function), c.position) << c.current << " " << c.function;
}

TEST(MemoryLists, EntriesAndNames) {
    FreshStart();
    std::strcpy(MemoryNames[3], "VOCAL     ");
    std::strcpy(MemoryNames[16], "LAST");
    char text[64];
    EXPECT_EQ(FormatStoreEntry(1, text, sizeof text), 2);
    EXPECT_STREQ(text, " 1");
    FormatStoreEntry(16, text, sizeof text);
    EXPECT_STREQ(text, "16");
    FormatRecallEntry(3, MemoryNameAtPosition(2), text, sizeof text);
    EXPECT_STREQ(text, " 3: VOCAL     ");
    EXPECT_STREQ(MemoryNameAtPosition(15), "LAST");
    EXPECT_STREQ(MemoryNameAtPosition(16), "");
    EXPECT_STREQ(MemoryNameAtPosition(-1), "");
    char small[4];
    EXPECT_EQ(FormatRecallEntry(12, "NAME", small, sizeof small), 3);
    EXPECT_STREQ(small, "12:");
}

TEST(PortNames, FitTheSevenCharacterField) {
    char port[PortNameSize] = "COM2";
    EXPECT_TRUE(SetPortName("COM4", port));
    EXPECT_STREQ(port, "COM4");
    EXPECT_TRUE(SetPortName("COM1234", port));
    EXPECT_FALSE(SetPortName("COM12345", port));
    EXPECT_FALSE(SetPortName("", port));
    EXPECT_STREQ(port, "COM1234");
}

TEST(HelpFiles, TableAndLanguagesOutsideIt) {
    const char* const german[4] = {"qiv72n_d.hlp", "qiv72_d.hlp", "qiv72s_d.hlp", "qivana_d.hlp"};
    const char* const english[4] = {"qiv72n_e.hlp", "qiv72s_e.hlp", "qiv72_e.hlp", "qivana_e.hlp"};
    for (int f = 0; f < 4; ++f) {
        EXPECT_STREQ(HelpFileName(0, f), german[f]);
        EXPECT_STREQ(HelpFileName(1, f), english[f]);
        for (int language : {2, -1, 99, INT32_MIN}) EXPECT_STREQ(HelpFileName(language, f), german[f]);
    }
    EXPECT_STREQ(HelpFileName(1, 7), "qiv72n_e.hlp");
    EXPECT_STREQ(HelpFileName(0, -2), "qiv72n_d.hlp");
}

std::string Title(int function, bool online, const char* setup, bool unsaved, int transmit) {
    char out[TitleCapacity];
    const int n = ComposeWindowTitle({function, online, setup, unsaved, transmit}, out, sizeof out);
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(out));
    return out;
}

TEST(WindowTitle, FunctionStateAndMarks) {
    EXPECT_EQ(Title(0, true, "x.c72", true, 5), "KOV QIV-72 - No Operation");
    EXPECT_EQ(Title(1, true, "new.c72", false, 0), "KOV QIV-72 Dual Mono Remote Control - ONLINE : new.c72");
    EXPECT_EQ(Title(2, false, "mix.s72", true, 0), "KOV QIV-72 Stereo Remote Control - OFFLINE : mix.s72*");
    EXPECT_EQ(Title(3, true, "new.a72", true, 2),
              "KOV QIV-72 Audio Analyser - ONLINE : new.a72*  Transmitting ... ");
    EXPECT_EQ(Title(3, false, "new.a72", false, 2), "KOV QIV-72 Audio Analyser - OFFLINE : new.a72")
        << "no transmitting mark while offline";
    EXPECT_EQ(Title(7, true, "x", false, 0), "KOV QIV-72 - No Operation");
}

TEST(WindowTitle, TheComparedSideFollowsTheUnsavedMark) {
    char out[TitleCapacity];
    ComposeWindowTitle({1, true, "mix.c72", true, 3, 'B'}, out, sizeof out);
    EXPECT_STREQ(out, "KOV QIV-72 Dual Mono Remote Control - ONLINE : mix.c72* [B]  Transmitting ... ");
    ComposeWindowTitle({3, false, "new.a72", false, 0, 'A'}, out, sizeof out);
    EXPECT_STREQ(out, "KOV QIV-72 Audio Analyser - OFFLINE : new.a72 [A]");
    ComposeWindowTitle({0, false, "", false, 0, 'A'}, out, sizeof out);
    EXPECT_STREQ(out, "KOV QIV-72 - No Operation");
}

TEST(WindowTitle, LongSetupNamesAreShortenedNotOverrun) {
    const std::string longName(600, 'n');
    const std::string t = Title(1, true, longName.c_str(), true, 3);
    EXPECT_EQ(t.size(), 255u);
    EXPECT_EQ(t.rfind("KOV QIV-72 Dual Mono Remote Control - ONLINE : nnn", 0), 0u);
    EXPECT_EQ(t.substr(t.size() - 23), "...*  Transmitting ... ");

    const std::string exact(255 - std::strlen("KOV QIV-72 Stereo Remote Control - OFFLINE : "), 'e');
    EXPECT_EQ(Title(2, false, exact.c_str(), false, 0).size(), 255u);
    EXPECT_EQ(Title(2, false, exact.c_str(), false, 0).find("..."), std::string::npos);
    const std::string over = exact + "e";
    EXPECT_EQ(Title(2, false, over.c_str(), false, 0).substr(252), "...");

    char small[16];
    ComposeWindowTitle({1, true, "a.c72", false, 0}, small, sizeof small);
    EXPECT_EQ(std::strlen(small), 15u);
}

}  // namespace

#include "app/mode_menu.h"

namespace {

TEST(ModeMenu, ItemStatesFollowFunctionAndLink) {
    struct Row {
        int function;
        bool online;
        bool file, recallStore, boot, offline, analyser;
    };
    const Row rows[] = {
        {0, false, false, false, false, true, false},
        {1, false, true, false, false, true, false},
        {2, false, true, false, false, true, false},
        {3, false, true, false, false, true, true},
        {1, true, true, true, true, false, false},
        {2, true, true, true, true, false, false},
        {3, true, true, false, true, false, true},
    };
    for (const Row& r : rows) {
        const ModeMenuStates s = MenuStatesFor(r.function, r.online);
        EXPECT_EQ(s.fileItems, r.file) << r.function << r.online;
        EXPECT_EQ(s.recallStore, r.recallStore) << r.function << r.online;
        EXPECT_EQ(s.bootItems, r.boot) << r.function << r.online;
        EXPECT_EQ(s.offlineItems, r.offline) << r.function << r.online;
        EXPECT_EQ(s.analyserSettings, r.analyser) << r.function << r.online;
    }
}

}  // namespace
