#include "app/help_layout.h"

#include <algorithm>
#include <cstring>

namespace {

HelpFont FontOf(HelpBlockKind block, HelpSpanStyle style) {
    if (block == HelpBlockKind::Heading) return HelpFont::Heading;
    switch (style) {
        case HelpSpanStyle::Bold: return HelpFont::Bold;
        case HelpSpanStyle::Link: return HelpFont::Link;
        default: return HelpFont::Body;
    }
}

// Fills lines from left to right; a line breaks only at blanks, so a word
// made of several spans ("**F5**," or a link followed by a full stop)
// stays together.
class LineFiller {
public:
    LineFiller(HelpLayout& out, const HelpMeasure& m, int left, int right, int top)
        : out_(out), m_(m), left_(left), right_(right), y_(top), x_(left) {}

    // One word: pieces of text in their fonts, without blanks between them.
    struct Piece {
        HelpFont font;
        const char* text;
        size_t bytes;
        int target;
        int width;
    };

    void AddWord(const Piece* pieces, int count, bool blankBefore) {
        int width = 0;
        for (int i = 0; i < count; ++i) width += pieces[i].width;
        const int blank = blankBefore && x_ > left_ ? m_.TextWidth(HelpFont::Body, " ", 1) : 0;
        if (x_ > left_ && x_ + blank + width > right_) {
            NewLine();
        } else {
            x_ += blank;
        }
        for (int i = 0; i < count; ++i) Place(pieces[i], i == 0 && x_ > left_ && blank > 0);
    }

    // Ends the block: the position below its last line.
    int Finish() {
        if (x_ > left_ || lineHeight_ > 0) NewLine();
        return y_;
    }

private:
    void Place(const Piece& p, bool afterBlank) {
        const int h = m_.LineHeight(p.font);
        lineHeight_ = std::max(lineHeight_, h);
        // Continue the previous run where the text is its continuation in
        // the same span, blank included: fewer, longer runs to draw.
        if (!out_.runs.empty() && lineStart_ < out_.runs.size()) {
            HelpRun& last = out_.runs.back();
            const char* end = last.text + last.bytes;
            const size_t gap = afterBlank ? 1 : 0;
            if (last.font == p.font && last.target == p.target && end + gap == p.text) {
                last.bytes += gap + p.bytes;
                last.width = x_ + p.width - last.x;
                x_ += p.width;
                return;
            }
        }
        out_.runs.push_back({p.font, x_, y_, p.width, h, p.text, p.bytes, p.target});
        x_ += p.width;
    }

    void NewLine() {
        for (size_t i = lineStart_; i < out_.runs.size(); ++i) out_.runs[i].height = lineHeight_;
        y_ += lineHeight_ > 0 ? lineHeight_ : m_.LineHeight(HelpFont::Body);
        x_ = left_;
        lineHeight_ = 0;
        lineStart_ = out_.runs.size();
    }

    HelpLayout& out_;
    const HelpMeasure& m_;
    int left_, right_, y_, x_;
    int lineHeight_ = 0;
    size_t lineStart_ = 0;
};

// Feeds the spans of one block to the filler word by word.
int FillBlock(const HelpBook& book, const HelpBlock& block, HelpLayout& out, const HelpMeasure& m, int left,
              int right, int top, HelpFont only = HelpFont::Count) {
    LineFiller filler(out, m, left, right, top);
    constexpr int MaxPieces = 16;
    LineFiller::Piece word[MaxPieces];
    int pieces = 0;
    bool blankBefore = false;
    auto flush = [&](bool nextAfterBlank) {
        if (pieces > 0) filler.AddWord(word, pieces, blankBefore);
        pieces = 0;
        blankBefore = nextAfterBlank;
    };
    for (int s = 0; s < block.spanCount; ++s) {
        const HelpSpan& span = book.spans[block.firstSpan + s];
        const HelpFont font = only != HelpFont::Count ? only : FontOf(block.kind, span.style);
        const char* p = span.text;
        while (*p != '\0') {
            if (*p == ' ') {
                flush(true);
                ++p;
                continue;
            }
            const char* end = p;
            while (*end != '\0' && *end != ' ') ++end;
            const size_t bytes = static_cast<size_t>(end - p);
            if (pieces == MaxPieces) flush(false);
            word[pieces++] = {font, p, bytes, span.target, m.TextWidth(font, p, bytes)};
            p = end;
        }
    }
    flush(false);
    return filler.Finish();
}

}  // namespace

HelpLayout LayoutHelpTopic(const HelpBook& book, int topic, int width, int margin, int indent,
                           const HelpMeasure& m) {
    HelpLayout out;
    if (topic < 0 || topic >= book.topicCount) return out;
    const HelpTopic& t = book.topics[topic];
    const int right = std::max(width - margin, margin + indent * 4);
    const int paragraphGap = m.LineHeight(HelpFont::Body) / 2;
    // The title: one block of its own in the title font.
    const HelpSpan titleSpan = {HelpSpanStyle::Plain, -1, t.title};
    const HelpBook titleBook = {nullptr, 0, nullptr, &titleSpan, nullptr, 0, "", "", "", "", ""};
    const HelpBlock titleBlock = {HelpBlockKind::Paragraph, 0, 0, 1};
    int y = FillBlock(titleBook, titleBlock, out, m, margin, right, margin, HelpFont::Title);
    y += paragraphGap;
    for (int b = 0; b < t.blockCount; ++b) {
        const HelpBlock& block = book.blocks[t.firstBlock + b];
        int left = margin;
        if (block.kind == HelpBlockKind::Heading) y += paragraphGap;
        if (block.kind == HelpBlockKind::Bullet) {
            const int markX = margin + indent * block.level;
            const int h = m.LineHeight(HelpFont::Body);
            const size_t signBytes = sizeof HelpBulletSign - 1;
            out.runs.push_back({HelpFont::Body, markX, y, m.TextWidth(HelpFont::Body, HelpBulletSign, signBytes), h,
                                HelpBulletSign, signBytes, -1});
            left = markX + indent;
        }
        y = FillBlock(book, block, out, m, left, right, y);
        const bool nextIsBullet = b + 1 < t.blockCount && book.blocks[t.firstBlock + b + 1].kind == HelpBlockKind::Bullet;
        if (!(block.kind == HelpBlockKind::Bullet && nextIsBullet)) y += paragraphGap;
    }
    out.height = y + margin;
    return out;
}

int HelpLinkAt(const HelpLayout& layout, int x, int y) {
    for (const HelpRun& r : layout.runs)
        if (r.target >= 0 && x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return r.target;
    return -1;
}
