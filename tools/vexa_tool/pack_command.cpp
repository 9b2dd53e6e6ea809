#include "commands.h"

#include <cstdio>

namespace vexatool {

int RunPack(int, char**) {
    std::fputs("vexa-tool pack: not available yet\n", stderr);
    return 2;
}

}  // namespace vexatool
