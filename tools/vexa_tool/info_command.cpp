#include "commands.h"

#include <cstdio>

namespace vexatool {

int RunInfo(int, char**) {
    std::fputs("vexa-tool info: not available yet\n", stderr);
    return 2;
}

}  // namespace vexatool
