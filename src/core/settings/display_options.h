// Display choices kept in the settings file beside the puzzles' results.
//
// They live in a section of their own whose name is longer than any section
// a puzzle file can name (its field holds at most 51 bytes), under a key
// other than the results' "DStrs": a result line can never be read, written
// or replaced through them, nor the other way round. Writing one changes
// only its own line, so the results and their checksums stay as they were.
#pragma once

#include <string>

namespace vexa {

inline constexpr const char* kDisplayOptionsSection = "Vexa display options, kept apart from the puzzle results";
inline constexpr const char* kConspicuousMarkersKey = "ConspicuousMarkers";
inline constexpr const char* kPauseOnMinimiseKey = "PauseOnMinimise";
inline constexpr const char* kSideBySideKey = "SideBySide";
inline constexpr const char* kZoomKey = "Zoom";

// The stored form of a switch: "1" on, "0" off.
std::string FormatOptionSwitch(bool on);
// True only for "1" (blanks around it allowed): a missing, empty or garbled
// value means off.
bool ParseOptionSwitch(const std::string& value);

// The switch under `key` of the display options; off without a value.
bool ReadOptionSwitch(const std::string& settingsPath, const char* key);
// Stores it; false when the file could not be written (the caller keeps the
// choice for this run).
bool WriteOptionSwitch(const std::string& settingsPath, const char* key, bool on);

// Whether markers get the black-and-white outline; off without a value.
bool ReadConspicuousMarkers(const std::string& settingsPath);
// Stores the choice; false when the file could not be written (the caller
// keeps the choice for this run). A save queued to the background counts
// as written.
bool WriteConspicuousMarkers(const std::string& settingsPath, bool on);

// Whether minimising the frame pauses a running challenge; off without a value.
bool ReadPauseOnMinimise(const std::string& settingsPath);
bool WritePauseOnMinimise(const std::string& settingsPath, bool on);

// Whether the scene and the photo show together; off without a value.
bool ReadSideBySide(const std::string& settingsPath);
bool WriteSideBySide(const std::string& settingsPath, bool on);

// The zoom in its stored form (the view's zoom rules read it); empty
// without a value.
std::string ReadZoomText(const std::string& settingsPath);
bool WriteZoomText(const std::string& settingsPath, const std::string& text);

}  // namespace vexa
