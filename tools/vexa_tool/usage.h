// What each vexa-tool command takes, for --help and for bad usage.
#pragma once

#include <string>

namespace vexatool {

struct CommandUsage {
    const char* name;
    const char* synopsis;  // the command's arguments, one line
    const char* details;   // options and exit status, several lines
};

// Every command, in the order the overall usage lists them.
const CommandUsage* CommandUsages(int& count);

// True when the command's arguments ask for help (--help or -h).
bool WantsHelp(int argc, char** argv);

// Prints the command's full usage to stdout; returns exit status 0.
int PrintHelp(const char* command);

// Prints "vexa-tool COMMAND: problem" and the command's synopsis to stderr;
// returns exit status 2, the status of every bad usage.
int BadUsage(const char* command, const std::string& problem);

// An argument that starts with "-" and is not "-" alone.
inline bool IsOption(const char* arg) { return arg[0] == '-' && arg[1] != '\0'; }

// A whole decimal number from `low` to `high`, nothing else.
bool ParseWhole(const char* text, int low, int high, int& value);

// When argv[i] is `name` (the value follows as the next argument) or
// `name=value`: points `value` at the value, or at nullptr when it is
// missing, moves i onto the last argument used and returns true.
bool OptionValue(int argc, char** argv, int& i, const char* name, const char*& value);

}  // namespace vexatool
