// The subcommands of vexa-tool. Each returns the process exit status; --help
// is answered before they run (usage.h).
#pragma once

namespace vexatool {

int RunDecode(int argc, char** argv);
int RunInfo(int argc, char** argv);
int RunExtract(int argc, char** argv);
int RunPack(int argc, char** argv);
int RunJudge(int argc, char** argv);
int RunCheck(int argc, char** argv);
int RunDiff(int argc, char** argv);
int RunMake(int argc, char** argv);

}  // namespace vexatool
