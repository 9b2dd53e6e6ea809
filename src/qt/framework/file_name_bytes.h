// File names are bytes. Qt holds them as text, which loses bytes that are
// not UTF-8 (a Shift-JIS name, say); these helpers get the bytes back.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QMimeData;

namespace vexa {

// The bytes of the existing file that Qt shows as `path`. A name that did
// not survive the trip into text is looked up in its folder (each folder on
// the way likewise); a path that names nothing is simply encoded.
QByteArray NameBytesOf(const QString& path);

// The local files of a drop, each name as bytes, in the order dropped.
QList<QByteArray> LocalFileBytes(const QMimeData* mime);

}  // namespace vexa
