// vexa-tool make: its exit statuses, and that the puzzle it writes is the
// same for the same seed and passes `check` and `diff`.
#include "tool_process.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

using tooltest::ToolRun;

// A small picture with a few objects on a textured ground.
QString WritePhoto(const QTemporaryDir& dir) {
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(170 + (x * 7 + y * 13) % 9, 160 + y / 10, 140 + (x * 5) % 7));
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QPoint(70, 70), 22, 22);
    p.setBrush(QColor(40, 60, 200));
    p.drawRect(200, 40, 50, 36);
    p.setBrush(QColor(40, 160, 60));
    p.drawEllipse(QPoint(90, 180), 26, 18);
    p.setBrush(QColor(240, 210, 40));
    p.drawRect(220, 160, 30, 40);
    p.end();
    const QString path = dir.filePath("photo.png");
    image.save(path);
    return path;
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(MakeCommand, SameSeedSameFileAndItIsClean) {
    QTemporaryDir dir;
    const QString photo = WritePhoto(dir);
    const QString a = dir.filePath("a.VX"), b = dir.filePath("b.VX"), preview = dir.filePath("p.png");
    const ToolRun made = tooltest::Tool({"make", photo, "-o", a, "--differences", "3", "--seed", "42", "--preview",
                                         preview});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.contains("seed 42")) << made.out.toStdString();
    EXPECT_EQ(tooltest::Tool({"make", photo, "-o", b, "--differences=3", "--seed=42"}).status, 0);
    EXPECT_EQ(Read(a), Read(b));
    EXPECT_FALSE(QImage(preview).isNull());
    const ToolRun check = tooltest::Tool({"check", a});
    EXPECT_EQ(check.status, 0) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains("\"clean\": true")) << check.out.toStdString();
    // Without a seed one is drawn and printed.
    const ToolRun drawn = tooltest::Tool({"make", photo, "--out-dir", dir.filePath("set"), "--differences", "3"});
    EXPECT_EQ(drawn.status, 0) << drawn.err.toStdString();
    EXPECT_TRUE(drawn.out.contains("seed ")) << drawn.out.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("set/photo.VX")));
}

TEST(MakeCommand, ExitStatuses) {
    QTemporaryDir dir;
    const QString photo = WritePhoto(dir), out = dir.filePath("o.VX");
    const QStringList bad[] = {
        {"make"},
        {"make", photo},
        {"make", photo, "-o", out, "--out-dir", dir.path()},
        {"make", photo, photo, "-o", out},
        {"make", photo, "-o", out, "--differences", "2"},
        {"make", photo, "-o", out, "--differences", "11"},
        {"make", photo, "-o", out, "--difficulty", "medium"},
        {"make", photo, "-o", out, "--seed", "-1"},
        {"make", photo, "-o", out, "--colour"},
    };
    for (const QStringList& args : bad) EXPECT_EQ(tooltest::Tool(args).status, 2) << args.join(' ').toStdString();
    QImage small(90, 90, QImage::Format_RGB32);
    small.fill(Qt::red);
    small.save(dir.filePath("small.png"));
    QImage flat(400, 300, QImage::Format_RGB32);
    flat.fill(QColor(120, 120, 120));
    flat.save(dir.filePath("flat.png"));
    const struct {
        QString photo;
        const char* says;
    } unusable[] = {{dir.filePath("small.png"), "too small"},
                    {dir.filePath("flat.png"), "too flat"},
                    {dir.filePath("none.png"), "unreadable"}};
    for (const auto& u : unusable) {
        const ToolRun run = tooltest::Tool({"make", u.photo, "-o", out, "--seed", "1"});
        EXPECT_EQ(run.status, 1) << u.says;
        EXPECT_TRUE(run.err.contains(u.says)) << run.err.toStdString();
    }
    EXPECT_EQ(tooltest::Tool({"make", photo, "-o", out, "--title", QString(60, 'x')}).status, 1);
}

}  // namespace
