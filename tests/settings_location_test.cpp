// Where QEN72.INI is read from and written to: the file start-up chooses
// among the places an installation may have left one, the paths of those
// places, the messages, and the safe write that never leaves half a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings_location.h"

namespace {

using State = SettingsFileState;
using Place = SettingsPlace;
using Start = SettingsStart;

struct ChoiceCase {
    const char* what;
    State appData, virtualStore, windowsDirectory;
    Start start;
    Place place;
    int placesAsked;  // the places after the deciding one are never looked at
};

State ProbeRow(Place place, void* context) {
    auto& row = *static_cast<std::pair<const ChoiceCase*, std::vector<Place>>*>(context);
    row.second.push_back(place);
    const State states[] = {row.first->appData, row.first->virtualStore, row.first->windowsDirectory};
    return states[static_cast<int>(place)];
}

TEST(SettingsLocation, StartUpReadsTheFirstFileThereIsAndAsksOnlyWhenThereIsNone) {
    const ChoiceCase cases[] = {
        {"application data file", State::Readable, State::Readable, State::Readable, Start::Read, Place::AppData, 1},
        {"application data file unreadable", State::Unreadable, State::Readable, State::Readable, Start::Unreadable,
         Place::AppData, 1},
        {"only the Windows directory's", State::Missing, State::Missing, State::Readable, Start::Read,
         Place::WindowsDirectory, 3},
        {"only VirtualStore's", State::Missing, State::Readable, State::Missing, Start::Read, Place::VirtualStore, 2},
        {"VirtualStore's is what the old program saw", State::Missing, State::Readable, State::Readable, Start::Read,
         Place::VirtualStore, 2},
        {"VirtualStore's unreadable", State::Missing, State::Unreadable, State::Readable, Start::Unreadable,
         Place::VirtualStore, 2},
        {"Windows directory's unreadable", State::Missing, State::Missing, State::Unreadable, Start::Unreadable,
         Place::WindowsDirectory, 3},
        {"none", State::Missing, State::Missing, State::Missing, Start::FirstRun, Place::AppData, 3},
    };
    for (const ChoiceCase& c : cases) {
        std::pair<const ChoiceCase*, std::vector<Place>> row{&c, {}};
        const SettingsChoice choice = ChooseSettingsFile(ProbeRow, &row);
        EXPECT_EQ(choice.start, c.start) << c.what;
        EXPECT_EQ(choice.place, c.place) << c.what;
        EXPECT_EQ(row.second.size(), static_cast<size_t>(c.placesAsked)) << c.what;
    }
}

TEST(SettingsLocation, PathsKeepEveryCharacterOfTheProfileName) {
    wchar_t out[SettingsPathMax];
    const wchar_t* roaming = L"C:\\Users\\\u0416\u00e9\u5c71\\AppData\\Roaming";
    ASSERT_TRUE(SettingsFolderPath(roaming, out, SettingsPathMax));
    EXPECT_EQ(std::wstring(out), L"C:\\Users\\\u0416\u00e9\u5c71\\AppData\\Roaming\\QIV-72");
    wchar_t file[SettingsPathMax];
    ASSERT_TRUE(SettingsFilePath(out, file, SettingsPathMax));
    EXPECT_EQ(std::wstring(file), L"C:\\Users\\\u0416\u00e9\u5c71\\AppData\\Roaming\\QIV-72\\QEN72.INI");
    // The APPDATA variable may end with a separator.
    ASSERT_TRUE(SettingsFolderPath(L"D:\\Profiles\\ann\\", out, SettingsPathMax));
    EXPECT_EQ(std::wstring(out), L"D:\\Profiles\\ann\\QIV-72");

    struct {
        const wchar_t* windows;
        const wchar_t* expected;
    } const stores[] = {
        {L"C:\\WINDOWS", L"C:\\Users\\ann\\AppData\\Local\\VirtualStore\\WINDOWS\\QEN72.INI"},
        {L"D:\\WINNT\\", L"C:\\Users\\ann\\AppData\\Local\\VirtualStore\\WINNT\\QEN72.INI"},
        {L"C:\\", L"C:\\Users\\ann\\AppData\\Local\\VirtualStore\\QEN72.INI"},
    };
    for (const auto& s : stores) {
        ASSERT_TRUE(VirtualStoreSettingsPath(L"C:\\Users\\ann\\AppData\\Local", s.windows, out, SettingsPathMax));
        EXPECT_EQ(std::wstring(out), s.expected);
    }
}

TEST(SettingsLocation, AnUnknownOrTooLongFolderGivesNoPath) {
    wchar_t out[SettingsPathMax] = L"old";
    EXPECT_FALSE(SettingsFolderPath(L"", out, SettingsPathMax));
    EXPECT_EQ(out[0], L'\0');
    EXPECT_FALSE(VirtualStoreSettingsPath(L"C:\\Local", L"", out, SettingsPathMax));
    const std::wstring deep = L"C:\\" + std::wstring(SettingsPathMax - 10, L'x');
    EXPECT_FALSE(SettingsFolderPath(deep.c_str(), out, SettingsPathMax));
    EXPECT_EQ(out[0], L'\0');
    wchar_t small[12];
    EXPECT_FALSE(SettingsFilePath(L"C:\\QIV-72", small, 12));
    EXPECT_EQ(small[0], L'\0');
}

TEST(SettingsLocation, MessagesNameThePathAndAreCutToTheBuffer) {
    wchar_t out[SettingsPathMax + 200];
    const wchar_t* path = L"C:\\Users\\\u5c71\\AppData\\Roaming\\QIV-72\\QEN72.INI";
    FormatSettingsNotSaved(path, out, sizeof out / sizeof *out);
    EXPECT_EQ(std::wstring(out), L"Settings could not be saved to " + std::wstring(path) + L".");
    FormatSettingsNotRead(L"C:\\x\\QEN72.INI", out, sizeof out / sizeof *out);
    EXPECT_EQ(std::wstring(out).rfind(L"Settings could not be read from C:\\x\\QEN72.INI.\n", 0), 0u);
    wchar_t small[16];
    EXPECT_EQ(FormatSettingsNotSaved(L"C:\\x\\QEN72.INI", small, 16), 15u);
    EXPECT_EQ(std::wstring(small), L"Settings could ");
}

// A folder with the settings file in it, whose steps fail on demand.
struct FakeDisk {
    enum Step { Nothing, Folder, Write, Replace } failAt;
    bool folder;
    std::string settings;  // "" = no file
    bool hasTemporary;
    std::string temporary;
};

bool FakeFolder(void* c) {
    auto& d = *static_cast<FakeDisk*>(c);
    if (d.failAt == FakeDisk::Folder) return false;
    d.folder = true;
    return true;
}

bool FakeWrite(void* c, const char* text, size_t length) {
    auto& d = *static_cast<FakeDisk*>(c);
    d.hasTemporary = true;
    d.temporary.assign(text, d.failAt == FakeDisk::Write ? length / 2 : length);  // the disk fills up
    return d.failAt != FakeDisk::Write;
}

bool FakeReplace(void* c) {
    auto& d = *static_cast<FakeDisk*>(c);
    if (d.failAt == FakeDisk::Replace) return false;
    d.settings = d.temporary;
    d.hasTemporary = false;
    return true;
}

void FakeRemove(void* c) { static_cast<FakeDisk*>(c)->hasTemporary = false; }

TEST(SettingsLocation, ASafeWriteReplacesTheWholeFileOrLeavesTheOldOne) {
    const SettingsWriteSteps steps = {FakeFolder, FakeWrite, FakeReplace, FakeRemove};
    const std::string text = "[Settings]\r\nAlwaysTop=1\r\n";
    const struct {
        FakeDisk::Step failAt;
        SettingsWriteError error;
    } cases[] = {
        {FakeDisk::Nothing, SettingsWriteError::None},
        {FakeDisk::Folder, SettingsWriteError::FolderNotMade},
        {FakeDisk::Write, SettingsWriteError::NotWritten},
        {FakeDisk::Replace, SettingsWriteError::NotReplaced},
    };
    for (const auto& c : cases) {
        for (const std::string old : {"", "[Settings]\r\nAlwaysTop=0\r\n"}) {
            FakeDisk disk = {c.failAt, true, old, false, ""};
            EXPECT_EQ(WriteSettingsSafely(steps, &disk, text.data(), text.size()), c.error) << c.failAt;
            EXPECT_EQ(disk.settings, c.error == SettingsWriteError::None ? text : old) << c.failAt;
            EXPECT_FALSE(disk.hasTemporary) << c.failAt;
        }
    }
    FakeDisk untouched = {FakeDisk::Nothing, false, "old", false, ""};
    EXPECT_EQ(WriteSettingsSafely(steps, &untouched, text.data(), 0), SettingsWriteError::NoText);
    EXPECT_FALSE(untouched.folder);
    EXPECT_EQ(untouched.settings, "old");
}

}  // namespace
