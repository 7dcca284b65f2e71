#pragma once

#include <QByteArray>

#include "records/OccurrenceSet.h"
#include "records/ReadOptions.h"

namespace zelkora {

// Reads the waypoints of a GPX file (1.0 or 1.1), and its track and route points when
// options.tracks asks for them. A point's properties are its child elements' texts (name, desc,
// type, sym, ...) and the leaf elements of its extensions, by local name; records are numbered
// by their line. Track points left out are counted in a note. Throws ZelkoraError for a file that
// is no GPX.
OccurrenceSet readGpxOccurrences(const QByteArray& bytes, const ReadOptions& options);

}  // namespace zelkora
