// The names around setup files: dialog filters, the "new" rule, the
// extension a typed name gets, the folder of the temporary file and the
// messages, with buffers that are too small.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "model/param_tables.h"
#include "setup/setup_names.h"
#include "tests/test_support.h"

namespace {

class SetupNamesTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

// A filter list as its NUL-separated parts.
std::vector<std::string> Parts(const char* filter) {
    std::vector<std::string> parts;
    for (const char* p = filter; *p != '\0'; p += std::strlen(p) + 1) parts.emplace_back(p);
    return parts;
}

TEST_F(SetupNamesTest, SaveDialogsOfferTheirOwnTypeOnly) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Parts(SetupSaveFilter(FunctionDualMono)), (V{"QIV-72 Dual Mono Configuration Data (*.c72)", "*.c72"}));
    EXPECT_EQ(Parts(SetupSaveFilter(FunctionStereo)), (V{"QIV-72 Stereo Configuration Data (*.s72)", "*.s72"}));
    EXPECT_EQ(Parts(SetupSaveFilter(FunctionAnalyser)), (V{"QIV-72 Analyser Configuration Data (*.a72)", "*.a72"}));
    EXPECT_EQ(SetupSaveFilter(FunctionNone), nullptr);
}

TEST_F(SetupNamesTest, OpenDialogsAddAllFiles) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Parts(SetupOpenFilter(FunctionDualMono)),
              (V{"QIV-72 Dual Mono Configuration Data (*.c72)", "*.c72", "All Files (*.*)", "*.*"}));
    EXPECT_EQ(Parts(SetupOpenFilter(FunctionStereo)),
              (V{"QIV-72 Stereo Configuration Data (*.s72)", "*.s72", "All Files (*.*)", "*.*"}));
    EXPECT_EQ(Parts(SetupOpenFilter(FunctionAnalyser)),
              (V{"QIV-72 Audio Analyser Configuration Data (*.a72)", "*.a72", "All Files (*.*)", "*.*"}));
    EXPECT_EQ(SetupOpenFilter(4), nullptr);
}

TEST_F(SetupNamesTest, NewNamesAreAlwaysAskedFor) {
    EXPECT_TRUE(SetupSaveAsksForName(false, "new.c72"));
    EXPECT_TRUE(SetupSaveAsksForName(false, "NEWS.s72"));
    EXPECT_FALSE(SetupSaveAsksForName(false, "mix.c72"));
    EXPECT_TRUE(SetupSaveAsksForName(true, "mix.c72"));
}

struct ExtensionCase {
    int function;
    const char* path;
    const char* title;
    ExtensionResult result;
    const char* path2;
    const char* title2;
};

TEST_F(SetupNamesTest, ANameWithoutExtensionGetsTheFunctionsOwn) {
    const ExtensionCase cases[] = {
        {1, "C:\\mixes\\mix", "mix", ExtensionResult::Added, "C:\\mixes\\mix.c72", "mix.c72"},
        {2, "C:\\mixes\\mix", "mix", ExtensionResult::Added, "C:\\mixes\\mix.s72", "mix.s72"},
        {3, "mix", "mix", ExtensionResult::Added, "mix.a72", "mix.a72"},
        {1, "C:\\mixes\\mix.txt", "mix.txt", ExtensionResult::Kept, "C:\\mixes\\mix.txt", "mix.txt"},
        {1, "C:\\mixes\\mix.", "mix.", ExtensionResult::Kept, "C:\\mixes\\mix.", "mix."},
        {1, "C:\\v1.2\\mix", "mix", ExtensionResult::Added, "C:\\v1.2\\mix.c72", "mix.c72"},
        {1, "Z:/v1.2/mix", "mix", ExtensionResult::Added, "Z:/v1.2/mix.c72", "mix.c72"},
    };
    for (const ExtensionCase& c : cases) {
        char path[64];
        char title[32];
        std::strcpy(path, c.path);
        std::strcpy(title, c.title);
        EXPECT_EQ(AddSetupExtension(c.function, path, sizeof path, title, sizeof title), c.result) << c.path;
        EXPECT_STREQ(path, c.path2);
        EXPECT_STREQ(title, c.title2);
    }
}

TEST_F(SetupNamesTest, AnExtensionThatDoesNotFitChangesNothing) {
    char path[12] = "C:\\abcdefg";  // 10 characters: 4 more do not fit
    char title[32] = "abcdefg";
    EXPECT_EQ(AddSetupExtension(1, path, sizeof path, title, sizeof title), ExtensionResult::TooLong);
    EXPECT_STREQ(path, "C:\\abcdefg");
    EXPECT_STREQ(title, "abcdefg");

    char path2[32] = "C:\\abcdefg";
    char title2[10] = "abcdefg";
    EXPECT_EQ(AddSetupExtension(1, path2, sizeof path2, title2, sizeof title2), ExtensionResult::TooLong);
    EXPECT_STREQ(path2, "C:\\abcdefg");

    char full[4] = {'a', 'b', 'c', 'd'};  // not terminated within its buffer
    char title3[8] = "x";
    EXPECT_EQ(AddSetupExtension(1, full, sizeof full, title3, sizeof title3), ExtensionResult::TooLong);
}

TEST_F(SetupNamesTest, TheTemporaryFileGoesBesideTheSetupFile) {
    char folder[16];
    ASSERT_TRUE(SetupFolderOf("C:\\mixes\\a.c72", folder, sizeof folder));
    EXPECT_STREQ(folder, "C:\\mixes\\");
    ASSERT_TRUE(SetupFolderOf("Z:/tmp/a.c72", folder, sizeof folder));
    EXPECT_STREQ(folder, "Z:/tmp/");
    ASSERT_TRUE(SetupFolderOf("C:a.c72", folder, sizeof folder));
    EXPECT_STREQ(folder, "C:");
    ASSERT_TRUE(SetupFolderOf("fastkey5.a72", folder, sizeof folder));
    EXPECT_STREQ(folder, ".");
    EXPECT_FALSE(SetupFolderOf("C:\\a\\very\\long\\folder\\a.c72", folder, sizeof folder));
}

TEST_F(SetupNamesTest, CopiesAreCutToTheirBuffer) {
    char out[4];
    EXPECT_TRUE(CopySetupText(out, sizeof out, "abc"));
    EXPECT_STREQ(out, "abc");
    EXPECT_FALSE(CopySetupText(out, sizeof out, "abcd"));
    EXPECT_STREQ(out, "abc");
    EXPECT_FALSE(CopySetupText(out, 0, "a"));
}

TEST_F(SetupNamesTest, TablesNameTheirFunction) {
    EXPECT_EQ(SetupFunctionOfTable(DualMonoTable), FunctionDualMono);
    EXPECT_EQ(SetupFunctionOfTable(StereoTable), FunctionStereo);
    EXPECT_EQ(SetupFunctionOfTable(AnalyserTable), FunctionAnalyser);
    EXPECT_EQ(SetupFunctionOfTable(AnalyserDisplayTable), FunctionNone);
    EXPECT_EQ(SetupFunctionOfTable(nullptr), FunctionNone);
}

TEST_F(SetupNamesTest, FileMessages) {
    char out[64];
    EXPECT_EQ(FormatSetupNotFound("fastkey7.a72", out, sizeof out), 28);
    EXPECT_STREQ(out, "File fastkey7.a72 not found.");
    FormatSetupNotWritten("A:\\mix.c72", out, sizeof out);
    EXPECT_STREQ(out, "File A:\\mix.c72 cannot be written.\nThe setup is not saved.");
    const std::string longPath(300, 'x');
    EXPECT_EQ(FormatSetupNotFound(longPath.c_str(), out, sizeof out), 63);
    EXPECT_EQ(std::strlen(out), 63u);
}

}  // namespace
