#include <gtest/gtest.h>

#include "tests/table/QtPrinters.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/ZelkoraError.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "table/TableFile.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

class TableFile : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    QString writeFixture(const QByteArray& bytes, const QString& name = "fixture.points") const {
        writeBytes(path(name), bytes);
        return path(name);
    }

    // The table before a load that must fail, to check nothing of it changed.
    static PointTable& marked(PointTable& table) {
        fillHeaderRow(table);
        table.setCell(3, 7, QStringLiteral("48.5, 135.25"));
        return table;
    }

    static void expectMarked(const PointTable& table) {
        EXPECT_EQ(table.ColCount(), 9);
        EXPECT_EQ(table.RowCount(), 70);
        EXPECT_EQ(table.cell(0, 0), markerTypeNames()[0]);
        EXPECT_EQ(table.cell(3, 7), QStringLiteral("48.5, 135.25"));
    }

    static QString loadError(PointTable& table, const QString& fileName) {
        try {
            LoadStringGrid(table, fileName);
        } catch (const ZelkoraError& e) {
            return e.message();
        }
        return {};
    }

    static QString saveError(const PointTable& table, const QString& fileName) {
        try {
            SaveStringGrid(table, fileName);
        } catch (const ZelkoraError& e) {
            return e.message();
        }
        return {};
    }

    QTemporaryDir dir;
};

TEST_F(TableFile, SavesTheDefaultTableAs632CrLfLinesInCp1251) {
    PointTable table;
    fillHeaderRow(table);
    table.setCell(2, 1, QStringLiteral("53.940833, 158.025278"));
    SaveStringGrid(table, path("default.points"));

    const QByteArray bytes = readBytes(path("default.points"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 632);
    EXPECT_EQ(bytes.count('\n'), 632);
    const QList<QByteArray> lines = bytes.split('\n');
    // Cell (c, r) is on line 3 + c * 70 + r, counted from 1.
    const auto line = [&](int c, int r) { return lines[2 + c * 70 + r]; };
    EXPECT_EQ(lines[0], "9\r");
    EXPECT_EQ(lines[1], "70\r");
    // "круги залитые" and "треугольники залитые " in CP1251.
    EXPECT_EQ(line(0, 0), "\xEA\xF0\xF3\xE3\xE8 \xE7\xE0\xEB\xE8\xF2\xFB\xE5\r");
    EXPECT_EQ(line(2, 0),
              "\xF2\xF0\xE5\xF3\xE3\xEE\xEB\xFC\xED\xE8\xEA\xE8 "
              "\xE7\xE0\xEB\xE8\xF2\xFB\xE5 \r");
    EXPECT_EQ(lines[144 - 1], "53.940833, 158.025278\r");
    EXPECT_EQ(line(2, 1), lines[144 - 1]);
    EXPECT_EQ(line(0, 69), "\r");
}

TEST_F(TableFile, RoundTripKeepsShapeHeaderAndCells) {
    PointTable table;
    table.setShape(4, 3);
    fillHeaderRow(table);
    table.setCell(0, 1, QStringLiteral("53.940833, 158.025278"));
    table.setCell(1, 2, QString::fromUtf8("\"в кавычках\" ,, № 5 €"));
    table.setCell(3, 2, QStringLiteral("  padded  "));
    SaveStringGrid(table, path("trip.points"));

    PointTable back;
    LoadStringGrid(back, path("trip.points"));
    ASSERT_EQ(back.ColCount(), 4);
    ASSERT_EQ(back.RowCount(), 3);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(back.cell(c, r), table.cell(c, r)) << c << "," << r;
        }
    }
}

TEST_F(TableFile, WritesQuestionMarksForWhatCp1251CannotHoldAndBlanksForBreaks) {
    PointTable table;
    table.setShape(1, 4);
    table.setCell(0, 0, QString::fromUtf8("é😀ж"));
    table.setCell(0, 1, QStringLiteral("a\r\nb\nc\rd"));
    table.setCell(0, 2,
                  QStringLiteral("before\x1A"
                                 "after"));
    table.setCell(0, 3, QStringLiteral("last"));
    SaveStringGrid(table, path("odd.points"));
    EXPECT_EQ(readBytes(path("odd.points")),
              "1\r\n4\r\n??\xE6\r\na b c d\r\nbefore after\r\nlast\r\n");

    PointTable back;
    LoadStringGrid(back, path("odd.points"));
    EXPECT_EQ(back.cell(0, 3), QStringLiteral("last"));  // nothing shifted
}

struct LoadCase {
    const char* name;
    QByteArray bytes;
    int cols;
    int rows;
    // Non-empty cells, column-major as "c,r=text"; every other cell must be empty.
    std::vector<std::pair<std::pair<int, int>, QString>> cells;
};

TEST_F(TableFile, LoadFollowsTheReadingRules) {
    const LoadCase cases[] = {
        {"CR LF",
         "2\r\n2\r\na\r\nb\r\nc\r\nd\r\n",
         2,
         2,
         {{{0, 0}, "a"}, {{0, 1}, "b"}, {{1, 0}, "c"}, {{1, 1}, "d"}}},
        {"LF only",
         "2\n2\na\nb\nc\nd\n",
         2,
         2,
         {{{0, 0}, "a"}, {{0, 1}, "b"}, {{1, 0}, "c"}, {{1, 1}, "d"}}},
        {"blank first line, padded count, text after it",
         "\r\n  9  \r\n2 rows\r\nx\r\n",
         9,
         2,
         {{{0, 0}, "x"}}},
        {"counts 0 and -3", "0\r\n-3\r\nonly\r\nextra\r\n", 1, 1, {{{0, 0}, "only"}}},
        {"short file",
         "3\n5\na\nb\nc\nd",
         3,
         5,
         {{{0, 0}, "a"}, {{0, 1}, "b"}, {{0, 2}, "c"}, {{0, 3}, "d"}}},
        {"Ctrl-Z ends the file",
         "1\r\n3\r\na\r\nb\x1A"
         "c\r\nd\r\n",
         1,
         3,
         {{{0, 0}, "a"}, {{0, 1}, "b"}}},
        {"a lone CR is dropped",
         "1\r\n3\r\nx\ry\r\r\n\rz\r",
         1,
         3,
         {{{0, 0}, "xy"}, {{0, 1}, "z"}}},
        {"hex counts", "$2\r\n0x3\r\n", 2, 3, {}},
        {"more hex forms", "X1\r\n-0Xa\r\n", 1, 1, {}},
        {"empty file", "", 1, 1, {}},
        {"Cyrillic in CP1251",
         "1\r\n1\r\n\xEA\xF0\xF3\xE3\xE8\r\n",
         1,
         1,
         {{{0, 0}, QString::fromUtf8("круги")}}},
        {"blanks kept inside a cell",
         "1\r\n2\r\n  a b  \r\n\t\r\n",
         1,
         2,
         {{{0, 0}, "  a b  "}, {{0, 1}, "\t"}}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        PointTable table;
        fillHeaderRow(table);
        LoadStringGrid(table, writeFixture(c.bytes));
        ASSERT_EQ(table.ColCount(), c.cols);
        ASSERT_EQ(table.RowCount(), c.rows);
        for (int col = 0; col < c.cols; ++col) {
            for (int row = 0; row < c.rows; ++row) {
                QString expected;
                for (const auto& [at, text] : c.cells) {
                    if (at == std::make_pair(col, row)) {
                        expected = text;
                    }
                }
                EXPECT_EQ(table.cell(col, row), expected) << col << "," << row;
            }
        }
    }
}

// Each hostile file gives its message and leaves the table exactly as it was, or loads.
TEST_F(TableFile, HostileFilesGiveTheirMessageOrLoad) {
    const QString tooLarge = QString::fromUtf8(
        "Таблица в файле слишком велика: %1 столбцов и %2 строк. Можно не больше 1000 "
        "столбцов, 1000000 строк и 10000000 ячеек.");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;  // empty: the file loads as cols x rows
        int cols = 0;
        int rows = 0;
    };
    const Case cases[] = {
        {"count with letters", "9abc\r\n70\r\n", "Invalid numeric input"},
        // A bad second count changes nothing either.
        {"second count with a semicolon", "9\r\n70;\r\n", "Invalid numeric input"},
        {"sign only", "+\r\n1\r\n", "Invalid numeric input"},
        {"hex prefix only", "0x\r\n1\r\n", "Invalid numeric input"},
        {"not a hex digit", "$G\r\n1\r\n", "Invalid numeric input"},
        {"2^31 columns", "2147483648\r\n1\r\n", "Invalid numeric input"},
        {"-3 rows", "2\r\n-3\r\na\r\nb\r\n", {}, 2, 1},
        {"1001 columns", "1001\r\n1\r\n", tooLarge.arg(1001).arg(1)},
        {"1000001 rows", "1\r\n1000001\r\n", tooLarge.arg(1).arg(1000001)},
        {"10^7 cells and more", "1000\r\n10001\r\n", tooLarge.arg(1000).arg(10001)},
        {"2^31 - 1 twice", "2147483647\r\n2147483647\r\n",
         tooLarge.arg(2147483647).arg(2147483647)},
        // Ctrl-Z ends the file on the first line too: the rest of it is empty.
        {"Ctrl-Z after the first count", "3\x1a", {}, 3, 1},
        {"Ctrl-Z after a blank", "2 \x1a", {}, 2, 1},
        {"Ctrl-Z after text", "9 columns\x1a\r\n5\r\n", {}, 9, 1},
        {"Ctrl-Z after the second count", "2\r\n4\x1a\r\na\r\n", {}, 2, 4},
        {"NUL bytes", QByteArray("1\r\n1\r\na\0b\r\n", 11), {}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PointTable table;
        const QString error = loadError(marked(table), writeFixture(c.bytes));
        EXPECT_EQ(error, c.message);
        if (c.message.isEmpty()) {
            EXPECT_EQ(table.ColCount(), c.cols);
            EXPECT_EQ(table.RowCount(), c.rows);
        } else {
            expectMarked(table);
        }
    }
}

// Another program rewrites the file, long and short in turns, while it loads. Before files were
// read rather than mapped, a read past the new end killed the program with SIGBUS.
TEST_F(TableFile, AFileRewrittenWhileLoadedGivesAnErrorOrItsTable) {
    PointTable big;
    big.setShape(9, 20000);
    for (int r = 0; r < big.RowCount(); ++r) {
        big.setCell(0, r, QStringLiteral("48.5, 135.25"));
    }
    const QString fileName = path("rewritten.points");
    SaveStringGrid(big, fileName);
    int failures = 0;
    whileRewritten(fileName, [&] {
        // Until the writer has been caught at least once: on a busy machine it may not run for a
        // while.
        for (int i = 0; i < 100 || (failures == 0 && i < 100000); ++i) {
            PointTable table;
            if (!loadError(table, fileName).isEmpty()) {
                ++failures;  // changed or not a table: any clear message will do
            }
        }
    });
    EXPECT_GT(failures, 0) << "the file never changed under the reader";
}

// A file whose lines run to megabytes is no table; lines past the counts are never read.
TEST_F(TableFile, OverlongLinesAreRefusedOnlyWhereTheyAreRead) {
    const QByteArray huge((1 << 20) + 1, 'x');
    PointTable table;
    EXPECT_TRUE(loadError(marked(table), writeFixture("1\r\n2\r\nh\r\n" + huge + "\r\n"))
                    .contains(QString::fromUtf8("длиннее")));
    expectMarked(table);

    LoadStringGrid(table, writeFixture("1\r\n2\r\nh\r\n1, 2\r\n" + huge + "\r\n"));
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("1, 2"));
    // A Ctrl-Z ends the file before the long line counts.
    LoadStringGrid(table, writeFixture("1\r\n2\r\nh\x1a" + huge));
    EXPECT_EQ(table.cell(0, 0), QStringLiteral("h"));
    EXPECT_EQ(table.cell(0, 1), QString());
}

TEST_F(TableFile, ANumberRunEndsAfter32Characters) {
    // The 33rd character starts the rest of the line, which is skipped.
    PointTable table;
    LoadStringGrid(table, writeFixture(QByteArray(31, '0') + "2abc\r\n3\r\n"));
    EXPECT_EQ(table.ColCount(), 2);
    EXPECT_EQ(table.RowCount(), 3);
}

TEST_F(TableFile, IoErrorsCarryTheirMessages) {
    PointTable table;
    marked(table);
    EXPECT_EQ(loadError(table, path("missing.points")), "The specified file was not found");
    EXPECT_EQ(loadError(table, path("no/such/folder/a.points")), "Invalid file name - %s");
    EXPECT_EQ(saveError(table, path("no/such/folder/a.points")), "Invalid file name - %s");
    EXPECT_EQ(loadError(table, path(QString(300, QChar(u'n')))), "Invalid file name - %s");
    EXPECT_EQ(saveError(table, path(QString(300, QChar(u'n')))), "Invalid file name - %s");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    EXPECT_EQ(loadError(table, path("folder")), "File access denied");
    EXPECT_EQ(saveError(table, path("folder")), "File access denied");
    writeFixture("1\r\n1\r\n", "file");
    EXPECT_EQ(loadError(table, path("file/below.points")), "Invalid file name - %s");
    expectMarked(table);
    // Nothing but the fixtures was left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"file"});
}

// As a user for whom permissions hold, since root reads and writes anywhere.
TEST_F(TableFile, PlacesWithoutPermissionAreRefusedAndKeepTheOldFile) {
    asUnprivilegedUser([](const QString& dir) {
        PointTable table;
        table.setShape(1, 1);
        table.setCell(0, 0, QStringLiteral("new"));

        const QString locked = dir + QStringLiteral("/locked.points");
        writeBytes(locked, "1\r\n1\r\nold\r\n");
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner));
        EXPECT_EQ(saveError(table, locked), "File access denied");
        EXPECT_EQ(readBytes(locked), "1\r\n1\r\nold\r\n");

        ASSERT_TRUE(QFile::setPermissions(locked, {}));
        EXPECT_EQ(loadError(table, locked), "File access denied");
        EXPECT_EQ(table.cell(0, 0), QStringLiteral("new"));

        const QString sealed = dir + QStringLiteral("/sealed");
        ASSERT_TRUE(QDir().mkdir(sealed));
        ASSERT_TRUE(QFile::setPermissions(sealed, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        EXPECT_EQ(saveError(table, sealed + QStringLiteral("/a.points")), "File access denied");
        EXPECT_EQ(QDir(sealed).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
    });
}

// In a child process, and nothing but the load runs under the limit: a sanitizer's own checks
// open descriptors too, and would fail there and report a false error.
TEST_F(TableFile, RunningOutOfFileHandlesIsReported) {
    const QString fileName = writeFixture("1\r\n1\r\n");
    inChildProcess([&] {
        PointTable table;
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
        // The lowest free descriptor: the next open would get it. Standard input may be closed.
        const int next = open("/dev/null", O_RDONLY);
        ASSERT_GE(next, 0);
        close(next);
        rlimit tight = saved;
        tight.rlim_cur = static_cast<rlim_t>(next);
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
        std::string error = "no error";
        try {
            LoadStringGrid(table, fileName);
        } catch (const ZelkoraError& e) {
            setrlimit(RLIMIT_NOFILE, &saved);
            error = e.what();
        }
        setrlimit(RLIMIT_NOFILE, &saved);
        EXPECT_EQ(error, "Too many open files");
    });
}

TEST_F(TableFile, AFailedSaveLeavesTheOldFileWhole) {
    PointTable small;
    small.setShape(1, 1);
    small.setCell(0, 0, QStringLiteral("old"));
    SaveStringGrid(small, path("keep.points"));
    const QByteArray before = readBytes(path("keep.points"));

    PointTable big;
    fillHeaderRow(big);
    QString error;
    withFileSizeLimit(100, [&] { error = saveError(big, path("keep.points")); });

    EXPECT_EQ(error, "I/O error 27");  // EFBIG
    EXPECT_EQ(readBytes(path("keep.points")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.points"});
}

TEST_F(TableFile, SavingReplacesAnExistingFileAndKeepsItsPermissions) {
    const QString fileName = writeFixture(
        "old contents that are longer than the new ones\r\n"
        "old contents that are longer than the new ones\r\n");
    ASSERT_TRUE(
        QFile::setPermissions(fileName, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QFile::Permissions before = QFile::permissions(fileName);
    PointTable table;
    table.setShape(1, 1);
    SaveStringGrid(table, fileName);
    EXPECT_EQ(readBytes(fileName), "1\r\n1\r\n\r\n");
    EXPECT_EQ(QFile::permissions(fileName), before);
}

}  // namespace

}  // namespace zelkora
