// tabulon-cli-search: search on the records alone, without Qt Gui nor the
// open database, when the database needs nothing of the full opening (its
// count is exact); every other case goes to the full command set, which says
// what is wrong exactly as for any command.
#include "cli/cli.h"
#include "cli/hand_over.h"
#include "cli/search_command.h"
#include "core/base/paths.h"
#include "core/cards/card_store.h"
#include "core/db/count_file.h"

#include <QFile>

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    cli::Arguments a;
    if (args.size() == 5 && args[0] == QLatin1String("search") && cli::parse(args.mid(1), cli::searchSyntax(), &a).isEmpty()
        && a.positional.size() == cli::searchSyntax().arguments && !a.positional[0].isEmpty()) {
        const auto field = cli::searchFields().find(a.options[QStringLiteral("--by")]);
        const QString folder = tb::folderText(a.positional[0]);
        if (field != cli::searchFields().end())
            if (const std::optional<long long> count = tb::exactCount(QFile::encodeName(folder).toStdString()))
                return cli::finished(cli::printSearch(CardStore(folder), *count, field->second, a.positional[1]));
    }
    return cli::handOver(cli::kFullCommands, argv);
}
