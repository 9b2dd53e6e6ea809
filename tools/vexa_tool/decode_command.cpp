#include "commands.h"

#include <cstdio>

namespace vexatool {

int RunDecode(int, char**) {
    std::fputs("vexa-tool decode: not available yet\n", stderr);
    return 2;
}

}  // namespace vexatool
