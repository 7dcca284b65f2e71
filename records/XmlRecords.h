#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <vector>

#include "records/PropertyRecords.h"

namespace zelkora {

// What GPX and KML files share: Qt's stream reader and the way its errors are told.

// The local name of the first element of an XML text, or empty when the bytes are no XML.
QString rootElementName(const QByteArray& bytes);

// Reads the first element and checks that its local name is root; throws ZelkoraError saying
// the file is no <what> otherwise.
void expectRoot(QXmlStreamReader& xml, const char* root, const char* what);

// Ends the reading of an XML file that failed part way: with no record read it throws
// ZelkoraError with the place and kind of the fault; otherwise the records read stay and the
// fault is one more unread entry, numbered by its line.
void endWithXmlError(const QXmlStreamReader& xml, std::vector<PropertyRecord>& records,
                     const char* what);

// The point of a latitude and a longitude as a file writes them, or the reason it is none.
void setPointFromTexts(PropertyRecord& record, const QString& lat, const QString& lon);

}  // namespace zelkora
