// vexa-tool check FILE.VX [--tolerance N]: authoring checks, as JSON.
// Exit status: 0 clean, 1 findings, 2 the file does not load or bad usage.
#include "commands.h"
#include "puzzle_check.h"

#include "puzzle/puzzle_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vexatool {

int RunCheck(int argc, char** argv) {
    std::string path;
    CheckOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tolerance") == 0 && i + 1 < argc) {
            options.tolerance = std::atoi(argv[++i]);
        } else if (path.empty()) {
            path = argv[i];
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::fputs("usage: vexa-tool check FILE.VX [--tolerance N]\n", stderr);
        return 2;
    }
    static vexa::TPuzzleData puzzle;  // large; kept off the stack
    vexa::TPuzzleSideValues side;
    puzzle.Reset();
    if (const char* error = vexa::LoadPuzzleFile(puzzle, side, path)) {
        std::printf("{\"error\": \"%s\"}\n", error);
        return 2;
    }
    const std::vector<Finding> findings = CheckPuzzle(puzzle, options);
    std::printf("{\"clean\": %s, \"findings\": [", findings.empty() ? "true" : "false");
    for (std::size_t i = 0; i < findings.size(); ++i)
        std::printf("%s\n  {\"kind\": \"%s\", %s}", i ? "," : "", findings[i].kind.c_str(), findings[i].json.c_str());
    std::printf("%s]}\n", findings.empty() ? "" : "\n");
    return findings.empty() ? 0 : 1;
}

}  // namespace vexatool
