// vexa-tool check [--tolerance N] [--join N] [--smear N] [--preview OUT.png] FILE.VX
// [--against OTHER.VX ...]: authoring checks, as JSON. Exit status: 0 clean
// (notes allowed), 1 findings or the file does not load, 2 bad usage.
#include "commands.h"
#include "input_files.h"
#include "measure_options.h"
#include "preview.h"
#include "puzzle_check.h"
#include "usage.h"

#include "puzzle/puzzle_file.h"

#include "authoring/shift_jis.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace vexatool {

namespace {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Utf8(const std::string& shiftJis) {
    return JsonString(vexa::authoring::FromShiftJis(shiftJis.data(), shiftJis.size()).toStdString());
}

std::string SectionOf(const vexa::TPuzzleData& puzzle) {
    return std::string(puzzle.SectionName, ::strnlen(puzzle.SectionName, sizeof puzzle.SectionName));
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The settings file keeps one result line per section name as it matches
// them, so two puzzles whose names match share, and overwrite, one result.
void CheckSectionsAgainst(const std::string& path, const std::string& section, const std::vector<std::string>& others,
                          std::vector<Finding>& findings) {
    static vexa::TPuzzleData other;
    for (const std::string& otherPath : others) {
        if (SameFile(path, otherPath)) continue;
        vexa::TPuzzleSideValues side;
        other.Reset();
        if (const vexa::TLoadError error = LoadPuzzleInput(other, side, otherPath); error != vexa::TLoadError::None) {
            findings.push_back({"other_does_not_load", "\"file\":" + JsonString(otherPath) +
                                                           ",\"error\":" + JsonString(vexa::LoadErrorText(error)) +
                                                           ",\"error_name\":" + JsonString(vexa::LoadErrorName(error))});
            continue;
        }
        const std::string otherSection = SectionOf(other);
        if (!SectionNamesMatch(section, otherSection)) continue;
        findings.push_back({otherSection == section ? "section_shared" : "section_case_clash",
                            "\"file\":" + JsonString(otherPath) + ",\"section\":" + Utf8(section) +
                                ",\"other_section\":" + Utf8(otherSection)});
    }
}

// As JSON: "[]", or one finding a line.
std::string FindingList(const std::vector<Finding>& findings) {
    std::string out = "[";
    for (std::size_t i = 0; i < findings.size(); ++i)
        out += std::string(i ? "," : "") + "\n  {\"kind\": \"" + findings[i].kind + "\", " + findings[i].json + "}";
    return out + (findings.empty() ? "]" : "\n]");
}

}  // namespace

int RunCheck(int argc, char** argv) {
    std::string path;
    std::vector<std::string> others;
    bool against = false;
    CheckOptions options;
    std::string preview;
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        int* target = nullptr;
        int high = 0;
        std::string problem;
        const OptionUse use = TakeMeasureOption(argc, argv, i, options.measure, nullptr, problem);
        if (use == OptionUse::Bad) return BadUsage("check", problem);
        if (use == OptionUse::Taken) continue;
        if (OptionValue(argc, argv, i, "--smear", value)) {
            target = &options.smear, high = 32767;
        } else if (OptionValue(argc, argv, i, "--preview", value)) {
            if (value == nullptr || *value == '\0') return BadUsage("check", "--preview needs a file name");
            preview = value;
            continue;
        } else if (std::strcmp(argv[i], "--against") == 0) {
            against = true;
            continue;
        } else if (IsOption(argv[i])) {
            return BadUsage("check", std::string("unknown option ") + argv[i]);
        } else if (against) {
            others.push_back(argv[i]);
            continue;
        } else if (path.empty()) {
            path = argv[i];
            continue;
        } else {
            return BadUsage("check", std::string("one puzzle file at a time (then --against others): ") + argv[i]);
        }
        if (value == nullptr || !ParseWhole(value, 0, high, *target))
            return BadUsage("check", std::string(argv[i]) + " needs a whole number from 0 to " + std::to_string(high));
    }
    if (path.empty()) return BadUsage("check", "no puzzle file given");
    if (against && others.empty()) return BadUsage("check", "--against needs puzzle files");

    static vexa::TPuzzleData puzzle;  // large; kept off the stack
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    puzzle.Reset();
    if (const vexa::TLoadError error = LoadPuzzleInput(puzzle, side, path, &sources); error != vexa::TLoadError::None) {
        std::printf("{\"error\": \"%s\", \"error_name\": \"%s\"%s}\n", vexa::LoadErrorText(error),
                    vexa::LoadErrorName(error), LoadErrorHintJson(error).c_str());
        return 1;
    }
    CheckMarks marks;
    std::vector<Finding> found = CheckPuzzle(puzzle, sources, options, &marks);
    CheckSectionsAgainst(path, SectionOf(puzzle), others, found);
    std::vector<Finding> findings, notes;
    for (Finding& f : found) (f.note ? notes : findings).push_back(std::move(f));
    std::printf("{\"clean\": %s, \"findings\": %s", findings.empty() ? "true" : "false",
                FindingList(findings).c_str());
    if (!notes.empty()) std::printf(", \"notes\": %s", FindingList(notes).c_str());
    std::printf("}\n");
    std::fflush(stdout);
    if (!preview.empty() && !WritePreview(preview, marks.photo, marks.rects, marks.uncovered, marks.weak)) return 1;
    return findings.empty() ? 0 : 1;
}

}  // namespace vexatool
