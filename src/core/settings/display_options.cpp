#include "settings/display_options.h"

#include "puzzle/puzzle_data.h"
#include "settings/profile_file.h"
#include "settings/profile_scan.h"

#include <string_view>

namespace vexa {

// No puzzle's section can ever be this one (see the header).
static_assert(std::string_view(kDisplayOptionsSection).size() >= sizeof(TPuzzleData::SectionName));

std::string FormatOptionSwitch(bool on) { return on ? "1" : "0"; }

bool ParseOptionSwitch(const std::string& value) { return TrimProfileBlanks(value) == "1"; }

bool ReadOptionSwitch(const std::string& settingsPath, const char* key) {
    return ParseOptionSwitch(ReadProfileString(settingsPath, kDisplayOptionsSection, key, FormatOptionSwitch(false)));
}

bool WriteOptionSwitch(const std::string& settingsPath, const char* key, bool on) {
    return SaveProfileString(settingsPath, kDisplayOptionsSection, key, FormatOptionSwitch(on));
}

bool ReadConspicuousMarkers(const std::string& settingsPath) {
    return ReadOptionSwitch(settingsPath, kConspicuousMarkersKey);
}

bool WriteConspicuousMarkers(const std::string& settingsPath, bool on) {
    return WriteOptionSwitch(settingsPath, kConspicuousMarkersKey, on);
}

bool ReadPauseOnMinimise(const std::string& settingsPath) { return ReadOptionSwitch(settingsPath, kPauseOnMinimiseKey); }

bool WritePauseOnMinimise(const std::string& settingsPath, bool on) {
    return WriteOptionSwitch(settingsPath, kPauseOnMinimiseKey, on);
}

bool ReadSideBySide(const std::string& settingsPath) { return ReadOptionSwitch(settingsPath, kSideBySideKey); }

bool WriteSideBySide(const std::string& settingsPath, bool on) {
    return WriteOptionSwitch(settingsPath, kSideBySideKey, on);
}

std::string ReadZoomText(const std::string& settingsPath) {
    return ReadProfileString(settingsPath, kDisplayOptionsSection, kZoomKey, "");
}

bool WriteZoomText(const std::string& settingsPath, const std::string& text) {
    return SaveProfileString(settingsPath, kDisplayOptionsSection, kZoomKey, text);
}

}  // namespace vexa
