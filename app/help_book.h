// The help text built into the program: one book per help language, made at
// build time from help/<language>/*.md by tools/helpgen, and the rules that
// need no window: which topic a request shows, and the back/forward history.
// Texts are UTF-8; the window turns them into UTF-16 for drawing, so German
// shows correctly whatever the system's code page.
#pragma once

#include <cstdint>

enum class HelpSpanStyle : uint8_t { Plain, Bold, Link };
enum class HelpBlockKind : uint8_t { Paragraph, Bullet, Heading };

// A piece of a block's text in one style; `target` is the topic index a
// link leads to, -1 otherwise.
struct HelpSpan {
    HelpSpanStyle style;
    int16_t target;
    const char* text;
};

// A paragraph, a bullet (indented by `level`) or a heading: spans
// [firstSpan, firstSpan + spanCount) of the book.
struct HelpBlock {
    HelpBlockKind kind;
    uint8_t level;
    uint16_t firstSpan;
    uint16_t spanCount;
};

// `function` is the device function the topic serves (1 Dual Mono,
// 2 Stereo, 3 Analyser), -1 for all.
struct HelpTopic {
    int number;
    int function;
    const char* title;
    uint16_t firstBlock;
    uint16_t blockCount;
};

// An entry of the topic list: a topic index and its depth in the tree.
struct HelpContentsEntry {
    int topic;
    int depth;
};

struct HelpBook {
    const HelpTopic* topics;
    int topicCount;
    const HelpBlock* blocks;
    const HelpSpan* spans;
    const HelpContentsEntry* contents;
    int contentsCount;
    // Texts of the window: its title, the buttons and the list's name.
    const char* windowTitle;
    const char* backText;
    const char* forwardText;
    const char* contentsText;
    const char* topicsText;
};

inline constexpr int HelpLanguageCount = 2;
inline constexpr int HelpContentsTopic = 0;

// Indexed by the help language (0 Deutsch, 1 English); generated.
extern const HelpBook HelpBooks[HelpLanguageCount];

// The book of a help language: German for anything but English, as the
// settings file may hold any number.
const HelpBook& HelpBookFor(int language);

// The topic a request for `number` shows while the unit runs `function`:
// the topic written for that function, else the one for all functions;
// the contents for a number the book does not have.
int FindHelpTopic(const HelpBook& book, int number, int function);

// True when the book has a topic of that number for that function (not
// the contents shown in its place).
bool HelpHasTopic(const HelpBook& book, int number, int function);

// The topics visited, for back and forward. Visiting a topic drops what
// lay ahead; the oldest entries go when it is full.
class HelpHistory {
public:
    void Clear() { count_ = 0, position_ = -1; }
    void Visit(int topic);
    bool CanGoBack() const { return position_ > 0; }
    bool CanGoForward() const { return position_ + 1 < count_; }
    int Back();     // the topic to show, or -1
    int Forward();  // the topic to show, or -1
    int Current() const { return position_ >= 0 ? entries_[position_] : -1; }

private:
    static constexpr int Capacity = 64;
    int entries_[Capacity] = {};
    int count_ = 0;
    int position_ = -1;
};
