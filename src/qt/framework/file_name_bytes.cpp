#include "framework/file_name_bytes.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <dirent.h>

#include <memory>

namespace vexa {

namespace {

// The entry of folder `dir` (bytes) whose name Qt shows as `shown`.
QByteArray FindEntry(const QByteArray& dir, const QString& shown) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.isEmpty() ? "/" : dir.constData()), ::closedir);
    if (!d) return {};
    while (const dirent* e = ::readdir(d.get())) {
        const QByteArray name(e->d_name);
        if (QFile::decodeName(name) == shown) return name;
    }
    return {};
}

}  // namespace

QByteArray NameBytesOf(const QString& path) {
    const QByteArray plain = QFile::encodeName(path);
    if (!path.contains(QChar::ReplacementCharacter) || !path.startsWith(QLatin1Char('/'))) return plain;
    QByteArray resolved;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QByteArray name = QFile::encodeName(part);
        if (part.contains(QChar::ReplacementCharacter)) {
            const QByteArray found = FindEntry(resolved, part);
            if (found.isEmpty()) return plain;
            name = found;
        }
        resolved += '/';
        resolved += name;
    }
    return resolved;
}

QList<QByteArray> LocalFileBytes(const QMimeData* mime) {
    QList<QByteArray> files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        // The encoded path keeps bytes that are not UTF-8 as %XX.
        files << QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    }
    return files;
}

}  // namespace vexa
