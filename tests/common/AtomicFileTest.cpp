#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "common/AtomicFile.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

class AtomicFileTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    void writeOld(const QString& name) const { writeBytes(path(name), "old contents"); }

    static mode_t modeOf(const QString& fileName) {
        struct stat st {};
        EXPECT_EQ(::stat(QFile::encodeName(fileName).constData(), &st), 0);
        return st.st_mode & 07777;
    }

    QStringList entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    }

    QTemporaryDir dir;
};

// Writes "new" through the descriptor or through the stream.
int writeNew(AtomicFile& file, bool throughStream) {
    if (!throughStream) {
        return file.write("new", 3);
    }
    std::FILE* out = file.stream();
    if (!out) {
        return errno;
    }
    return std::fputs("new", out) < 0 ? errno : 0;
}

TEST_F(AtomicFileTest, CommitPutsTheFileInPlaceWithTheRightMode) {
    struct Case {
        const char* name;
        mode_t oldMode;  // 0: no old file
        bool throughStream;
    };
    // An umask that would narrow the old modes below, so only an explicit chmod keeps them.
    const mode_t savedMask = ::umask(027);
    const Case cases[] = {{"new.dat", 0, false},
                          {"stream.dat", 0, true},
                          {"old.dat", 0604, false},
                          {"old-stream.dat", 0664, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.oldMode != 0) {
            writeOld(c.name);
            ASSERT_EQ(::chmod(QFile::encodeName(path(c.name)).constData(), c.oldMode), 0);
        }
        AtomicFile file(path(c.name));
        ASSERT_EQ(file.open(), 0);
        ASSERT_EQ(writeNew(file, c.throughStream), 0);
        ASSERT_EQ(file.commit(), 0);
        EXPECT_EQ(readBytes(path(c.name)), "new");
        EXPECT_EQ(modeOf(path(c.name)), c.oldMode != 0 ? c.oldMode : 0640);
    }
    ::umask(savedMask);
    EXPECT_EQ(entries(), (QStringList{"new.dat", "old-stream.dat", "old.dat", "stream.dat"}));
}

TEST_F(AtomicFileTest, WithoutCommitTheOldFileStaysWholeAndNothingIsLeft) {
    writeOld("keep.dat");
    for (const bool throughStream : {false, true}) {
        AtomicFile file(path("keep.dat"));
        ASSERT_EQ(file.open(), 0);
        ASSERT_EQ(writeNew(file, throughStream), 0);
        if (throughStream) {
            ASSERT_EQ(file.close(), 0);  // a closed file is still only the temporary one
        }
    }
    EXPECT_EQ(readBytes(path("keep.dat")), "old contents");
    EXPECT_EQ(entries(), QStringList{"keep.dat"});
}

TEST_F(AtomicFileTest, ThroughALinkThePointedToFileIsReplacedAndTheLinkKept) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    writeOld("real/data.dat");
    ASSERT_TRUE(QFile::link(path("real/data.dat"), path("link.dat")));
    AtomicFile file(path("link.dat"));
    ASSERT_EQ(file.open(), 0);
    EXPECT_EQ(QFileInfo(QString::fromLocal8Bit(file.target())).canonicalFilePath(),
              QFileInfo(path("real/data.dat")).canonicalFilePath());
    ASSERT_EQ(writeNew(file, false), 0);
    ASSERT_EQ(file.commit(), 0);
    EXPECT_TRUE(QFileInfo(path("link.dat")).isSymLink());
    EXPECT_EQ(readBytes(path("real/data.dat")), "new");
    // The temporary file was made beside the real file, not beside the link.
    EXPECT_EQ(entries(), (QStringList{"link.dat", "real"}));
    EXPECT_EQ(QDir(path("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"data.dat"});
}

// A relative link to a file not made yet: the file is made where the link points.
TEST_F(AtomicFileTest, ADanglingLinkGetsItsFileMade) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    ASSERT_EQ(::symlink("real/new.dat", QFile::encodeName(path("dangling.dat")).constData()), 0);
    AtomicFile file(path("dangling.dat"));
    ASSERT_EQ(file.open(), 0);
    ASSERT_EQ(writeNew(file, true), 0);
    ASSERT_EQ(file.commit(), 0);
    EXPECT_TRUE(QFileInfo(path("dangling.dat")).isSymLink());
    EXPECT_EQ(readBytes(path("real/new.dat")), "new");
}

TEST_F(AtomicFileTest, TargetsThatCannotBeCreatedReportTheirErrno) {
    struct Case {
        QString fileName;
        int error;
    };
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const Case cases[] = {
        {path("missing/file.dat"), ENOENT}, {QString(), ENOENT}, {path("folder"), EISDIR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName.toStdString());
        AtomicFile file(c.fileName);
        EXPECT_EQ(file.open(), c.error) << std::strerror(c.error);
    }
    EXPECT_EQ(entries(), QStringList{"folder"});
}

}  // namespace

}  // namespace zelkora
