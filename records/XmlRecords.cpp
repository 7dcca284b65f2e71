#include "records/XmlRecords.h"

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/CoordinateFields.h"

namespace zelkora {

namespace {

QString faultOf(const QXmlStreamReader& xml) {
    switch (xml.error()) {
        case QXmlStreamReader::PrematureEndOfDocumentError:
            return QStringLiteral("файл обрывается посреди разметки");
        case QXmlStreamReader::NotWellFormedError:
            return QStringLiteral("разметка XML нарушена");
        case QXmlStreamReader::UnexpectedElementError:
        case QXmlStreamReader::CustomError:
            return QStringLiteral("неожиданный элемент");
        case QXmlStreamReader::NoError:
            break;
    }
    return {};
}

}  // namespace

QString rootElementName(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    return xml.readNextStartElement() ? xml.name().toString() : QString();
}

void expectRoot(QXmlStreamReader& xml, const char* root, const char* what) {
    if (!xml.readNextStartElement()) {
        throw ZelkoraError(QStringLiteral("Файл не читается как %1: в нём нет разметки XML")
                               .arg(QLatin1String(what)));
    }
    if (xml.name() != QLatin1String(root)) {
        throw ZelkoraError(
            QStringLiteral("Это не файл %1: его первый элемент — «%2», а не «%3»")
                .arg(QLatin1String(what), visibleText(xml.name().toString()), QLatin1String(root)));
    }
}

void endWithXmlError(const QXmlStreamReader& xml, std::vector<PropertyRecord>& records,
                     const char* what) {
    const QString place =
        QStringLiteral("строка %1, столбец %2").arg(xml.lineNumber()).arg(xml.columnNumber());
    if (records.empty()) {
        throw ZelkoraError(QStringLiteral("Файл не читается как %1: %2 (%3)")
                               .arg(QLatin1String(what), faultOf(xml), place));
    }
    PropertyRecord fault;
    fault.number = xml.lineNumber();
    fault.reason = QStringLiteral("%1 (%2): дальше файл не прочитан").arg(faultOf(xml), place);
    records.push_back(std::move(fault));
}

void setPointFromTexts(PropertyRecord& record, const QString& lat, const QString& lon) {
    if (lat.trimmed().isEmpty() || lon.trimmed().isEmpty()) {
        record.reason =
            lat.trimmed().isEmpty() ? QStringLiteral("нет широты") : QStringLiteral("нет долготы");
        return;
    }
    const std::optional<double> latValue = readDecimal(lat);
    const std::optional<double> lonValue = readDecimal(lon);
    if (!latValue || !lonValue) {
        record.reason = QStringLiteral("%1 «%2» не число")
                            .arg(latValue ? QStringLiteral("долгота") : QStringLiteral("широта"),
                                 visibleText(latValue ? lon : lat));
        return;
    }
    const FieldPoint found = pointFromNumbers(*latValue, *lonValue);
    if (found.point) {
        record.points.push_back(*found.point);
    } else {
        record.reason = found.reason;
    }
}

}  // namespace zelkora
