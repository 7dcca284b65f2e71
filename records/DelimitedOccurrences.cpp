#include "records/DelimitedOccurrences.h"

#include <algorithm>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/ColumnRoles.h"
#include "records/CoordinateFields.h"
#include "records/DelimitedText.h"
#include "records/TextEncoding.h"

namespace zelkora {

namespace {

bool isBlank(std::string_view field) {
    return std::all_of(field.begin(), field.end(), [](char c) { return c == ' ' || c == '\t'; });
}

QString separatorName(char separator) {
    switch (separator) {
        case '\t':
            return QStringLiteral("табуляция");
        default:
            return QStringLiteral("«%1»").arg(QLatin1Char(separator));
    }
}

// Reads the records after the header into set.
class RecordReader {
  public:
    RecordReader(OccurrenceSet& set, const ColumnRoles& roles, TextEncoding encoding,
                 char separator)
        : set_(set), roles_(roles), encoding_(encoding), separator_(separator) {}

    void read(const DelimitedRecord& record) {
        const auto& fields = record.fields;
        if (std::all_of(fields.begin(), fields.end(), isBlank) && !record.unclosedQuote) {
            return;
        }
        if (record.unclosedQuote) {
            unread(record, QStringLiteral("кавычка в начале поля не закрыта до конца файла"));
            return;
        }
        const auto columns = static_cast<std::size_t>(roles_.names.size());
        if (fields.size() > columns &&
            !std::all_of(fields.begin() + static_cast<std::ptrdiff_t>(columns), fields.end(),
                         isBlank)) {
            unread(record, QStringLiteral("полей %1, а в заголовке %2: разделитель %3 внутри "
                                          "значения без кавычек?")
                               .arg(fields.size())
                               .arg(columns)
                               .arg(separatorName(separator_)));
            return;
        }
        FieldPoint found = pointOf(fields);
        if (!found.point) {
            unread(record, found.reason);
            return;
        }
        const int marker =
            roles_.marker >= 0 ? markerType(readDecimal(field(fields, roles_.marker))) : -1;
        int group = -1;
        if (roles_.group >= 0) {
            group = groupOf(field(fields, roles_.group));
            // The program's own files name a column without a header by its marker alone.
            if (group < 0 && marker < 0) {
                unread(record, QStringLiteral("не указана группа: столбец «%1» пуст")
                                   .arg(visibleText(roles_.names[roles_.group])));
                return;
            }
        }
        set_.addPoints(record.firstLine, group, marker, std::span(&*found.point, 1));
    }

  private:
    static std::string_view field(const std::vector<std::string_view>& fields, int column) {
        const auto at = static_cast<std::size_t>(column);
        return at < fields.size() ? fields[at] : std::string_view();
    }

    FieldPoint pointOf(const std::vector<std::string_view>& fields) const {
        for (const CoordinateSource& source : roles_.sources) {
            if (source.text >= 0) {
                const std::string_view text = field(fields, source.text);
                if (!isBlank(text)) {
                    return pointFromText(decodeText(text, encoding_));
                }
                continue;
            }
            const std::string_view lat = field(fields, source.lat);
            const std::string_view lon = field(fields, source.lon);
            if (isBlank(lat) && isBlank(lon)) {
                continue;
            }
            // Plain numbers, as nearly every file has them, are read without decoding.
            const std::optional<double> latValue = readDecimal(lat);
            const std::optional<double> lonValue = readDecimal(lon);
            if (latValue && lonValue) {
                return pointFromNumbers(*latValue, *lonValue);
            }
            return pointFromPair(decodeText(lat, encoding_), decodeText(lon, encoding_));
        }
        return {std::nullopt, QStringLiteral("нет координат")};
    }

    // The group's index, or -1 for an empty name. Records of one group often come one after
    // another: the last name read is kept as bytes, so most records decode nothing.
    int groupOf(std::string_view bytes) {
        if (lastGroup_ >= 0 && bytes == lastGroupBytes_) {
            return lastGroup_;
        }
        const QString name = decodeText(bytes, encoding_).simplified();
        if (name.isEmpty()) {
            return -1;
        }
        lastGroupBytes_.assign(bytes);
        lastGroup_ = set_.groupIndex(name);
        return lastGroup_;
    }

    void unread(const DelimitedRecord& record, QString reason) {
        const std::string_view shown =
            record.text.substr(0, static_cast<std::size_t>(kMaxRecordText) * 4);
        QString text = decodeText(shown, encoding_);
        // Tabs would be written out as \u0009: the report shows the fields apart plainly.
        text.replace(QLatin1Char('\t'), QStringLiteral(" | "));
        set_.addUnread(record.firstLine, text, std::move(reason));
    }

    OccurrenceSet& set_;
    const ColumnRoles& roles_;
    TextEncoding encoding_;
    char separator_;
    std::string lastGroupBytes_;
    int lastGroup_ = -1;
};

}  // namespace

namespace {

// The header of a delimited text and where its records start.
struct Head {
    char separator = ',';
    bool gbif = false;
    QStringList header;
    std::size_t bodyStart = 0;
    qint64 lineOffset = 0;  // the body's line numbers count on from the header's line
};

std::optional<Head> readHead(std::string_view text, DelimitedDialect dialect,
                             TextEncoding encoding) {
    // Blank lines before the header are passed over; the header is read with quotes, which
    // header names never hold otherwise.
    Head head;
    head.separator = dialect.separator != 0 ? dialect.separator : detectSeparator(firstLine(text));
    DelimitedText headerReader(text, head.separator, true);
    DelimitedRecord headerRecord;
    if (!headerReader.next(headerRecord)) {
        return std::nullopt;
    }
    for (const std::string_view name : headerRecord.fields) {
        head.header << decodeText(name, encoding).trimmed();
    }
    head.gbif = dialect.gbifLayout ||
                (head.separator == '\t' && findColumn(head.header, QStringLiteral("gbifID")) >= 0);
    head.bodyStart =
        static_cast<std::size_t>(headerRecord.text.data() - text.data()) + headerRecord.text.size();
    head.lineOffset = headerRecord.lastLine - 1;
    return head;
}

QString layoutName(const Head& head) {
    if (!head.gbif) {
        return QStringLiteral("CSV");
    }
    return findColumn(head.header, QStringLiteral("acceptedScientificName")) >= 0
               ? QStringLiteral("occurrence.txt архива Darwin Core")
               : QStringLiteral("простая выгрузка GBIF");
}

}  // namespace

std::optional<OccurrenceSet> readDelimitedOccurrences(QByteArray bytes, DelimitedDialect dialect,
                                                      const ReadOptions& options, bool required) {
    const TextEncoding encoding = takeTextEncoding(bytes);
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::optional<Head> head = readHead(text, dialect, encoding);
    if (!head) {
        if (required) {
            throw ZelkoraError(QStringLiteral("В файле нет ни заголовка, ни записей"));
        }
        return std::nullopt;
    }
    const QStringList& header = head->header;
    const ColumnRoles roles = findColumnRoles(header, options);
    if (roles.sources.empty()) {
        if (!required) {
            return std::nullopt;
        }
        throw ZelkoraError(
            QStringLiteral("В заголовке не найдены столбцы координат (есть: %1). Назовите их "
                           "параметрами --lat ИМЯ --lon ИМЯ или --coords ИМЯ")
                .arg(quotedNames(header)));
    }

    OccurrenceSet set;
    set.description = QStringLiteral("%1, разделитель %2, кодировка %3; %4")
                          .arg(layoutName(*head), separatorName(head->separator),
                               encodingName(encoding), roles.describe());
    if (roles.group >= 0) {
        set.groupField = header[roles.group];
    }

    // Reading goes on where the header ended, with quotes as the layout has them.
    DelimitedText reader(text.substr(head->bodyStart), head->separator, !head->gbif);
    RecordReader records(set, roles, encoding, head->separator);
    DelimitedRecord record;
    while (reader.next(record)) {
        record.firstLine += head->lineOffset;
        record.lastLine += head->lineOffset;
        records.read(record);
    }
    return set;
}

std::optional<DelimitedSample> sampleDelimited(QByteArray bytes, DelimitedDialect dialect,
                                               int rows) {
    DelimitedSample sample;
    sample.encoding = takeTextEncoding(bytes);
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::optional<Head> head = readHead(text, dialect, sample.encoding);
    if (!head) {
        return std::nullopt;
    }
    sample.layout = layoutName(*head);
    sample.separator = separatorName(head->separator);
    sample.header = head->header;
    sample.headerLine = decodeText(text.substr(0, head->bodyStart), sample.encoding).trimmed();
    DelimitedText reader(text.substr(head->bodyStart), head->separator, !head->gbif);
    DelimitedRecord record;
    while (static_cast<int>(sample.rows.size()) < rows && reader.next(record)) {
        QStringList fields;
        for (const std::string_view field : record.fields) {
            fields << decodeText(field, sample.encoding);
        }
        sample.rows.push_back(std::move(fields));
    }
    return sample;
}

}  // namespace zelkora
