#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zelkora {

struct ProcessRun {
    int exitCode = -1;  // -1 when the program did not start, crashed or timed out
    QString out;
    QString err;
};

// Runs a program to its end with input on its standard input. A program that does not start
// fails the running test.
ProcessRun runProcess(const QString& program, const QStringList& args,
                      const QByteArray& input = {});

}  // namespace zelkora
