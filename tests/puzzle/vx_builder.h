// Builds .VX bytes unit by unit, for loader tests that need files the record
// cannot express (odd header lengths, negative counts, cut files). Each unit's
// byte range is remembered with the error a file cut inside it must give.
#pragma once

#include "picture_builders.h"
#include "puzzle/puzzle_file.h"
#include "puzzle/puzzle_writer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vxtest {

using Bytes = std::vector<std::uint8_t>;

struct Entry {
    std::int32_t S = 0;
    Bytes block;                       // empty: L = 0, picture absent
    std::optional<std::int32_t> L;     // stored length when it must differ from block.size()
};

struct Recipe {
    std::string header{vexa::kPuzzleHeader};  // n = 10
    std::string title{"Title", 6};            // zero byte inside n
    std::string section{"Sec\x82\xA0", 6};
    std::string extra{"extra", 6};
    std::optional<std::int16_t> textLength;   // overrides the title's stored n
    std::int16_t value1 = 7, value2 = -8;
    std::int16_t diffCount = 2;
    std::vector<std::array<std::int16_t, 4>> rects{{1, 2, 30, 40}, {-5, 6, 70, 80}};
    std::array<std::int16_t, 20> counts{};
    std::array<Bytes, 20> tables;             // written for every nonempty entry
    std::array<std::array<std::int16_t, 2>, 5> sizes{{{2, 2}, {0, 0}, {0, 0}, {0, 0}, {3, 1}}};
    std::array<Entry, 10> pictures;
};

struct Zone {
    std::size_t begin, end;
    vexa::TLoadError error;  // what a file that ends inside [begin, end) yields
};

struct Built {
    Bytes bytes;
    std::vector<Zone> zones;
};

// A 24-bit bottom-up DIB, `rgb` holding width*height pixels top row first.
inline Bytes Dib24(int width, int height, const std::vector<std::uint32_t>& rgb) {
    return vexa::test::Dib24(width, height, rgb);
}

// Two tables, absent pictures, a 2x2 and a 3x1 bitmap and a JPEG entry without a scan.
inline Recipe SampleRecipe() {
    Recipe s;
    s.counts[0] = 2;
    s.tables[0] = Bytes(28);
    for (int i = 0; i < 28; ++i) s.tables[0][i] = static_cast<std::uint8_t>(i * 7);
    s.tables[0][0] = 'C';
    s.counts[7] = 1;
    s.tables[7] = {'W', 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0};
    s.pictures[0].block = Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456});
    s.pictures[8].block = Dib24(3, 1, {0x010203, 0xA0B0C0, 0xFFFFFF});
    s.pictures[3] = {4, {0xFF, 0xD8, 0xFF, 0xD9}, {}};  // a JPEG stream that ends before any scan
    return s;
}

inline Built Build(const Recipe& s) {
    Built out;
    Bytes& b = out.bytes;
    auto zone = [&](std::size_t begin, vexa::TLoadError error) { out.zones.push_back({begin, b.size(), error}); };
    std::size_t at = b.size();
    vexa::AppendTextBlock(b, s.header);
    zone(at, vexa::TLoadError::DiskError);
    at = b.size();
    if (s.textLength) {
        vexa::AppendI16(b, *s.textLength);
        b.insert(b.end(), s.title.begin(), s.title.end());
    } else {
        vexa::AppendTextBlock(b, s.title);
    }
    vexa::AppendTextBlock(b, s.section);
    vexa::AppendTextBlock(b, s.extra);
    vexa::AppendI16(b, s.value1);
    vexa::AppendI16(b, s.value2);
    vexa::AppendI16(b, s.diffCount);
    for (const auto& r : s.rects)
        for (std::int16_t v : r) vexa::AppendI16(b, v);
    for (std::int16_t c : s.counts) vexa::AppendI16(b, c);
    zone(at, vexa::TLoadError::DiskError);
    for (const Bytes& t : s.tables) {
        at = b.size();
        b.insert(b.end(), t.begin(), t.end());
        if (b.size() > at) zone(at, vexa::TLoadError::NoMemory);
    }
    at = b.size();
    for (const auto& size : s.sizes)
        for (std::int16_t v : size) vexa::AppendI16(b, v);
    zone(at, vexa::TLoadError::DiskError);
    for (const Entry& e : s.pictures) {
        at = b.size();
        vexa::AppendI32(b, e.S);
        zone(at, vexa::TLoadError::DiskError);
        at = b.size();
        vexa::AppendI32(b, e.L.value_or(static_cast<std::int32_t>(e.block.size())));
        b.insert(b.end(), e.block.begin(), e.block.end());
        zone(at, vexa::TLoadError::NoMemory);
    }
    return out;
}

}  // namespace vxtest
