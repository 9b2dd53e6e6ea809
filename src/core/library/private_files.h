// Small files of the player's own (the list's state, thumbnail entries) in
// folders only the user may enter.
#pragma once

#include <cstddef>
#include <string>

namespace vexa {

// $<variable> when it holds an absolute path, else $HOME (or the password
// entry's home) plus `fallback` ("/.cache", "/.local/state"); empty when no
// home is known.
std::string XdgBaseFolder(const char* variable, const char* fallback);

// Creates `folder` and any missing parents with mode 0700; an existing folder
// keeps its mode. False when it is not a folder afterwards.
bool MakePrivateFolders(const std::string& folder);

// The whole of a regular file of at most `limit` bytes (symlinks not
// followed); false for anything else.
bool ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes);

// Replaces `path` by `bytes` through a temporary file in the same folder
// (mode 0600) and a rename, creating the folder as MakePrivateFolders does.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace vexa
