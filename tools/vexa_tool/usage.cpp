#include "usage.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <system_error>

namespace vexatool {

namespace {

constexpr CommandUsage kUsages[] = {
    {"decode", "decode IN.jpg OUT.png|OUT.ppm|OUT.bmp",
     "Runs the player's own JPEG decoder on IN.jpg, prints \"result N\" (its result code)\n"
     "and writes the bitmap it produced; the format follows OUT's extension.\n"
     "Exit status: 0 decoded, 1 not decoded or a file cannot be read or written, 2 bad usage.\n"},
    {"info", "info [--pretty] FILE.VX",
     "Prints the loaded puzzle as one JSON object: texts, rectangles, table sizes, pair\n"
     "sizes, pictures, and which pair shows which result.\n"
     "  --pretty   indent the JSON\n"
     "Exit status: 0 shown, 1 the file does not load, 2 bad usage.\n"},
    {"extract", "extract FILE.VX DIR",
     "Writes every present picture as DIR/pair<k>-base.png and DIR/pair<k>-spare.png.\n"
     "Exit status: 0 written, 1 the file does not load or a picture cannot be written, 2 bad usage.\n"},
    {"pack", "pack [--allow-incomplete] [--strict] MANIFEST.json OUT.VX",
     "Builds a puzzle file from a JSON manifest (format in the README). A fault stops it with\n"
     "a message that starts with the field at fault. \"diffs\": \"auto\" takes the rectangles\n"
     "that `vexa-tool diff` finds between pair 0's and pair 4's base pictures as they are\n"
     "stored. Then it checks the file as `vexa-tool check` does and prints what it finds on\n"
     "standard error as warnings (and weak changes as notes).\n"
     "  --allow-incomplete   write the file even when a pair has no base picture (the player\n"
     "                       cannot show such a puzzle to the end)\n"
     "  --strict             a warning fails: the file is removed and the exit status is 1\n"
     "Exit status: 0 written, 1 a fault in the manifest or its pictures (or a warning with\n"
     "--strict), 2 bad usage.\n"},
    {"judge", "judge FILE.VX --at X,Y [--at X,Y ...]",
     "Judges markers centred on the points (photo pixels, one per marker) as the player does\n"
     "and prints {\"found\": n, \"diff_count\": d, \"result\": r, \"result_name\": name}.\n"
     "Exit status: 0 judged, 1 the file does not load, 2 bad usage.\n"},
    {"check", "check [--join N] [--tolerance N] [--smear N] [--preview OUT.png] FILE.VX [--against OTHER.VX ...]",
     "Compares the scene (pair 0) and the photo (pair 4) as the player will show them and\n"
     "reports, as JSON, changes no rectangle covers or covers only in part, changes two\n"
     "rectangles split, rectangles without a change, pictures shifted against each other,\n"
     "and other authoring faults; weak changes (visible but faint) outside the rectangles\n"
     "are listed under \"notes\" and leave the puzzle clean. Changes are found as by diff.\n"
     "  --join N       changes fewer than N pixels apart are one; default 8\n"
     "  --tolerance N  the plain test instead: a pixel changed when one channel differs by\n"
     "                 more than N (0 to 255)\n"
     "  --smear N      pixels: where the scene or the photo is stored as JPEG, changed pixels\n"
     "                 up to N pixels outside a rectangle count as that rectangle's JPEG smear;\n"
     "                 default 8 (an 8x8 block)\n"
     "  --preview OUT.png  also draw the photo with the rectangles (yellow), what they miss\n"
     "                 (red, dashed) and the weak changes (cyan, dashed)\n"
     "  --against ...  other puzzles whose section names must differ from FILE's by more than\n"
     "                 ASCII case (the settings file would keep one result line for both)\n"
     "Exit status: 0 clean, 1 findings or the file does not load, 2 bad usage.\n"},
    {"diff", "diff SCENE PHOTO | FILE.VX [--min-area N] [--margin N] [--join N] [--tolerance N] [--preview OUT.png]",
     "Finds where two pictures of the same size differ as a person sees it (or the base\n"
     "pictures of a puzzle's pair 0 and pair 4, as the player shows them) and prints the\n"
     "rectangles as manifest JSON, {\"diffs\": [[left, top, right, bottom], ...]}, with\n"
     "\"weak\": [...] for changes that are visible but faint, and \"shift\": [dx, dy] when the\n"
     "whole photo is shifted against the scene (then no rectangles).\n"
     "Colours are compared as the eye sees them, on slightly smoothed pictures; clearly changed\n"
     "pixels start a change and faintly changed pixels touching it join it; JPEG noise and a\n"
     "uniform shift of brightness or colour are no change. Each rectangle is a change's\n"
     "bounding box grown by the margin and clamped to the picture; where two would overlap\n"
     "both are cut back between their changes.\n"
     "  --min-area N   fewest clearly changed pixels a change needs; default 8\n"
     "  --margin N     pixels added on every side; default 4\n"
     "  --join N       changes fewer than N pixels apart are one; default 8\n"
     "  --tolerance N  the plain test instead: a pixel changed when one channel differs by\n"
     "                 more than N (0 to 255)\n"
     "  --preview OUT.png  also draw the photo with the rectangles (yellow) and the weak\n"
     "                 changes (cyan, dashed)\n"
     "Exit status: 0 one to ten rectangles, 1 none, more than ten (all printed), a shift, or\n"
     "a picture cannot be read, 2 bad usage.\n"},
    {"make", "make PHOTO -o OUT.VX | PHOTO... --out-dir DIR [--differences N] [--difficulty easy|normal|hard] [--seed S] [--title TEXT] [--section NAME] [--preview OUT.png]",
     "Makes a puzzle from a photo: finds objects and patches worth changing, edits some of\n"
     "them (removes, recolours, copies, mirrors or enlarges an object, or removes a detail),\n"
     "keeps only edits that stay visible, seamless and inside their rectangle once both\n"
     "pictures are stored as JPEG, and writes the scene, the edited photo and three result\n"
     "screens made from the photo. Large photos are scaled down to the player's limit.\n"
     "  -o OUT.VX         the puzzle file to write (one photo)\n"
     "  --out-dir DIR     one puzzle per photo, DIR/NAME.VX\n"
     "  --differences N   3 to 10; default 7 (fewer are made, with a note, where no more fit)\n"
     "  --difficulty D    easy, normal (default) or hard: size, contrast and prominence\n"
     "  --seed S          the same photo, options and seed give the same file; without it a\n"
     "                    seed is drawn and printed\n"
     "  --title TEXT      default: the photo's file name (at most 51 bytes in Shift-JIS)\n"
     "  --section NAME    where the player keeps results; default: named from the photo's\n"
     "                    content and the options\n"
     "  --preview OUT.png the scene and the photo side by side with the rectangles\n"
     "Exit status: 0 made, 1 a photo cannot be used (unreadable, too small, too flat) or a\n"
     "file cannot be written, 2 bad usage.\n"},
};

const CommandUsage* Find(const char* command) {
    for (const CommandUsage& u : kUsages)
        if (std::strcmp(u.name, command) == 0) return &u;
    return nullptr;
}

}  // namespace

const CommandUsage* CommandUsages(int& count) {
    count = static_cast<int>(std::size(kUsages));
    return kUsages;
}

bool WantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

int PrintHelp(const char* command) {
    const CommandUsage* u = Find(command);
    std::printf("usage: vexa-tool %s\n\n%s", u->synopsis, u->details);
    return 0;
}

int BadUsage(const char* command, const std::string& problem) {
    const CommandUsage* u = Find(command);
    std::fprintf(stderr, "vexa-tool %s: %s\nusage: vexa-tool %s\n(vexa-tool %s --help tells more)\n", command,
                 problem.c_str(), u->synopsis, command);
    return 2;
}

bool ParseWhole(const char* text, int low, int high, int& value) {
    const char* end = text + std::strlen(text);
    int v = 0;
    const auto [stop, ec] = std::from_chars(text, end, v);
    if (ec != std::errc() || stop != end || text == end || v < low || v > high) return false;
    value = v;
    return true;
}

bool OptionValue(int argc, char** argv, int& i, const char* name, const char*& value) {
    const std::size_t n = std::strlen(name);
    if (std::strncmp(argv[i], name, n) != 0) return false;
    if (argv[i][n] == '=') {
        value = argv[i] + n + 1;
        return true;
    }
    if (argv[i][n] != '\0') return false;
    value = i + 1 < argc ? argv[++i] : nullptr;
    return true;
}

}  // namespace vexatool
