// The coordinate normaliser on 10,000 lines of prose with coordinates in them (as myParser reads
// a cell, and as the paste reads every point of a line), on the same text as 1,000 paragraphs,
// and on a paste of 10,000 bare lines in the notations users bring; the clipboard insert of
// 1,000 of them (the point list's capacity) into a fresh table.
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <cstdint>

#include "coordtext/Normaliser.h"
#include "table/HeaderRow.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "table/myParser.h"

namespace zelkora {

namespace {

QStringList pastedLines(int count) {
    const char16_t* const notations[] = {
        u"0.165454 0.998412",
        u" N 48 51.640 E 138 04.035",
        u" (53\u00B056'27\"N 158\u00B001'31\"E)",
        u" (43\u00B0N 146\u00B0E)",
        u" (48\u00B050'05.0\"N 138\u00B004'45.0\"E)",
        u" N35 47 42.7 E127 40 04.3",
        u" N 44\u00B055.670-680\u2019; W 109\u00B040.220-230\u2019",
        u" (63\u00B0 15\u2019 50.9\u2019\u2019N 151\u00B0 03\u2019 27.4\u2019\u2019E)",
        u" 34 41 26N 125 11 50E",
        u" (37\u00B052\u00B435\u00B4\u00B4N  90\u00B018\u00B418\u00B4\u00B4W)",
        u" N51\u00B039'7\u2033 E140\u00B054'53\u2033",
        u" N 43\u00B036'29,0\" E 132\u00B014'59,5\"",
        u" 46\u00BA38'23,6N 142\u00BA54'04,8E",
        u" 43\u00B052\u201917,0\u201DN 146\u00B051\u201918,1\u201DE",
        u"53,1 158,2",
        u"48.512345\t135.254321",
    };
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        lines << QString::fromUtf16(notations[i % std::size(notations)]);
    }
    return lines;
}

// Lines as papers, labels, encyclopaedias, GPS units and reports write them: a point inside a
// sentence of places, altitudes, dates and collectors, in every notation the normaliser reads,
// with the numbers varied from line to line.
QStringList proseLines(int count) {
    const char16_t* const templates[] = {
        u"Russia, Primorsky Krai, Khasan District, Kedrovaya Pad Reserve, %1\u00B0%2\u2032N, "
        u"%3\u00B0%4\u2032E, 150 m, 12.VI.2015, leg. A. Ivanov, 1\u2642",
        u"Vietnam, Lao Cai Prov., Sa Pa, Hoang Lien NP, %1\u00B0%2'%5.5\"N %3\u00B0%4'%6.1\"E, "
        u"1850 m a.s.l., 3\u20135.V.2019, leg. Nguyen Van An",
        u"\u0425\u0430\u0431\u0430\u0440\u043E\u0432\u0441\u043A\u0438\u0439 "
        u"\u043A\u0440\u0430\u0439, \u043E\u043A\u0440. \u043F\u043E\u0441. "
        u"\u0411\u044B\u0447\u0438\u0445\u0430, %1\u00B0%2\u2032 \u0441. \u0448., "
        u"%3\u00B0%4\u2032 \u0432. \u0434., 12 \u0438\u044E\u043B\u044F 2018 \u0433.",
        u"Magadan Oblast, Kolyma River near Sinegorye, N %1\u00B0%2.817' E %3\u00B0%4.301', "
        u"420 m, 21 July 2012, under stones",
        u"GPS: %1.%5%6, %3.%6%5 (WGS84), alt. 35 m, 2021-06-14, 10:35",
        u"Kamchatka, Avacha Bay: %1.%5 N, %3.%6 E, depth 12 m, 24.8\u00B0C",
        u"V\u01B0\u1EDDn qu\u1ED1c gia C\u00FAc Ph\u01B0\u01A1ng, %1\u00B0%2\u2032 "
        u"v\u0129 \u0111\u1ED9 B\u1EAFc, %3\u00B0%4\u2032 kinh \u0111\u1ED9 "
        u"\u0110\u00F4ng, \u0111\u1ED9 cao 300 m",
        u"Sakhalin, Yuzhno-Sakhalinsk env., %1.%5%6 %3.%6%5, 12 specimens, 5.VIII.1998",
        u"%1\u00B0%2\u2032%5\u2033N %3\u00B0%4\u2032%6\u2033E / %7\u00B0N %8\u00B0E / %7; %8",
        u"Aerodrome reference point %1%2%5N 1%3%4%6E, elevation 39 FT, VAR 1\u00B0W (2020)",
        u"Position at noon 03.07.2021: %1%2N/1%3%4E, course 045, speed 12 kn",
        u"https://www.openstreetmap.org/#map=14/%1.%5%6/%3.%6%5",
    };
    QStringList lines;
    std::uint32_t seed = 12345;
    const auto next = [&seed](int below) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(below));
    };
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    for (int i = 0; i < count; ++i) {
        QString line = QString::fromUtf16(templates[i % std::size(templates)]);
        const int latDegrees = 10 + next(50);
        const int lonDegrees = 30 + next(60);
        const int latMinutes = next(60);
        const int lonMinutes = next(60);
        const int latSeconds = next(60);
        const int lonSeconds = next(60);
        // The decimal forms of the encyclopaedia's box, as it writes them beside the degrees.
        const auto decimal = [](int d, int m, int s) {
            return QString::number(d + m / 60.0 + s / 3600.0, 'f', 4);
        };
        line.replace(QStringLiteral("%7"), decimal(latDegrees, latMinutes, latSeconds));
        line.replace(QStringLiteral("%8"), decimal(lonDegrees, lonMinutes, lonSeconds));
        line.replace(QStringLiteral("%1"), QString::number(latDegrees));
        line.replace(QStringLiteral("%3"), QString::number(lonDegrees));
        line.replace(QStringLiteral("%2"), two(latMinutes));
        line.replace(QStringLiteral("%4"), two(lonMinutes));
        line.replace(QStringLiteral("%5"), two(latSeconds));
        line.replace(QStringLiteral("%6"), two(lonSeconds));
        lines << line;
    }
    return lines;
}

void BM_myParser10000ProseLines(benchmark::State& state) {
    const QStringList lines = proseLines(10000);
    for (auto _ : state) {
        for (const QString& line : lines) {
            benchmark::DoNotOptimize(myParser(line));
        }
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_myParser10000ProseLines)->Unit(benchmark::kMillisecond);

// The same lines through the reader of every point of a line, with the spans of each.
void BM_readLinePoints10000ProseLines(benchmark::State& state) {
    const QStringList lines = proseLines(10000);
    for (auto _ : state) {
        for (const QString& line : lines) {
            benchmark::DoNotOptimize(readLinePoints(line));
        }
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_readLinePoints10000ProseLines)->Unit(benchmark::kMillisecond);

// The same text as 1,000 paragraphs of ten lines each, as a "Material examined" paragraph
// holds its points.
void BM_readLinePoints1000Paragraphs(benchmark::State& state) {
    const QStringList lines = proseLines(10000);
    QStringList paragraphs;
    for (qsizetype k = 0; k < lines.size(); k += 10) {
        paragraphs << lines.mid(k, 10).join(QStringLiteral("; "));
    }
    for (auto _ : state) {
        for (const QString& paragraph : paragraphs) {
            benchmark::DoNotOptimize(readLinePoints(paragraph));
        }
    }
    state.SetItemsProcessed(state.iterations() * paragraphs.size());
}
BENCHMARK(BM_readLinePoints1000Paragraphs)->Unit(benchmark::kMillisecond);

void BM_myParser10000Lines(benchmark::State& state) {
    const QStringList lines = pastedLines(10000);
    for (auto _ : state) {
        for (const QString& line : lines) {
            benchmark::DoNotOptimize(myParser(line));
        }
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_myParser10000Lines)->Unit(benchmark::kMillisecond);

void BM_insertPoints1000Lines(benchmark::State& state) {
    const QStringList lines = pastedLines(1000);
    for (auto _ : state) {
        state.PauseTiming();
        PointTable table;
        fillHeaderRow(table);
        state.ResumeTiming();
        benchmark::DoNotOptimize(insertPoints(table, 0, lines));
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_insertPoints1000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace zelkora

BENCHMARK_MAIN();
