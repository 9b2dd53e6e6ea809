// The player's command line: at most one puzzle file, the first argument
// after the program; `--help` or `--version` as the only argument ask for a
// short usage or the version instead of a run.
#pragma once

#include <QByteArray>

#include <string>

namespace vexa {

struct TCommandLine {
    enum TRequest { Run, Help, Version };
    TRequest Request = Run;
    QByteArray PendingFile;  // bytes as given; empty when none
};

TCommandLine ParseCommandLine(int argc, const char* const* argv);

// The text printed for Help or Version (ends with a line feed).
std::string CommandLineAnswer(TCommandLine::TRequest request);

}  // namespace vexa
