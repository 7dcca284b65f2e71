#include <QXmlStreamWriter>

#include "records/PointFileWriters.h"

namespace zelkora {

QByteArray kmlPointFile(const std::vector<TablePoint>& points) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("kml"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.opengis.net/kml/2.2"));
    xml.writeStartElement(QStringLiteral("Document"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Zelkora"));
    // Points come column by column, so each column is one run: one Folder.
    int folder = -1;
    for (const TablePoint& p : points) {
        if (p.marker != folder) {
            if (folder >= 0) {
                xml.writeEndElement();
            }
            folder = p.marker;
            xml.writeStartElement(QStringLiteral("Folder"));
            xml.writeTextElement(QStringLiteral("name"), xmlSafeText(p.group));
        }
        xml.writeStartElement(QStringLiteral("Placemark"));
        xml.writeTextElement(QStringLiteral("name"), xmlSafeText(p.group));
        xml.writeStartElement(QStringLiteral("ExtendedData"));
        xml.writeStartElement(QStringLiteral("Data"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("marker"));
        xml.writeTextElement(QStringLiteral("value"), QString::number(p.marker));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("Point"));
        xml.writeTextElement(
            QStringLiteral("coordinates"),
            plainNumber(fileLongitude(p.point.lon)) + QLatin1Char(',') + plainNumber(p.point.lat));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndDocument();  // closes the open Folder, Document and kml
    return out;
}

}  // namespace zelkora
