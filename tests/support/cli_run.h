#pragma once
// tabulon-cli run as a user runs it: its exit code and both outputs.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

struct CliRun {
    int exit = -1;  // -1 when it crashed
    QString out, err;
};

// In a French locale (its decimal comma shows in the journal's totals); fonts
// start the windowing layer, which wants a runtime folder.
inline CliRun runCli(const QStringList& args, const char* program = TABULON_CLI)
{
    static QTemporaryDir runtime;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    p.setProcessEnvironment(env);
    p.start(QString::fromLocal8Bit(program), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace testing_support
