#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace zelkora {

ProcessRun runProcess(const QString& program, const QStringList& args, const QByteArray& input) {
    QProcess process;
    process.start(program, args);
    EXPECT_TRUE(process.waitForStarted()) << program.toStdString() << " does not start";
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(300000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace zelkora
