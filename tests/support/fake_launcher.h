#pragma once
// Records what the program would start, and starts nothing.
#include "core/external/launcher.h"

#include <QList>

class FakeLauncher : public tb::Launcher {
public:
    struct Start { QString program; QStringList args; QString folder; };
    QList<Start> programs;
    QStringList documents;
    QList<QUrl> urls;
    bool succeeds = true;

    bool startProgram(const QString& program, const QStringList& args, const QString& folder) override
    {
        programs.append({program, args, folder});
        return succeeds;
    }
    bool openDocument(const QString& path) override { documents.append(path); return succeeds; }
    bool openUrl(const QUrl& url) override { urls.append(url); return succeeds; }
};
