// Saving a changed profile file: the original stays open and is copied
// piece by piece, so the file may be of any size the disk allows.
#pragma once

#include "settings/profile_scan.h"

#include <string>
#include <sys/stat.h>

namespace vexa {

// Feeds the file behind `fd` to `scan` piece by piece from its start until
// the scan is settled. False on a read error.
bool ScanProfileFile(int fd, TProfileScan& scan);

// Writes source (or nothing, when sourceFd < 0) with `edit` applied to a new
// temporary file ".<name>.tmp-<pid>-<n>" in `dir`, fsyncs it and renames it
// over `target`. An existing file's mode (and owner, where allowed) carries
// over. The temporary file is removed again on failure.
bool ReplaceAtomically(const std::string& target, const std::string& dir, const struct stat* existing,
                       int sourceFd, const TProfileScan::TEdit& edit);

// Removes temporary files of the form ReplaceAtomically makes for `name` in
// `dir` whose process has ended: what a save that was killed leaves behind.
void RemoveStaleTemporaries(const std::string& dir, const std::string& name);

}  // namespace vexa
