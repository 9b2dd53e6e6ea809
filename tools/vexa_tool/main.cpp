// vexa-tool: inspect, decode, extract, pack, judge and check puzzle files.
#include "commands.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv);  // argv[0] is the command name
};

constexpr Command kCommands[] = {
    {"decode", "decode IN.jpg OUT.png|OUT.ppm|OUT.bmp", vexatool::RunDecode},
    {"info", "info FILE.VX", vexatool::RunInfo},
    {"extract", "extract FILE.VX DIR", vexatool::RunExtract},
    {"pack", "pack MANIFEST.json OUT.VX", vexatool::RunPack},
    {"judge", "judge FILE.VX --at X,Y [--at X,Y ...]", vexatool::RunJudge},
    {"check", "check FILE.VX", vexatool::RunCheck},
};

int Usage() {
    std::fputs("usage: vexa-tool COMMAND ...\n", stderr);
    for (const Command& c : kCommands) std::fprintf(stderr, "  vexa-tool %s\n", c.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string_view name = argv[1];
    for (const Command& c : kCommands)
        if (name == c.name) return c.run(argc - 1, argv + 1);
    return Usage();
}
