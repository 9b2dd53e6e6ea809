#include "app/command_line.h"

#include <cstring>

#ifndef VEXA_VERSION
#define VEXA_VERSION "0"
#endif

namespace vexa {

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
    TCommandLine line;
    if (argc < 2 || argv[1] == nullptr) return line;
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        line.Request = TCommandLine::Help;
    } else if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        line.Request = TCommandLine::Version;
    } else {
        line.PendingFile = QByteArray(argv[1]);  // further arguments are ignored
    }
    return line;
}

std::string CommandLineAnswer(TCommandLine::TRequest request) {
    if (request == TCommandLine::Version) return "vexa " VEXA_VERSION "\n";
    if (request == TCommandLine::Help)
        return "Usage: vexa [FILE.VX]\n"
               "Spot-the-difference puzzle player. FILE.VX, when given, is loaded at start\n"
               "after the ready question; any further arguments are ignored.\n"
               "\n"
               "  --help      show this text and exit (only as the sole argument)\n"
               "  --version   show the version and exit (only as the sole argument)\n"
               "\n"
               "Manual: vexa(6), and the help window (F1).\n";
    return {};
}

}  // namespace vexa
