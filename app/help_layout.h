// Lays out one help topic for a window of a given width: word wrap, bullets,
// headings and the places of its links. Portable: text widths come through
// a seam the window implements with its fonts (and tests with fixed widths).
#pragma once

#include <cstddef>
#include <vector>

#include "app/help_book.h"

enum class HelpFont : int { Body, Bold, Link, Title, Heading, Count };

class HelpMeasure {
public:
    virtual ~HelpMeasure() = default;
    // Width in pixels of `bytes` bytes of UTF-8 text in a font.
    virtual int TextWidth(HelpFont font, const char* text, size_t bytes) const = 0;
    virtual int LineHeight(HelpFont font) const = 0;
};

// A piece of text drawn at (x, y), the top of its line; `target` is the
// topic a link leads to, -1 for plain text. Bullet marks are runs of
// their own whose text is the bullet sign.
struct HelpRun {
    HelpFont font;
    int x, y, width, height;
    const char* text;
    size_t bytes;
    int target;
};

struct HelpLayout {
    std::vector<HelpRun> runs;
    int height = 0;  // of the whole text, margins included
};

// `margin`: the space around the text; bullets indent by `indent` per level.
HelpLayout LayoutHelpTopic(const HelpBook& book, int topic, int width, int margin, int indent,
                           const HelpMeasure& measure);

// The link under a point of the laid-out text: its target topic, or -1.
int HelpLinkAt(const HelpLayout& layout, int x, int y);

// The bullet sign, U+2022.
inline constexpr char HelpBulletSign[] = "\xE2\x80\xA2";
