// The coordinate normaliser on a paste of 10,000 lines in the notations users bring, and the
// clipboard insert of 1,000 of them (the point list's capacity) into a fresh table.
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

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
