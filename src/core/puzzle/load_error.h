// Why a puzzle file did not load. The player shows each as its message
// (play/play_messages.h); the tools print the name as well.
#pragma once

namespace vexa {

enum class TLoadError {
    None,        // loaded
    CannotOpen,  // no regular file that could be opened
    BadData,     // not a puzzle file, or more differences than a puzzle has
    DiskError,   // the file ends inside a header or text field
    NoMemory,    // a table or picture that cannot be had (or decoded)
};

// "none", "cannot_open", "bad_data", "disk_error", "no_memory".
constexpr const char* LoadErrorName(TLoadError error) {
    switch (error) {
    case TLoadError::None: return "none";
    case TLoadError::CannotOpen: return "cannot_open";
    case TLoadError::BadData: return "bad_data";
    case TLoadError::DiskError: return "disk_error";
    case TLoadError::NoMemory: return "no_memory";
    }
    return "unknown";
}

}  // namespace vexa
