// Shift-JIS <-> Unicode for the texts of puzzle files.
#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>

namespace vexa::authoring {

// The bytes up to the first zero byte (at most `width`), decoded.
QString FromShiftJis(const char* bytes, std::size_t width);

// The text in Shift-JIS, or nothing when a character has no Shift-JIS form.
std::optional<std::string> ToShiftJis(const QString& text);

}  // namespace vexa::authoring
