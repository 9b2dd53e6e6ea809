// Where the settings file lives: beside the program when that folder and
// file may be written, else in the per-user configuration folder.
#pragma once

#include <string>

namespace vexa {

enum : int {
    kSettingsPathNone = 0,        // no program path to derive a name from; Path is empty
    kSettingsPathBesideProgram = 1,
    kSettingsPathFallback = 2,    // Path lies in the fallback folder
};

struct TSettingsPathResult {
    int Result = kSettingsPathNone;
    std::string Path;
};

// The settings file name for a program file name: the extension is replaced
// by "Ini", a name without one gets ".Ini". Only the last path component is
// looked at; paths are UTF-8 bytes.
std::string SettingsFileNameFor(const std::string& programPath);

// `programPath` is the program file (what /proc/self/exe names);
// `fallbackDir` the per-user folder used when the program's folder or an
// existing settings file there cannot be written. A probe file created to
// test the folder is deleted again; an existing settings file is untouched.
// The fallback folder is neither created nor tested here.
TSettingsPathResult MakeSettingsPath(const std::string& programPath, const std::string& fallbackDir);

// $XDG_CONFIG_HOME (when absolute) or ~/.config, plus "vexa/".
std::string DefaultSettingsFallbackDir();

// The program's own path from /proc/self/exe, or empty when it cannot be read.
std::string CurrentProgramPath();

}  // namespace vexa
