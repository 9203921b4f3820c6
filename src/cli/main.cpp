#include "cli/cli.h"
#include "cli/hand_over.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <QFile>
#include <cstdlib>

int main(int argc, char* argv[])
{
    // The commands that draw pages need fonts, hence a GUI application, on
    // the offscreen platform: a command line has no screen to ask for.
    std::unique_ptr<QCoreApplication> app;
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    if (cli::drawsPages(given)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's notes about the desktop (no runtime folder...) are no concern
        // of the command's: its own messages go to the error output directly.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fputs((text + u'\n').toLocal8Bit().constData(), stderr);
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The same user data folder as the program's.
    QCoreApplication::setApplicationName(QStringLiteral("Tabulon"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tabulon"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // Run by tabulon-cli, whose folder (not libexec's) holds or leads to the data files.
    const char* caller = std::getenv(cli::kCallerFolder);
    return cli::finished(cli::run(args, caller && *caller ? QFile::decodeName(caller) : QCoreApplication::applicationDirPath()));
}
