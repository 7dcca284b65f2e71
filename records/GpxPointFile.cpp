#include <QXmlStreamWriter>

#include "records/PointFileWriters.h"

namespace zelkora {

namespace {

// The program's own GPX extension elements.
const QString kExtensions = QStringLiteral("urn:zelkora:gpx:1");

}  // namespace

QByteArray gpxPointFile(const std::vector<TablePoint>& points) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("gpx"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.topografix.com/GPX/1/1"));
    xml.writeNamespace(kExtensions, QStringLiteral("zelkora"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("Zelkora"));
    for (const TablePoint& p : points) {
        xml.writeStartElement(QStringLiteral("wpt"));
        xml.writeAttribute(QStringLiteral("lat"), plainNumber(p.point.lat));
        xml.writeAttribute(QStringLiteral("lon"), plainNumber(fileLongitude(p.point.lon)));
        if (!p.group.isEmpty()) {
            xml.writeTextElement(QStringLiteral("name"), xmlSafeText(p.group));
        }
        xml.writeStartElement(QStringLiteral("extensions"));
        xml.writeTextElement(kExtensions, QStringLiteral("group"), xmlSafeText(p.group));
        xml.writeTextElement(kExtensions, QStringLiteral("marker"), QString::number(p.marker));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out;
}

}  // namespace zelkora
