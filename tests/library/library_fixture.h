// A scratch folder for the list's tests, and puzzle files written into it
// from vx_builder recipes.
#pragma once

#include "vx_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>
#include <iterator>
#include <string>

namespace vexa::testing {

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vexa-library-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Path(const std::string& relative) const { return (dir_ / relative).string(); }
    std::string Put(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path p = dir_ / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    std::string PutPuzzle(const std::string& relative, const vxtest::Recipe& recipe) const {
        const vxtest::Bytes bytes = vxtest::Build(recipe).bytes;
        return Put(relative, std::string(bytes.begin(), bytes.end()));
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path dir_;
};

// Puts the named environment variables back as they were.
class SavedEnvironment {
public:
    explicit SavedEnvironment(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            const char* v = std::getenv(n);
            saved_.push_back({n, v ? std::optional<std::string>(v) : std::nullopt});
        }
    }
    ~SavedEnvironment() {
        for (const auto& [n, v] : saved_) {
            if (v) ::setenv(n, v->c_str(), 1);
            else ::unsetenv(n);
        }
    }
    SavedEnvironment(const SavedEnvironment&) = delete;
    SavedEnvironment& operator=(const SavedEnvironment&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// A puzzle with `diffs` differences, a title and section of its own and a
// 4 x 3 photo of one colour.
inline vxtest::Recipe NamedRecipe(const std::string& title, const std::string& section, std::uint32_t colour,
                                  int diffs = 3) {
    vxtest::Recipe r;
    r.title = std::string(title) + '\0';
    r.section = std::string(section) + '\0';
    r.diffCount = static_cast<std::int16_t>(diffs);
    r.rects.assign(static_cast<std::size_t>(diffs), {0, 0, 1, 1});
    r.pictures[8].block = vxtest::Dib24(4, 3, std::vector<std::uint32_t>(12, colour));
    return r;
}

}  // namespace vexa::testing
