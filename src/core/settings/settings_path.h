// Where the settings file lives: beside the program when a file may be kept
// there, else in the per-user configuration folder. An installed program
// always uses the per-user folder.
#pragma once

#include <string>

namespace vexa {

enum class TSettingsPlace {
    None,           // no program path to derive a name from; Path is empty
    BesideProgram,
    Fallback,       // Path lies in the fallback folder
};

struct TSettingsPathResult {
    TSettingsPlace Result = TSettingsPlace::None;
    std::string Path;
};

// The program path with the extension of its file name replaced by "Ini"
// ("/opt/vexa/VEXA32.EXE" -> "/opt/vexa/VEXA32.Ini"); a name without one
// (or whose only dot leads it) gets ".Ini". Dots in folder names never
// count. Paths are UTF-8 bytes. Empty when the path names no file.
std::string SettingsFileNameFor(const std::string& programPath);

// True for a program in an installed prefix: its folder is "bin" and beside
// that folder lies "share/vexa". A build tree or a copied program is not.
bool IsInstalledProgram(const std::string& programPath);

// `programPath` is the program file (what /proc/self/exe names);
// `fallbackDir` the per-user folder used when the program is installed, or
// when no settings file can be created beside it, an existing one there is
// read-only or a link that saves do not follow, or other users may write its
// folder (world-writable, sticky, another user's, or group-writable by a
// group with other members). A writable file in a folder that cannot be
// written is kept. A probe file created to test the folder is deleted again;
// an existing settings file is untouched.
// The fallback folder is neither created nor tested here.
TSettingsPathResult MakeSettingsPath(const std::string& programPath, const std::string& fallbackDir);

// $`variable` (when absolute) or ~/`belowHome`, plus "vexa/"; empty when
// there is no home folder.
std::string UserFolderFor(const char* variable, const char* belowHome);

// $XDG_CONFIG_HOME (when absolute) or ~/.config, plus "vexa/".
std::string DefaultSettingsFallbackDir();

// The program's own path from /proc/self/exe, or empty when it cannot be read.
std::string CurrentProgramPath();

}  // namespace vexa
