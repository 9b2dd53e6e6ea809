#include "commands.h"

#include <cstdio>

namespace vexatool {

int RunCheck(int, char**) {
    std::fputs("vexa-tool check: not available yet\n", stderr);
    return 2;
}

}  // namespace vexatool
