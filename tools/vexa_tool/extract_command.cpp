#include "commands.h"

#include <cstdio>

namespace vexatool {

int RunExtract(int, char**) {
    std::fputs("vexa-tool extract: not available yet\n", stderr);
    return 2;
}

}  // namespace vexatool
