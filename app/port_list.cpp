#include "app/port_list.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/dialog_rules.h"

namespace {

constexpr int MaxComNumber = 256;

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "USB Serial Port (COM7)" shows as "USB Serial Port": the name stands in
// front of it already.
std::string Describe(const std::string& friendly, const std::string& name) {
    std::string text = friendly;
    const std::string suffix = " (" + name + ")";
    if (text.size() >= suffix.size() && Upper(text.substr(text.size() - suffix.size())) == Upper(suffix))
        text.erase(text.size() - suffix.size());
    return text;
}

bool Before(const PortEntry& a, const PortEntry& b) {
    const int na = ComPortNumber(a.name), nb = ComPortNumber(b.name);
    if ((na < 0) != (nb < 0)) return na >= 0;
    if (na != nb) return na < nb;
    return std::strcmp(a.name, b.name) < 0;
}

}  // namespace

int ComPortNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 6 || Upper(name.substr(0, 3)) != "COM") return -1;
    int n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
        n = n * 10 + (name[i] - '0');
    }
    return name[3] == '0' || n > MaxComNumber ? -1 : n;
}

std::vector<PortEntry> BuildPortList(const std::vector<SystemPort>& system, const char* configured) {
    std::vector<PortEntry> list;
    auto find = [&](const std::string& name) {
        return std::find_if(list.begin(), list.end(), [&](const PortEntry& e) { return Upper(e.name) == Upper(name); });
    };
    auto add = [&](const std::string& name, const std::string& friendly, bool missing) {
        PortEntry e{};
        if (!SetPortName(name.c_str(), e.name)) return;
        const auto known = find(name);
        if (known != list.end()) {
            known->missing = known->missing && missing;
            if (known->text == known->name && !friendly.empty()) known->text = known->name + ("  " + friendly);
            return;
        }
        e.text = friendly.empty() ? std::string(e.name) : std::string(e.name) + "  " + friendly;
        e.missing = missing;
        list.push_back(e);
    };
    for (const char* fixed : PortChoices) add(fixed, "", false);
    for (const SystemPort& p : system) add(p.name, Describe(p.friendlyName, p.name), false);
    if (configured != nullptr && *configured != '\0' && find(configured) == list.end()) {
        add(configured, "", true);
        const auto e = find(configured);
        if (e != list.end()) e->text += "  (not present)";
    }
    std::stable_sort(list.begin(), list.end(), Before);
    return list;
}
