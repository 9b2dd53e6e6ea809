#include "shift_jis.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace vexa::authoring {

QString FromShiftJis(const char* bytes, std::size_t width) {
    QStringDecoder decoder("Shift_JIS");
    return decoder(QByteArrayView(bytes, static_cast<qsizetype>(::strnlen(bytes, width))));
}

std::optional<std::string> ToShiftJis(const QString& text) {
    QStringEncoder encoder("Shift_JIS");
    const QByteArray bytes = encoder(text);
    if (encoder.hasError()) return std::nullopt;
    // A round trip shows characters that were silently replaced.
    if (FromShiftJis(bytes.constData(), static_cast<std::size_t>(bytes.size())) != text) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace vexa::authoring
