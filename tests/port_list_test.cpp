// The port dialog's list: fixed ports, the system's ports in number order,
// the configured port always there, and only names the settings can hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/port_list.h"

namespace {

std::vector<std::string> Texts(const std::vector<PortEntry>& list) {
    std::vector<std::string> out;
    for (const PortEntry& e : list) out.push_back(e.text);
    return out;
}

TEST(PortList, NumbersTheDialogShows) {
    const struct {
        const char* name;
        int number;
    } cases[] = {{"COM1", 1}, {"com12", 12}, {"COM256", 256}, {"COM257", -1}, {"COM0", -1}, {"COM", -1},
                 {"COM01", -1}, {"COM1A", -1}, {"LPT1", -1}, {"CNCA0", -1}, {"", -1}};
    for (const auto& c : cases) EXPECT_EQ(ComPortNumber(c.name), c.number) << c.name;
}

TEST(PortList, SystemPortsJoinTheFixedOnesInNumberOrder) {
    const std::vector<SystemPort> system = {{"COM12", "USB Serial Port (COM12)"},
                                            {"COM3", "Prolific USB-to-Serial Comm Port (COM3)"},
                                            {"COM1", "Communications Port (COM1)"},
                                            {"COM10", ""},
                                            {"COM12", ""},       // listed twice
                                            {"CNCA0", "com0com - serial port emulator"},
                                            {"COM12345", "too long for the settings"}};
    const std::vector<PortEntry> list = BuildPortList(system, "COM2");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"COM1  Communications Port", "COM2",
                                                     "COM3  Prolific USB-to-Serial Comm Port", "COM4", "COM10",
                                                     "COM12  USB Serial Port", "CNCA0  com0com - serial port emulator"}));
    // The stored name is the plain one, whatever the list shows.
    EXPECT_STREQ(list[5].name, "COM12");
    for (const PortEntry& e : list) EXPECT_FALSE(e.missing) << e.text;
}

TEST(PortList, TheConfiguredPortIsAlwaysThere) {
    // An adapter that is not plugged in now: listed, marked, still choosable.
    std::vector<PortEntry> list = BuildPortList({}, "COM7");
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[4].text, "COM7  (not present)");
    EXPECT_STREQ(list[4].name, "COM7");
    EXPECT_TRUE(list[4].missing);
    // Listed by the system in another case: not missing, not twice.
    list = BuildPortList({{"COM7", ""}}, "com7");
    EXPECT_EQ(list.size(), 5u);
    EXPECT_FALSE(list[4].missing);
    // The fixed ports are never marked; a name too long is not added.
    EXPECT_EQ(BuildPortList({}, "COM3").size(), 4u);
    EXPECT_EQ(BuildPortList({}, "COM12345").size(), 4u);
    EXPECT_EQ(BuildPortList({}, "").size(), 4u);
}

}  // namespace
