// Files a fuzz target has been or should be fed: its seed corpus and the
// findings kept under fuzz/crashers/<target>/. Replay tests run each through
// the target's own checks, one named test per file.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace vexatest {

struct ReplayFile {
    std::string Name;  // a test name: "corpus_" or "crasher_" and the file name, made an identifier
    std::filesystem::path Path;
};

// gtest prints the parameter of a failing test with this.
inline void PrintTo(const ReplayFile& file, std::ostream* os) {
    *os << file.Path.lexically_relative(VEXA_SOURCE_DIR).string();
}

inline std::vector<ReplayFile> FuzzReplayFiles(const std::string& corpus, const std::string& target) {
    const std::filesystem::path root = VEXA_SOURCE_DIR "/fuzz";
    std::vector<ReplayFile> files;
    const auto add = [&](const std::string& kind, const std::filesystem::path& dir) {
        if (!std::filesystem::is_directory(dir)) return;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string file = entry.path().filename().string();
            if (!entry.is_regular_file() || file == "README.md" || file[0] == '.') continue;
            std::string name = kind + "_" + file;
            for (char& c : name)
                if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
            files.push_back({name, entry.path()});
        }
    };
    add("corpus", root / "corpus" / corpus);
    add("crasher", root / "crashers" / target);
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    return files;
}

inline std::vector<std::uint8_t> ReadReplayFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// For INSTANTIATE_TEST_SUITE_P: the file's test name.
struct ReplayFileName {
    template <class ParamInfo>
    std::string operator()(const ParamInfo& info) const {
        return info.param.Name;
    }
};

}  // namespace vexatest
