#pragma once
// The launcher the windows use: a program, document or address that could
// not be opened is told to the user instead of nothing happening.
#include "core/external/launcher.h"

class Dialogs;

class ReportingLauncher : public tb::Launcher {
public:
    ReportingLauncher(tb::Launcher& launcher, Dialogs& dialogs) : m_launcher(launcher), m_dialogs(dialogs) {}

    bool startProgram(const QString& program, const QStringList& args, const QString& workingFolder) override;
    bool openDocument(const QString& path) override;
    bool openUrl(const QUrl& url) override;

private:
    bool reported(bool started, const QString& text);

    tb::Launcher& m_launcher;
    Dialogs& m_dialogs;
};
