#pragma once
// Another Tabulon with a database open for writing: a separate process that
// holds the database's lock until it closes it or is killed.
#include <QProcess>
#include <QString>

namespace testing_support {

class OtherProgram {
public:
    // Opens folder (ending with "/"); holding() tells whether it could.
    explicit OtherProgram(const QString& folder);
    ~OtherProgram() { quit(); }
    bool holding() const { return m_holding; }
    // Closes the database as the program would on quitting.
    void quit();
    // Dies at once (SIGKILL), leaving its lock file behind.
    void crash();

private:
    QProcess m_process;
    bool m_holding = false;
};

}  // namespace testing_support
