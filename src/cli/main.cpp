#include "cli/cli.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The same user data folder as the program's.
    QCoreApplication::setApplicationName(QStringLiteral("Tabulon"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tabulon"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return cli::run(args, QCoreApplication::applicationDirPath());
}
