#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Readable gtest output for Qt strings (found by argument-dependent lookup). They stay in the
// global namespace, QString's own, as that lookup only finds them there.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *os << (i ? ", " : "") << '"' << list[i].toStdString() << '"';
    }
    *os << '}';
}
