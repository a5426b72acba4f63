// Settings by name for the command line: finding a setting of the running
// function, the closest names to a wrong one, reading a value the way a
// panel edit takes it, the value the unit receives after the wire's
// rounding, and the texts the tool prints.
#pragma once

#include <string>
#include <vector>

struct ParamDesc;

// The unit's settings of a function: saved kinds that have a command, in
// table order.
std::vector<ParamDesc*> UnitSettingsOf(int function);

// The setting with that name (case ignored), or null.
ParamDesc* FindUnitSetting(int function, const std::string& name);

// Up to `count` names of the function's settings nearest to `name` (edit
// distance, case ignored), nearest first.
std::vector<std::string> ClosestSettingNames(int function, const std::string& name, size_t count);

// A value as typed: switches 0/1 or on/off, selections a label (matched
// first, blanks around it and case ignored) or an index, numbers a decimal
// number. False, with the reason, for anything else.
bool ParseSettingValue(const ParamDesc& record, const std::string& text, double* value, std::string* error);

// The value the unit holds after receiving `value` for the record: the
// encoder's bytes read back (tenths rounded, whole numbers cut).
double WireValue(int function, const ParamDesc& record, double value);

// The value as status prints it: a number as the panel shows it, a label
// without its padding, on/off for switches.
std::string SettingText(const ParamDesc& record);
// The same for JSON: a number, a quoted label or true/false.
std::string SettingJson(const ParamDesc& record);
std::string JsonString(const std::string& text);

// "Dual Mono", "Stereo", "Analyser"; "none" for 0.
const char* FunctionName(int function);
// "dual-mono", "stereo", "analyser" to 1 to 3; 0 for anything else.
int FunctionFromArgument(const std::string& text);

// Memory n's name as the unit last reported it, without trailing blanks;
// empty when it has not been reported.
std::string ReportedMemoryName(int memory);
bool MemoryNameReported(int memory);

// A memory name made fit for a file name: characters no file system takes
// (and controls) become '_'; an empty name gives "unnamed".
std::string FileSafeName(const std::string& name);
