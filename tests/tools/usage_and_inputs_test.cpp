// What every vexa-tool command shares: --help, the exit status of bad usage,
// and refusing input files that are not regular files of bounded size.
#include "tool_process.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

using tooltest::ToolRun;

// A command that does not finish within a minute has hung on its input.
ToolRun Tool(const QStringList& args) { return tooltest::Tool(args, 60000); }

const char* const kCommands[] = {"decode", "info", "extract", "pack", "judge", "check", "diff", "make"};

TEST(ToolUsage, EveryCommandAnswersHelp) {
    for (const char* command : kCommands) {
        SCOPED_TRACE(command);
        for (const char* help : {"--help", "-h"}) {
            const ToolRun got = Tool({command, help});
            EXPECT_EQ(got.status, 0);
            EXPECT_TRUE(got.out.startsWith(QByteArray("usage: vexa-tool ") + command + " ")) << got.out.toStdString();
            EXPECT_TRUE(got.out.contains("Exit status")) << got.out.toStdString();
        }
        // Help wins over whatever else stands on the line.
        EXPECT_EQ(Tool({command, "/no/such/file", "--help"}).status, 0);
    }
    EXPECT_TRUE(Tool({"check", "--help"}).out.contains("--tolerance N"));
    const ToolRun all = Tool({"--help"});
    EXPECT_EQ(all.status, 0);
    for (const char* command : kCommands)
        EXPECT_TRUE(all.out.contains(QByteArray("vexa-tool ") + command + " ")) << command;
}

TEST(ToolUsage, BadUsageIsExitStatusTwo) {
    const QStringList cases[] = {
        {},
        {"unpack"},
        {"decode"},
        {"decode", "in.jpg"},
        {"info"},
        {"info", "--colour", "a.VX"},
        {"info", "a.VX", "b.VX"},
        {"extract", "a.VX"},
        {"pack", "m.json"},
        {"pack", "--fast", "m.json", "out.VX"},
        {"judge"},
        {"judge", "a.VX", "--at"},
        {"check"},
        {"check", "a.VX", "b.VX"},
        {"check", "--tolerance", "many", "a.VX"},
        {"check", "a.VX", "--tolerance"},
        {"check", "--smear=-1", "a.VX"},
        {"check", "a.VX", "--against"},
        {"diff"},
        {"diff", "a.png", "b.png", "c.png"},
        {"diff", "a.png", "b.png", "--margin", "-1"},
        {"diff", "a.png", "b.png", "--tolerance", "256"},
        {"diff", "a.png", "b.png", "--min-area"},
    };
    for (const QStringList& args : cases) {
        const ToolRun got = Tool(args);
        EXPECT_EQ(got.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(got.err.contains("usage: vexa-tool")) << args.join(' ').toStdString();
    }
}

TEST(ToolUsage, InfoPrettyIndentsTheSameObject) {
    const QString demo = QStringLiteral(VEXA_SOURCE_DIR "/resources/demo/demo.VX");
    const ToolRun compact = Tool({"info", demo});
    const ToolRun pretty = Tool({"info", "--pretty", demo});
    ASSERT_EQ(compact.status, 0);
    ASSERT_EQ(pretty.status, 0);
    EXPECT_EQ(compact.out.count('\n'), 1);
    EXPECT_TRUE(pretty.out.contains("\n    \"diff_count\": 7,\n")) << pretty.out.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(compact.out).object();
    EXPECT_EQ(QJsonDocument::fromJson(pretty.out).object(), o);
    // Each result beside its name and the pair that shows it.
    EXPECT_EQ(QJsonDocument(QJsonObject{{"r", o["result_screens"]}}).toJson(QJsonDocument::Compact),
              R"({"r":[{"pair":1,"result":204,"result_name":"few_found"},)"
              R"({"pair":2,"result":205,"result_name":"half_found"},)"
              R"({"pair":3,"result":206,"result_name":"all_found"}]})");
}

class ToolInputs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_EQ(::mkfifo(Path("fifo").toLocal8Bit().constData(), 0600), 0);
        // Sparse: one byte past the limit costs no disk.
        QFile big(Path("big.png"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(64 * 1024 * 1024 + 1));
        big.close();
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        ASSERT_TRUE(picture.save(Path("grey.png")));
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    void WriteManifest(const QString& picture) const {
        QFile f(Path("m.json"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(R"({"pairs": [{"base": ")") + picture.toUtf8() + R"("}]})");
    }

    QTemporaryDir dir_;
};

TEST_F(ToolInputs, DevicesFifosFoldersAndHugeFilesAreRefused) {
    struct Case {
        QString have;    // the input file
        QByteArray want; // in the message
    };
    const Case inputs[] = {
        {"/dev/zero", "a device, not a regular file"},
        {Path("fifo"), "a FIFO, not a regular file"},
        {dir_.path(), "a folder, not a regular file"},
    };
    for (const Case& c : inputs) {
        SCOPED_TRACE(c.have.toStdString());
        const QStringList runs[] = {
            {"decode", c.have, Path("out.png")},
            {"pack", c.have, Path("out.VX")},
            {"diff", c.have, Path("grey.png")},
            {"diff", Path("grey.png"), c.have},
            {"diff", c.have},
            {"info", c.have},
            {"extract", c.have, Path("x")},
            {"judge", c.have},
            {"check", c.have},
            {"check", QStringLiteral(VEXA_SOURCE_DIR "/resources/demo/demo.VX"), "--against", c.have},
        };
        for (const QStringList& args : runs) {
            const ToolRun got = Tool(args);
            EXPECT_EQ(got.status, 1) << args.join(' ').toStdString() << ": " << got.err.toStdString();
            EXPECT_TRUE(got.err.contains(c.want)) << args.join(' ').toStdString() << ": " << got.err.toStdString();
        }
        // A picture the manifest names.
        WriteManifest(c.have);
        const ToolRun pack = Tool({"pack", "--allow-incomplete", Path("m.json"), Path("out.VX")});
        EXPECT_EQ(pack.status, 1);
        EXPECT_TRUE(pack.err.startsWith("pairs[0].base: ")) << pack.err.toStdString();
        EXPECT_TRUE(pack.err.contains(c.want)) << pack.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path("out.VX")));
    }

    const QByteArray tooLarge = "larger than 64 MiB";
    for (const QStringList& args : {QStringList{"decode", Path("big.png"), Path("out.png")},
                                    QStringList{"diff", Path("big.png"), Path("grey.png")},
                                    QStringList{"pack", Path("big.png"), Path("out.VX")}}) {
        const ToolRun got = Tool(args);
        EXPECT_EQ(got.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(got.err.contains(tooLarge)) << got.err.toStdString();
    }
    WriteManifest(Path("big.png"));
    const ToolRun pack = Tool({"pack", "--allow-incomplete", Path("m.json"), Path("out.VX")});
    EXPECT_EQ(pack.status, 1);
    EXPECT_TRUE(pack.err.contains(tooLarge)) << pack.err.toStdString();
}

}  // namespace
