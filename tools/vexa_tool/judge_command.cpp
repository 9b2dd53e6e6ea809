// vexa-tool judge FILE.VX --at X,Y [--at X,Y ...]
//
// Judges marker centres given in picture coordinates of the photo data, one
// per marker in order, exactly as the player matches them, so that a puzzle's
// author can check the rectangles. Prints {"found": n, "diff_count": d,
// "result": <the result screen's mode number>, "result_name": ...}.
#include "commands.h"
#include "input_files.h"
#include "result_names.h"
#include "usage.h"

#include "play/match_markers.h"
#include "puzzle/view_mode.h"
#include "puzzle/puzzle_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vexatool {

namespace {

bool ParseInt(std::string_view text, int& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "X,Y" with two whole decimal numbers.
bool ParsePoint(std::string_view text, vexa::TPoint& point) {
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && ParseInt(text.substr(0, comma), point.X) &&
           ParseInt(text.substr(comma + 1), point.Y);
}

int Usage(const std::string& problem) { return BadUsage("judge", problem); }

}  // namespace

int RunJudge(int argc, char** argv) {
    const char* path = nullptr;
    std::vector<vexa::TPoint> points;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string_view value;
        if (arg == "--at") {
            if (i + 1 >= argc) return Usage("--at needs X,Y");
            value = argv[++i];
        } else if (arg.starts_with("--at=")) {
            value = arg.substr(5);
        } else if (!arg.starts_with("-") && path == nullptr) {
            path = argv[i];
            continue;
        } else {
            return Usage(std::string("unexpected argument: ") + argv[i]);
        }
        vexa::TPoint point;
        if (!ParsePoint(value, point))
            return Usage("not a point X,Y: " + std::string(value));
        points.push_back(point);
    }
    if (path == nullptr) return Usage("no puzzle file given");

    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    if (const vexa::TLoadError error = LoadPuzzleInput(record, side, path); error != vexa::TLoadError::None) {
        std::fprintf(stderr, "vexa-tool judge: %s: %s\n", path, LoadErrorLine(error).c_str());
        return 1;
    }
    const int diffCount = std::clamp<int>(record.DiffCount, 0, vexa::kMaxDiffs);
    if (static_cast<int>(points.size()) > diffCount) {
        std::fprintf(stderr,
                     "vexa-tool judge: %zu points given, but the puzzle has %d differences "
                     "and as many markers\n",
                     points.size(), diffCount);
        return 2;
    }

    const int found = vexa::MatchMarkers(std::span(record.DiffRects).first(diffCount), points);
    const vexa::ViewMode result = vexa::ResultForCount(found, diffCount);
    std::printf("{\"found\": %d, \"diff_count\": %d, \"result\": %d, \"result_name\": \"%s\"}\n", found,
                diffCount, vexa::ModeNumber(result), ResultName(result));
    return 0;
}

}  // namespace vexatool
