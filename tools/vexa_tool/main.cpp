// vexa-tool: inspect, decode, extract, pack, judge, check and diff puzzle files, and make one from a photo.
#include "commands.h"
#include "usage.h"

#include <QLoggingCategory>
#include <QString>

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);  // argv[0] is the command name
};

constexpr Command kCommands[] = {
    {"decode", vexatool::RunDecode}, {"info", vexatool::RunInfo},   {"extract", vexatool::RunExtract},
    {"pack", vexatool::RunPack},     {"judge", vexatool::RunJudge}, {"check", vexatool::RunCheck},
    {"diff", vexatool::RunDiff},     {"make", vexatool::RunMake},
};

void ListCommands(std::FILE* out) {
    std::fputs("usage: vexa-tool COMMAND ...\n", out);
    int count = 0;
    const vexatool::CommandUsage* usages = vexatool::CommandUsages(count);
    for (int i = 0; i < count; ++i) std::fprintf(out, "  vexa-tool %s\n", usages[i].synopsis);
    std::fputs("vexa-tool COMMAND --help describes one command.\n", out);
}

}  // namespace

int main(int argc, char** argv) {
    // Image readers' remarks (an odd colour profile, say) are no fault of the
    // command; its own messages say what went wrong.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
                      std::strcmp(argv[1], "help") == 0)) {
        ListCommands(stdout);
        return 0;
    }
    if (argc >= 2) {
        const std::string_view name = argv[1];
        for (const Command& c : kCommands) {
            if (name != c.name) continue;
            if (vexatool::WantsHelp(argc - 1, argv + 1)) return vexatool::PrintHelp(c.name);
            return c.run(argc - 1, argv + 1);
        }
        std::fprintf(stderr, "vexa-tool: no command \"%s\"\n", argv[1]);
    }
    ListCommands(stderr);
    return 2;
}
