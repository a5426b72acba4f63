#include "app/help_book.h"

#include "app/shell_state.h"

const HelpBook& HelpBookFor(int language) { return HelpBooks[language == HelpEnglish ? HelpEnglish : HelpDeutsch]; }

namespace {

int FindExact(const HelpBook& book, int number, int function) {
    for (int i = 0; i < book.topicCount; ++i)
        if (book.topics[i].number == number && book.topics[i].function == function) return i;
    return -1;
}

}  // namespace

int FindHelpTopic(const HelpBook& book, int number, int function) {
    int i = FindExact(book, number, function);
    if (i < 0) i = FindExact(book, number, -1);
    if (i < 0) i = FindExact(book, HelpContentsTopic, -1);
    return i < 0 ? 0 : i;
}

bool HelpHasTopic(const HelpBook& book, int number, int function) {
    return FindExact(book, number, function) >= 0 || FindExact(book, number, -1) >= 0;
}

void HelpHistory::Visit(int topic) {
    if (Current() == topic) return;
    count_ = position_ + 1;
    if (count_ == Capacity) {
        for (int i = 1; i < Capacity; ++i) entries_[i - 1] = entries_[i];
        --count_;
    }
    entries_[count_++] = topic;
    position_ = count_ - 1;
}

int HelpHistory::Back() {
    if (!CanGoBack()) return -1;
    return entries_[--position_];
}

int HelpHistory::Forward() {
    if (!CanGoForward()) return -1;
    return entries_[++position_];
}
