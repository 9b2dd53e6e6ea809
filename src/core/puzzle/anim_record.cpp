#include "puzzle/anim_record.h"

namespace vexa {

TAnimRecord ReadAnimRecord(const std::uint8_t* p) {
    auto field = [p](int i) { return static_cast<std::int16_t>(p[2 * i] | (p[2 * i + 1] << 8)); };
    return TAnimRecord{field(0), field(1), field(2), field(3), field(4), field(5), field(6)};
}

void WriteAnimRecord(std::uint8_t* p, const TAnimRecord& r) {
    for (std::int16_t v : {r.Command, r.SourceX, r.SourceY, r.DestX, r.DestY, r.Width, r.Height}) {
        const auto u = static_cast<std::uint16_t>(v);
        *p++ = static_cast<std::uint8_t>(u);
        *p++ = static_cast<std::uint8_t>(u >> 8);
    }
}

void AppendAnimRecord(std::vector<std::uint8_t>& table, const TAnimRecord& r) {
    const std::size_t at = table.size();
    table.resize(at + kAnimRecordBytes);
    WriteAnimRecord(table.data() + at, r);
}

}  // namespace vexa
