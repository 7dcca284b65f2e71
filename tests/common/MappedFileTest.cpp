#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>

#include "common/MappedFile.h"
#include "tests/support/TestFiles.h"

namespace {

TEST(MappedFile, GivesTheBytesOrTheSystemsError) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("data"), QByteArray("a\0b", 3));
    writeBytes(dir.filePath("empty"), {});
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    struct Case {
        QString name;
        int error;
        std::string_view bytes;
    };
    const Case cases[] = {{dir.filePath("data"), 0, std::string_view("a\0b", 3)},
                          {dir.filePath("empty"), 0, {}},
                          {dir.filePath("folder"), EISDIR, {}},
                          {dir.filePath("missing"), ENOENT, {}},
                          {dir.filePath("data/below"), ENOTDIR, {}},
                          {QString(), ENOENT, {}}};
    for (const Case& c : cases) {
        MappedFile file(c.name);
        EXPECT_EQ(file.open(), c.error) << c.name.toStdString();
        EXPECT_EQ(file.bytes(), c.bytes) << c.name.toStdString();
    }
}

}  // namespace
