// Runs the built vexa-tool through QProcess, keeping its exit status, output
// and error output apart.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace tooltest {

struct ToolRun {
    int status;
    QByteArray out, err;
};

// A run that does not finish in time is killed and counts as a failure.
inline ToolRun Tool(const QStringList& args, int timeoutMs = 120000) {
    QProcess p;
    p.start(QStringLiteral(VEXA_BINARY_DIR "/vexa-tool"), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, "did not finish"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

}  // namespace tooltest
