#include "other_program.h"

#include <csignal>

namespace testing_support {

OtherProgram::OtherProgram(const QString& folder)
{
    m_process.start(QStringLiteral(TABULON_CRASH_WORKER), {QStringLiteral("hold"), folder});
    QByteArray said;
    while (!said.contains('\n') && m_process.waitForReadyRead(10000))
        said += m_process.readAllStandardOutput();
    m_holding = said == "ok\n";
}

void OtherProgram::quit()
{
    m_process.closeWriteChannel();
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(10000))
        crash();
}

void OtherProgram::crash()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished();
}

}  // namespace testing_support
