#include "cli/cli.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char* argv[])
{
    // Fonts need a GUI application; printing pages needs no screen.
    std::unique_ptr<QCoreApplication> app;
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    if (cli::drawsPages(given)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The same user data folder as the program's.
    QCoreApplication::setApplicationName(QStringLiteral("Tabulon"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tabulon"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return cli::run(args, QCoreApplication::applicationDirPath());
}
