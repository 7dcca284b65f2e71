#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "coordtext/Normaliser.h"
#include "table/CoordFormat.h"
#include "table/ImportReport.h"

namespace zelkora {

namespace {

constexpr std::size_t kKeptLineCapacity = std::size_t{1} << 20;

void printLine(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

// Reads the next line of standard input as pasted text splits it: CR LF, CR or LF ends it.
// False at the end, where an empty last line does not count.
bool readLine(std::string& line) {
    line.clear();
    int c = std::getc(stdin);
    if (c == EOF) {
        return false;
    }
    for (; c != EOF; c = std::getc(stdin)) {
        if (c == '\n') {
            break;
        }
        if (c == '\r') {
            const int next = std::getc(stdin);
            if (next != '\n' && next != EOF) {
                std::ungetc(next, stdin);
            }
            break;
        }
        line += static_cast<char>(c);
    }
    return true;
}

// The line with the parts that were read in brackets, each followed by its point's number.
QString marked(QStringView line, const LinePoints& reading) {
    std::vector<LinePointRecord> points;
    for (const LinePoint& p : reading.points) {
        points.push_back({p.lat, p.lon, p.spans, p.byMap, false, {}});
    }
    return ImportReport::markedText(line, points);
}

// One line per point: "lat, lon"; an empty line where the line gives none. With explain, each
// point's notation and the words it came from, and why a line gives no point.
void printReading(QStringView line, bool explain) {
    const LinePoints reading = readLinePoints(line);
    if (reading.points.empty()) {
        printLine(explain && !isBlankLine(line)
                      ? QStringLiteral("\t%1\t%2")
                            .arg(noPointReasonText(reading.reason), marked(line, reading))
                      : QString());
        return;
    }
    for (std::size_t p = 0; p < reading.points.size(); ++p) {
        const LinePoint& point = reading.points[p];
        QString text = formatPointCell(point.lat, point.lon);
        if (explain) {
            QStringList parts;
            for (const TextSpan& span : point.spans) {
                parts << QStringLiteral("«%1»").arg(
                    visibleText(line.sliced(span.start, span.length)));
            }
            text += QStringLiteral("\t%1\t%2")
                        .arg(notationName(point.notation), parts.join(QStringLiteral(" = ")));
            if (p == 0) {
                text += QStringLiteral("\t") + marked(line, reading);
            }
        }
        printLine(text);
    }
}

}  // namespace

int runNormalize(const QStringList& args) {
    QStringList words = args;
    bool explain = false;
    if (!words.isEmpty() && words[0] == QLatin1String("--explain")) {
        explain = true;
        words.removeFirst();
    }
    if (!words.isEmpty() && words[0] == QLatin1String("--")) {
        words.removeFirst();
    } else if (!words.isEmpty() && words[0].startsWith(QLatin1String("--"))) {
        throw UsageError(QStringLiteral("Неизвестный параметр: %1").arg(visibleText(words[0])));
    }
    if (words.size() > 1) {
        throw UsageError("normalize ждёт одну строку координат (в кавычках) или ничего");
    }
    if (words.size() == 1) {
        printReading(words[0], explain);
        return 0;
    }
    // Line by line, so the results before a bad line are out when the error ends the run.
    std::string line;
    while (readLine(line)) {
        const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        // A long line is held once, as text, while it is normalised.
        if (line.capacity() > kKeptLineCapacity) {
            std::string().swap(line);
        }
        printReading(text, explain);
    }
    return 0;
}

}  // namespace zelkora
