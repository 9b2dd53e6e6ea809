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

// The program path with the extension of its file name replaced by "Ini"
// ("/opt/vexa/VEXA32.EXE" -> "/opt/vexa/VEXA32.Ini"); a name without one
// (or whose only dot leads it) gets ".Ini". Dots in folder names never
// count. Paths are UTF-8 bytes. Empty when the path names no file.
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
