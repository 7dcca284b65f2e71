#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <string>

#include "common/FileReader.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

// The whole file through reads of `piece` bytes; the first error ends it.
int readAll(FileReader& file, std::size_t piece, std::string& bytes) {
    std::string buffer(piece, '\0');
    for (;;) {
        std::size_t got = 0;
        const int error = file.read(buffer.data(), piece, got);
        bytes.append(buffer, 0, got);
        if (error != 0 || got < piece) {
            return error;
        }
    }
}

TEST(FileReader, GivesTheBytesOrTheSystemsError) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("data"), QByteArray("a\0bcdefg", 8));
    writeBytes(dir.filePath("empty"), {});
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
    struct Case {
        QString name;
        int error;
        std::string bytes;
    };
    const Case cases[] = {{dir.filePath("data"), 0, std::string("a\0bcdefg", 8)},
                          {dir.filePath("empty"), 0, {}},
                          // No writer: the open must not wait for one.
                          {dir.filePath("pipe"), 0, {}},
                          {dir.filePath("folder"), EISDIR, {}},
                          {dir.filePath("missing"), ENOENT, {}},
                          {dir.filePath("data/below"), ENOTDIR, {}},
                          {QString(), ENOENT, {}}};
    for (const Case& c : cases) {
        for (const std::size_t piece : {1, 3, 8, 4096}) {
            FileReader file(c.name);
            const int opened = file.open();
            EXPECT_EQ(opened, c.error) << c.name.toStdString();
            std::string bytes;
            if (opened == 0) {
                EXPECT_EQ(readAll(file, piece, bytes), 0) << c.name.toStdString();
                EXPECT_EQ(file.size(), c.bytes.size());
            }
            EXPECT_EQ(bytes, c.bytes) << c.name.toStdString() << " in pieces of " << piece;
        }
    }
}

// Another program rewriting the file meanwhile: an error, never a crash or a silent mix.
TEST(FileReader, AFileThatChangesSizeWhileReadIsReported) {
    QTemporaryDir dir;
    const QString path = dir.filePath("table.points");
    const QByteArray original(100000, 'x');
    struct Case {
        const char* name;
        QByteArray rewritten;
    };
    const Case cases[] = {
        {"shrunk", original.left(10)}, {"emptied", {}}, {"grown", original + "more"}};
    for (const Case& c : cases) {
        writeBytes(path, original);
        FileReader file(path);
        ASSERT_EQ(file.open(), 0);
        std::string start(10, '\0');
        std::size_t got = 0;
        ASSERT_EQ(file.read(start.data(), start.size(), got), 0);
        QFile rewrite(path);
        ASSERT_TRUE(rewrite.open(QIODevice::ReadWrite));
        ASSERT_TRUE(rewrite.resize(0));
        ASSERT_EQ(rewrite.write(c.rewritten), c.rewritten.size());
        rewrite.close();
        std::string rest;
        EXPECT_EQ(readAll(file, 4096, rest), FileReader::kChanged) << c.name;
    }
}

TEST(FileReader, ChangedMessageShowsTheName) {
    EXPECT_EQ(FileReader::changedMessage(QStringLiteral("a\tb.points")),
              QStringLiteral("Файл «a\\u0009b.points» изменился, пока его читали: прочитайте его "
                             "снова, когда другая программа закончит его записывать"));
}

}  // namespace

}  // namespace zelkora
