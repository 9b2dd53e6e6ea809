#include "measure_options.h"

#include "usage.h"

namespace vexatool {

OptionUse TakeMeasureOption(int argc, char** argv, int& i, vexa::authoring::MeasureSettings& settings, int* margin,
                            std::string& problem) {
    const char* value = nullptr;
    int* target = nullptr;
    int high = 0;
    const char* name = argv[i];
    if (OptionValue(argc, argv, i, "--min-area", value)) {
        target = &settings.minArea, high = 1 << 26;
    } else if (margin && OptionValue(argc, argv, i, "--margin", value)) {
        target = margin, high = 32767;
    } else if (OptionValue(argc, argv, i, "--tolerance", value)) {
        target = &settings.tolerance, high = 255;
    } else if (OptionValue(argc, argv, i, "--join", value)) {
        target = &settings.join, high = 32767;
    } else {
        return OptionUse::NotOurs;
    }
    if (value != nullptr && ParseWhole(value, 0, high, *target)) return OptionUse::Taken;
    problem = std::string(name) + " needs a whole number from 0 to " + std::to_string(high);
    return OptionUse::Bad;
}

}  // namespace vexatool
