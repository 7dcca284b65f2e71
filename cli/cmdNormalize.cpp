#include <cstdio>
#include <string>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "table/myParser.h"

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

}  // namespace

int runNormalize(const QStringList& args) {
    QStringList words = args;
    if (!words.isEmpty() && words[0] == QLatin1String("--")) {
        words.removeFirst();
    } else if (!words.isEmpty() && words[0].startsWith(QLatin1String("--"))) {
        throw UsageError(QStringLiteral("Неизвестный параметр: %1").arg(visibleText(words[0])));
    }
    if (words.size() > 1) {
        throw UsageError("normalize ждёт одну строку координат (в кавычках) или ничего");
    }
    if (words.size() == 1) {
        printLine(myParser(words[0]));
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
        printLine(myParser(text));
    }
    return 0;
}

}  // namespace zelkora
