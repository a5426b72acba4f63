// The built-in help: every topic the program can ask for exists in both
// languages, the choice of topic, the history, and the text layout.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/dialog_rules.h"
#include "app/help_book.h"
#include "app/help_layout.h"
#include "app/shell_state.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/test_support.h"

namespace {

// Topic numbers the program asks for, per device function: the menu items,
// the dialogs' Help buttons and the Help of each value dialog.
std::set<int> AskedTopics(int function) {
    std::set<int> asked = {HelpContentsTopic, HelpTopicOperation, HelpTopicPortDialog, HelpTopicRecall,
                           HelpTopicStore};
    auto add = [&](int table) {
        const ParamDesc* t = TableByNumber(table);
        for (int i = 0; i < TableRecordCount(table); ++i)
            if (t[i].helpContext != 0) asked.insert(t[i].helpContext);
    };
    if (function == FunctionDualMono) add(TableDualMono);
    if (function == FunctionStereo) add(TableStereo);
    if (function == FunctionAnalyser) add(TableAnalyser);
    return asked;
}

TEST(HelpBook, EveryTopicTheProgramAsksForExistsInBothLanguages) {
    FreshStart();
    for (int language : {HelpDeutsch, HelpEnglish}) {
        const HelpBook& book = HelpBookFor(language);
        for (int function : {FunctionNone, FunctionDualMono, FunctionStereo, FunctionAnalyser}) {
            for (int number : AskedTopics(function)) {
                EXPECT_TRUE(HelpHasTopic(book, number, function))
                    << "language " << language << ", function " << function << ", topic " << number;
                EXPECT_EQ(book.topics[FindHelpTopic(book, number, function)].number, number);
            }
        }
    }
}

TEST(HelpBook, ChoosesTheFunctionsOwnTopicAndFallsBackToTheContents) {
    const HelpBook& book = HelpBookFor(HelpEnglish);
    struct Case {
        int number, function, wantNumber, wantFunction;
    } cases[] = {
        {248, FunctionAnalyser, 248, FunctionAnalyser},  // the analyser's own metering topic
        {248, FunctionDualMono, 248, -1},
        {242, FunctionStereo, 242, -1},
        {9999, FunctionDualMono, HelpContentsTopic, -1},  // outside the table: the contents
        {-5, FunctionNone, HelpContentsTopic, -1},
    };
    for (const Case& c : cases) {
        const HelpTopic& t = book.topics[FindHelpTopic(book, c.number, c.function)];
        EXPECT_EQ(t.number, c.wantNumber) << c.number;
        EXPECT_EQ(t.function, c.wantFunction) << c.number;
    }
    EXPECT_STREQ(HelpBookFor(HelpDeutsch).topics[FindHelpTopic(HelpBookFor(HelpDeutsch), 0, 0)].title, "Inhalt");
    // Any language number but English reads German, as the settings file may hold anything.
    for (int language : {-1, 2, 99}) EXPECT_EQ(&HelpBookFor(language), &HelpBookFor(HelpDeutsch));
}

TEST(HelpBook, TopicListAndLinksStayInsideTheBook) {
    for (int language : {HelpDeutsch, HelpEnglish}) {
        const HelpBook& book = HelpBookFor(language);
        ASSERT_GT(book.contentsCount, 0);
        EXPECT_EQ(book.topics[book.contents[0].topic].number, HelpContentsTopic);
        for (int i = 0; i < book.topicCount; ++i) {
            const HelpTopic& t = book.topics[i];
            EXPECT_GT(t.blockCount, 0) << t.title;
            for (int b = 0; b < t.blockCount; ++b) {
                const HelpBlock& block = book.blocks[t.firstBlock + b];
                for (int s = 0; s < block.spanCount; ++s) {
                    const HelpSpan& span = book.spans[block.firstSpan + s];
                    EXPECT_LT(span.target, book.topicCount);
                    EXPECT_EQ(span.target >= 0, span.style == HelpSpanStyle::Link) << span.text;
                }
            }
        }
    }
}

TEST(HelpHistory, BackForwardAndANewVisitDroppingWhatLayAhead) {
    HelpHistory h;
    EXPECT_EQ(h.Back(), -1);
    for (int t : {1, 2, 3}) h.Visit(t);
    h.Visit(3);  // the same topic again is no new entry
    EXPECT_EQ(h.Back(), 2);
    EXPECT_EQ(h.Back(), 1);
    EXPECT_FALSE(h.CanGoBack());
    EXPECT_EQ(h.Forward(), 2);
    h.Visit(7);
    EXPECT_FALSE(h.CanGoForward());
    EXPECT_EQ(h.Back(), 2);
    for (int t = 0; t < 200; ++t) h.Visit(100 + t);  // full: the oldest go
    EXPECT_EQ(h.Current(), 299);
    int steps = 0;
    while (h.Back() >= 0) ++steps;
    EXPECT_EQ(steps, 63);
}

// Every byte is 1 pixel wide (UTF-8 letters count their bytes), lines are
// 10 pixels high, the title 20.
class FixedMeasure : public HelpMeasure {
public:
    int TextWidth(HelpFont, const char*, size_t bytes) const override { return static_cast<int>(bytes); }
    int LineHeight(HelpFont f) const override { return f == HelpFont::Title ? 20 : 10; }
};

const HelpSpan Spans[] = {
    {HelpSpanStyle::Plain, -1, "one two three four "},
    {HelpSpanStyle::Link, 0, "linked"},
    {HelpSpanStyle::Plain, -1, ", five six"},
    {HelpSpanStyle::Plain, -1, "bullet text here"},
};
const HelpBlock Blocks[] = {{HelpBlockKind::Paragraph, 0, 0, 3}, {HelpBlockKind::Bullet, 1, 3, 1}};
const HelpTopic Topics[] = {{1, -1, "Title", 0, 2}};
const HelpBook Book = {Topics, 1, Blocks, Spans, nullptr, 0, "", "", "", "", ""};

TEST(HelpLayout, WrapsAtBlanksKeepsWordsWholeAndFindsLinks) {
    FixedMeasure m;
    const int width = 30, margin = 2, indent = 4;
    const HelpLayout layout = LayoutHelpTopic(Book, 0, width, margin, indent, m);
    std::map<int, std::string> lines;  // by the top of the line
    for (const HelpRun& r : layout.runs) {
        EXPECT_GE(r.x, margin);
        EXPECT_LE(r.x + r.width, width - margin) << std::string(r.text, r.bytes);
        std::string& line = lines[r.y];
        line += (line.empty() ? "" : "|") + std::string(r.text, r.bytes);
    }
    std::vector<std::string> texts;
    for (const auto& [y, text] : lines) texts.push_back(text);
    const std::vector<std::string> want = {"Title", "one two three four|linked|,", "five six",
                                           std::string(HelpBulletSign) + "|bullet text here"};
    EXPECT_EQ(texts, want);
    // "linked," stays one word: the link and its comma break together.
    bool found = false;
    for (const HelpRun& r : layout.runs) {
        if (r.target == 0) {
            found = true;
            EXPECT_EQ(std::string(r.text, r.bytes), "linked");
            EXPECT_EQ(HelpLinkAt(layout, r.x + 1, r.y + 1), 0);
            EXPECT_EQ(HelpLinkAt(layout, r.x - 1, r.y + 1), -1);
        }
        if (std::string(r.text, r.bytes) == HelpBulletSign) {
            EXPECT_EQ(r.x, margin + indent);
        }
        if (std::string(r.text, r.bytes).rfind("bullet", 0) == 0) {
            EXPECT_EQ(r.x, margin + 2 * indent);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_GT(layout.height, 0);
    EXPECT_EQ(LayoutHelpTopic(Book, 5, width, margin, indent, m).runs.size(), 0u);  // no such topic
}

}  // namespace
