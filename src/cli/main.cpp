#include "cli/cli.h"
#include "cli/hand_over.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The same user data folder as the program's.
    QCoreApplication::setApplicationName(QStringLiteral("Tabulon"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tabulon"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // Run by tabulon-cli, whose folder (not libexec's) holds or leads to the data files.
    const char* caller = std::getenv(cli::kCallerFolder);
    return cli::run(args, caller && *caller ? QFile::decodeName(caller) : QCoreApplication::applicationDirPath());
}
