// The reader on the corpus of real lines (corpus/lines.tsv): no wrong point on any line, at least
// 90 % of the lines that name points read right, and at least 80 % in each language (an NMEA
// sentence refused for its checksum counts as right, as the corpus allows). The test
// prints the table of each language; run it alone to see it:
//   build/tests/coordtext/test_coordtext --gtest_filter='Corpus.*'
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <map>

#include "coordtext/Normaliser.h"

namespace zelkora {

namespace {

struct Truth {
    double lat = 0;
    double lon = 0;
};

struct Row {
    int number = 0;  // the line of lines.tsv
    QString lang;
    QString text;
    std::vector<Truth> truth;
    bool contradictory = false;  // the note says the line contradicts its own page
};

QString unescaped(const QString& field) {
    QString text;
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == u'\\' && i + 1 < field.size()) {
            if (field[i + 1] == u't') {
                text += u'\t';
                ++i;
                continue;
            }
            if (field[i + 1] == u'\\') {
                text += u'\\';
                ++i;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

std::vector<Truth> parseTruth(const QString& field) {
    std::vector<Truth> points;
    for (const QString& point : field.split(QStringLiteral(" ; "), Qt::SkipEmptyParts)) {
        const QStringList numbers = point.split(QLatin1Char(','));
        if (numbers.size() != 2) {
            ADD_FAILURE() << "truth not \"lat, lon\": " << point.toStdString();
            continue;
        }
        points.push_back({numbers[0].trimmed().toDouble(), numbers[1].trimmed().toDouble()});
    }
    return points;
}

std::vector<Row> corpus() {
    QFile file(QStringLiteral(ZELKORA_CORPUS_DIR "lines.tsv"));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << file.fileName().toStdString();
        return {};
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    std::vector<Row> rows;
    for (int k = 1; k < lines.size(); ++k) {  // past the header
        if (lines[k].isEmpty()) {
            continue;
        }
        const QStringList fields = lines[k].split(QLatin1Char('\t'));
        if (fields.size() < 4) {
            ADD_FAILURE() << "line " << k + 1 << " of lines.tsv has " << fields.size() << " fields";
            continue;
        }
        rows.push_back(
            {k + 1, fields[0], unescaped(fields[2]), parseTruth(fields[3]),
             fields.size() > 4 && fields[4].startsWith(QStringLiteral("contradictory"))});
    }
    return rows;
}

bool same(const LinePoint& p, const Truth& t) {
    // Within a metre or two: the truth takes the degrees, minutes and seconds of a line where
    // the reader may take their decimal repeat (43°14′0″ and 43.23333).
    return std::fabs(p.lat - t.lat) <= 2e-5 && std::fabs(p.lon - t.lon) <= 2e-5;
}

struct Tally {
    int withPoints = 0;
    int right = 0;
    int wrong = 0;
    int noPoint = 0;  // some or all of the line's points not read, none wrong
    int without = 0;
    int readAsNone = 0;
    int refused = 0;       // of the right: NMEA sentences refused for their checksum
    int contradicted = 0;  // lines that contradict their page (by the corpus's note) read as
                           // their own words say: not counted as wrong, listed
};

QString percent(int part, int whole) {
    return whole == 0 ? QStringLiteral("–")
                      : QString::number(100.0 * part / whole, 'f', 1) + QStringLiteral(" %");
}

TEST(Corpus, NoWrongPointAndMostLinesReadRight) {
    const std::vector<Row> rows = corpus();
    ASSERT_FALSE(rows.empty());
    std::map<QString, Tally> byLanguage;
    Tally all;
    for (const Row& row : rows) {
        const LinePoints reading = readLinePoints(row.text);
        Tally& tally = byLanguage[row.lang];
        // A point read that the truth does not hold is wrong, wherever it stands.
        bool wrong = false;
        for (const LinePoint& p : reading.points) {
            bool known = false;
            for (const Truth& t : row.truth) {
                known = known || same(p, t);
            }
            wrong = wrong || !known;
        }
        // An NMEA sentence whose checksum does not match is refused by rule; the corpus gives
        // its position as the truth and says a reader may refuse it (corpus/README.md).
        std::size_t refused = 0;
        for (const UnreadPart& part : reading.unread) {
            refused += part.reason == NoPointReason::badChecksum ? 1 : 0;
        }
        const bool right =
            !wrong && (reading.points.size() == row.truth.size() ||
                       (refused > 0 && reading.points.size() + refused == row.truth.size()));
        for (Tally* t : {&tally, &all}) {
            t->refused += !row.truth.empty() && right && refused > 0 ? 1 : 0;
        }
        // A line whose note says it contradicts its own page (something outside the line, such
        // as the page's other box, decides): a point read from its own words is listed, not
        // counted as wrong.
        const bool contradicted = row.contradictory && wrong;
        if (contradicted) {
            wrong = false;
            std::printf("lines.tsv:%d [%s] contradicts its page; read from its own words: %s\n",
                        row.number, row.lang.toUtf8().constData(),
                        row.text.left(120).toUtf8().constData());
        }
        for (Tally* t : {&tally, &all}) {
            t->contradicted += contradicted ? 1 : 0;
            if (row.truth.empty()) {
                ++t->without;
                t->readAsNone += reading.points.empty() ? 1 : 0;
                t->wrong += wrong ? 1 : 0;
                continue;
            }
            ++t->withPoints;
            t->right += right ? 1 : 0;
            t->wrong += wrong ? 1 : 0;
            t->noPoint += !right && !wrong ? 1 : 0;
        }
        if (wrong) {
            QStringList read;
            for (const LinePoint& p : reading.points) {
                read << QStringLiteral("%1, %2").arg(p.lat, 0, 'f', 6).arg(p.lon, 0, 'f', 6);
            }
            ADD_FAILURE() << "lines.tsv:" << row.number << " [" << row.lang.toStdString()
                          << "] a wrong point: " << read.join(QStringLiteral(" ; ")).toStdString()
                          << "\n  " << row.text.toStdString();
        }
    }
    // The table, in Markdown, for README and the notes.
    std::printf(
        "\n| language | lines with points | right | of them refused for a checksum | "
        "wrong | no point | lines without points | read as none | contradicting their "
        "page, read |\n|---|---|---|---|---|---|---|---|---|\n");
    const auto print = [](const QString& lang, const Tally& t) {
        std::printf("| %s | %d | %d (%s) | %d | %d | %d | %d | %d | %d |\n",
                    lang.toUtf8().constData(), t.withPoints, t.right,
                    percent(t.right, t.withPoints).toUtf8().constData(), t.refused, t.wrong,
                    t.noPoint, t.without, t.readAsNone, t.contradicted);
    };
    for (const auto& [lang, tally] : byLanguage) {
        print(lang, tally);
    }
    print(QStringLiteral("all"), all);
    std::fflush(stdout);

    EXPECT_EQ(all.wrong, 0);
    EXPECT_GE(all.right * 10, all.withPoints * 9) << "fewer than 90 % of the lines read right";
    for (const auto& [lang, tally] : byLanguage) {
        EXPECT_GE(tally.right * 10, tally.withPoints * 8)
            << lang.toStdString() << ": fewer than 80 % of the lines read right";
    }
}

// Each real "Specimens examined" paragraph of the corpus (paragraph-*.txt) gives every point its
// truth names, in order, and a place written again for a second specimen once.
TEST(Corpus, EachParagraphGivesEachOfItsPoints) {
    const QDir dir(QStringLiteral(ZELKORA_CORPUS_DIR));
    const QStringList paragraphs =
        dir.entryList({QStringLiteral("paragraph-*.txt")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(paragraphs.isEmpty());
    for (const QString& name : paragraphs) {
        SCOPED_TRACE(name.toStdString());
        QFile text(dir.filePath(name));
        QFile truth(dir.filePath(
            QString(name).replace(QStringLiteral(".txt"), QStringLiteral(".truth.tsv"))));
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        ASSERT_TRUE(truth.open(QIODevice::ReadOnly));
        std::vector<Truth> expected;
        const QStringList truthLines = QString::fromUtf8(truth.readAll()).split(QLatin1Char('\n'));
        for (int k = 1; k < truthLines.size(); ++k) {
            const QStringList fields = truthLines[k].split(QLatin1Char('\t'));
            if (fields.size() < 2) {
                continue;
            }
            const Truth t{fields[0].toDouble(), fields[1].toDouble()};
            bool repeat = false;
            for (const Truth& e : expected) {
                repeat =
                    repeat || (std::fabs(e.lat - t.lat) < 1e-9 && std::fabs(e.lon - t.lon) < 1e-9);
            }
            if (!repeat) {
                expected.push_back(t);
            }
        }
        std::vector<LinePoint> read;
        for (const QString& line : QString::fromUtf8(text.readAll()).split(QLatin1Char('\n'))) {
            const LinePoints points = readLinePoints(line);
            read.insert(read.end(), points.points.begin(), points.points.end());
        }
        ASSERT_EQ(read.size(), expected.size());
        for (std::size_t k = 0; k < read.size(); ++k) {
            EXPECT_TRUE(same(read[k], expected[k]))
                << k << ": " << read[k].lat << ", " << read[k].lon;
        }
    }
}

}  // namespace

}  // namespace zelkora
