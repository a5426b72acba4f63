// Rules of the shell's dialogs and window texts that need no platform: the
// setup memory lists, the store name, the port name, the help file choice and
// the window title. The Windows side only moves texts in and out of controls.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/shell_state.h"
#include "link/link_state.h"

// Setup memories of the unit in a device function: 16 in Dual Mono, 6 in
// Stereo, none otherwise.
int MemoryCountFor(int function);

// The list position the store and recall dialogs select when they open: the
// unit's current memory, or the first one when the unit reports none or a
// number the function does not have.
int PreselectedMemoryPosition(int currentMemory, int function);

// The unit's name of the memory at list position `position` (memory
// position + 1); an empty text for a position outside 0 to 15.
const char* MemoryNameAtPosition(int position);

// List entries: "%2i" in the store dialog, "%2i: %s" in the recall dialog.
// Both return the length written (cut to `size` - 1).
int FormatStoreEntry(int memory, char* out, size_t size);
int FormatRecallEntry(int memory, const char* name, char* out, size_t size);

// The store dialog reads at most this many characters of the name.
inline constexpr int StoreNameReadMax = 19;
inline constexpr int StoreNameLetters = 10;
inline constexpr char StoreFill = '@';

enum class StoreNameResult { Accepted, TooLong };

// Turns the typed name into the 12 characters the unit receives: blanks
// after the tenth character end the name; a longer name is refused;
// otherwise two fill characters, the name, and fill characters up to ten,
// with every blank sent as a fill character.
StoreNameResult BuildStoreName(const char* typed, char (&storeName)[StoreNameSize]);

// The comment dialog keeps at most this many characters.
inline constexpr int CommentMax = 254;

// The port names the port dialog offers.
inline constexpr int PortChoiceCount = 4;
extern const char* const PortChoices[PortChoiceCount];

// Copies a port name that fits the 7-character field; false (and `out`
// unchanged) for an empty or longer name.
bool SetPortName(const char* name, char (&out)[PortNameSize]);

// The help file of a help language and a device function. A language other
// than English gives the German file; a function outside 0 to 3 gives the
// file of no function.
const char* HelpFileName(int language, int function);

// Help topics of the dialogs and menu items.
inline constexpr int HelpTopicOperation = 210;
inline constexpr int HelpTopicPortDialog = 222;
inline constexpr int HelpTopicRecall = 250;
inline constexpr int HelpTopicStore = 251;

// The main window title: 255 characters and a terminator at most.
inline constexpr int TitleCapacity = 256;

struct TitleInputs {
    int function;
    bool online;
    const char* setupTitle;
    bool unsavedChanges;
    int32_t transmitCount;
    // 'A' or 'B' once the user compares two setups of the function, else 0.
    char compareSide = 0;
};

// Composes the title into `out` (at least TitleCapacity bytes). A setup
// file name too long for the title is shortened at its end, marked by
// "...", so that the marks behind it ("*", "  Transmitting ... ") still
// show. Returns the length.
int ComposeWindowTitle(const TitleInputs& in, char* out, size_t size);
