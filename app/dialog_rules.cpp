#include "app/dialog_rules.h"

#include <cstdio>
#include <cstring>

const char* const PortChoices[PortChoiceCount] = {"COM1", "COM2", "COM3", "COM4"};

int MemoryCountFor(int function) {
    switch (function) {
        case FunctionDualMono: return 16;
        case FunctionStereo: return 6;
        default: return 0;
    }
}

int PreselectedMemoryPosition(int currentMemory, int function) {
    if (currentMemory < 1 || currentMemory > MemoryCountFor(function)) return 0;
    return currentMemory - 1;
}

const char* MemoryNameAtPosition(int position) {
    if (position < 0 || position >= MemoryCount) return "";
    const char* name = MemoryNames[position + 1];
    // The unit's names are 10 characters in a larger field; make sure the
    // field ends even if a name ever filled it.
    return std::memchr(name, '\0', MemoryNameSize) != nullptr ? name : "";
}

int FormatStoreEntry(int memory, char* out, size_t size) {
    const int n = std::snprintf(out, size, "%2i", memory);
    return n < 0 ? 0 : (static_cast<size_t>(n) < size ? n : static_cast<int>(size) - 1);
}

int FormatRecallEntry(int memory, const char* name, char* out, size_t size) {
    const int n = std::snprintf(out, size, "%2i: %s", memory, name);
    return n < 0 ? 0 : (static_cast<size_t>(n) < size ? n : static_cast<int>(size) - 1);
}

StoreNameResult BuildStoreName(const char* typed, char (&storeName)[StoreNameSize]) {
    // At most 19 characters, cut at the first blank from the 11th on.
    char name[StoreNameReadMax + 1] = {};
    size_t n = 0;
    while (n < StoreNameReadMax && typed[n] != '\0') {
        if (typed[n] == ' ' && n >= StoreNameLetters) break;
        name[n] = typed[n];
        ++n;
    }
    if (n > StoreNameLetters) return StoreNameResult::TooLong;

    storeName[0] = StoreFill;
    storeName[1] = StoreFill;
    for (size_t i = 0; i < StoreNameLetters; ++i) {
        const char c = i < n ? name[i] : StoreFill;
        storeName[2 + i] = c == ' ' ? StoreFill : c;
    }
    return StoreNameResult::Accepted;
}

bool SetPortName(const char* name, char (&out)[PortNameSize]) {
    const size_t n = std::strlen(name);
    if (n == 0 || n >= PortNameSize) return false;
    std::memcpy(out, name, n + 1);
    return true;
}

const char* HelpFileName(int language, int function) {
    static const char* const files[2][4] = {
        {"qiv72n_d.hlp", "qiv72_d.hlp", "qiv72s_d.hlp", "qivana_d.hlp"},
        {"qiv72n_e.hlp", "qiv72s_e.hlp", "qiv72_e.hlp", "qivana_e.hlp"},
    };
    const int l = language == HelpEnglish ? 1 : 0;
    const int f = (function >= 0 && function <= 3) ? function : 0;
    return files[l][f];
}

int ComposeWindowTitle(const TitleInputs& in, char* out, size_t size) {
    if (out == nullptr || size == 0) return 0;
    static const char* const prefixes[4] = {
        "KOV QIV-72 - No Operation",
        "KOV QIV-72 Dual Mono Remote Control - ",
        "KOV QIV-72 Stereo Remote Control - ",
        "KOV QIV-72 Audio Analyser - ",
    };
    const int f = (in.function >= 0 && in.function <= 3) ? in.function : 0;
    const size_t cap = size < static_cast<size_t>(TitleCapacity) ? size : static_cast<size_t>(TitleCapacity);
    const size_t room = cap - 1;  // characters, without the terminator

    char head[64];
    char tail[32];
    std::snprintf(head, sizeof head, "%s", prefixes[f]);
    tail[0] = '\0';
    const char* setupTitle = "";
    if (f != 0) {
        std::strncat(head, in.online ? "ONLINE" : "OFFLINE", sizeof head - std::strlen(head) - 1);
        std::strncat(head, " : ", sizeof head - std::strlen(head) - 1);
        setupTitle = in.setupTitle != nullptr ? in.setupTitle : "";
        if (in.unsavedChanges) std::strcat(tail, "*");
        if (in.compareSide == 'A') std::strcat(tail, " [A]");
        if (in.compareSide == 'B') std::strcat(tail, " [B]");
        if (in.transmitCount > 0 && in.online) std::strcat(tail, "  Transmitting ... ");
    }

    const size_t headLen = std::strlen(head);
    const size_t tailLen = std::strlen(tail);
    size_t titleLen = std::strlen(setupTitle);
    const char* ellipsis = "";
    const size_t fixed = headLen + tailLen;
    if (fixed + titleLen > room) {
        constexpr size_t dots = 3;
        const size_t left = room > fixed + dots ? room - fixed - dots : 0;
        titleLen = left;
        ellipsis = room >= fixed + dots ? "..." : "";
    }
    const int n = std::snprintf(out, cap, "%s%.*s%s%s", head, static_cast<int>(titleLen), setupTitle, ellipsis, tail);
    return n < 0 ? 0 : (static_cast<size_t>(n) < cap ? n : static_cast<int>(cap) - 1);
}
