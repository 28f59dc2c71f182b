#pragma once

// The built dorvan-cli run as a process by the window tests that compare the two paths. The
// test target defines DORVAN_CLI as the program's path.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace dorvan::test {

struct CliRun {
    int code = -1;
    QString out; // standard output as UTF-8 text
    QByteArray outBytes; // the same, byte for byte
    QString err;

    QStringList outLines() const { return out.split('\n', Qt::SkipEmptyParts); }
    QStringList errLines() const { return err.split('\n', Qt::SkipEmptyParts); }
};

// Runs dorvan-cli and waits for it (the bound only keeps a hung process from holding the test
// run).
inline CliRun runCli(const QStringList& args)
{
    QProcess p;
    p.setProgram(QStringLiteral(DORVAN_CLI));
    p.setArguments(args);
    p.start();
    CliRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("(did not finish)");
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.outBytes = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.outBytes);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace dorvan::test
