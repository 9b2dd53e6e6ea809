// File names that are not UTF-8 (here Shift-JIS "間違.VX") keep their bytes
// on the way through drops and the open dialog's answer.
#include "framework/file_name_bytes.h"

#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace vexa {
namespace {

const QByteArray kShiftJisName("\x8a\xd4\x88\xe1.VX");

// Creates `dir`/`name` with the name's bytes as they are.
bool Touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

TEST(FileNameBytes, DropsAndDialogNamesKeepBytesThatAreNotUtf8) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray path = folder + '/' + kShiftJisName;
    ASSERT_TRUE(Touch(path));
    ASSERT_TRUE(Touch(folder + "/plain.VX"));

    QMimeData mime;
    mime.setData("text/uri-list", "file://" + folder.toPercentEncoding("/") + "/%8A%D4%88%E1.VX\r\n" +
                                      "file://" + folder.toPercentEncoding("/") + "/plain.VX\r\n" +
                                      "https://example.org/remote.VX\r\n");
    EXPECT_EQ(LocalFileBytes(&mime), (QList<QByteArray>{path, folder + "/plain.VX"}));

    struct Case {
        const char* name;
        QString have;
        QByteArray want;
    };
    const Case cases[] = {
        {"a name Qt shows with replacement characters", QFile::decodeName(path), path},
        {"a plain name", QFile::decodeName(folder + "/plain.VX"), folder + "/plain.VX"},
        {"a name that does not exist", dir.path() + QStringLiteral("/\uFFFD.VX"),
         QFile::encodeName(dir.path() + QStringLiteral("/\uFFFD.VX"))},
    };
    for (const Case& c : cases) EXPECT_EQ(NameBytesOf(c.have), c.want) << c.name;
}

}  // namespace
}  // namespace vexa
