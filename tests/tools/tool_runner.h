// Runs the built vexa-tool as a process and collects what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tooltest {

struct Outcome {
    int Exit = -1;
    std::string Out;
};

// `args` are shell words, already quoted where needed; stderr is dropped.
inline Outcome RunTool(const std::string& args) {
    const std::string command = std::string(VEXA_BINARY_DIR) + "/vexa-tool " + args + " 2>/dev/null";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return outcome;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) outcome.Out += buffer;
    const int status = ::pclose(pipe);
    outcome.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

}  // namespace tooltest
