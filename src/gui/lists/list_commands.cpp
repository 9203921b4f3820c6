#include "gui/lists/list_commands.h"

#include "core/base/folder_index.h"
#include "core/external/external_programs.h"
#include "core/external/launcher.h"

#include "core/base/number_text.h"
#include "core/db/session.h"
#include "core/lists/exports.h"
#include "gui/app/dialogs.h"

namespace {

void openInWordProcessor(AppContext& ctx, const QString& path)
{
    tb::openWith(ctx.launcher, tb::storedProgram(ctx.session.programFolder(), QStringLiteral("LogTxt.txt")), path);
}

}  // namespace

bool hasCardsOrWarn(AppContext& ctx)
{
    const tb::Database* db = ctx.session.database();
    if (db && db->count() > 0)
        return true;
    ctx.dialogs.message(QStringLiteral(" Il n'y a aucune fiche dans la base de données !"));
    return false;
}

std::optional<tb::Result<std::shared_ptr<tb::ListFill>>> sortedList(AppContext& ctx, tb::ListKind kind)
{
    if (!hasCardsOrWarn(ctx))
        return std::nullopt;
    ctx.dialogs.setBusy(true);
    tb::Result<std::shared_ptr<tb::ListFill>> list = ctx.session.database()->fillList(kind, kFirstRows);
    ctx.dialogs.setBusy(false);
    return list;
}

void showCardCount(AppContext& ctx)
{
    const tb::Database* db = ctx.session.database();
    ctx.dialogs.message(tb::plainNumber(db ? db->count() : 0) + QStringLiteral(" fiche(s)"));
}

std::optional<tb::Result<tb::CardList>> searchList(AppContext& ctx, tb::SearchField field,
                                                   const std::function<void()>& beforeAsking)
{
    if (!hasCardsOrWarn(ctx))
        return std::nullopt;
    beforeAsking();
    const tb::SearchKind& kind = tb::searchKind(field);
    // Cancel is an empty answer: every card.
    const QString answer = ctx.dialogs.input(kind.prompt, kind.title, kind.defaultAnswer).value_or(QString());
    const tb::Database* db = ctx.session.database();
    ctx.dialogs.setBusy(true);
    tb::Result<tb::CardList> found = tb::searchCards(db->store(), db->count(), field, answer);
    ctx.dialogs.setBusy(false);
    return found;
}

std::optional<tb::EmailLists> emailLists(AppContext& ctx)
{
    if (!hasCardsOrWarn(ctx))
        return std::nullopt;
    const tb::Database* db = ctx.session.database();
    ctx.dialogs.setBusy(true);
    tb::Result<tb::EmailLists> lists = tb::buildEmailLists(db->store(), db->count());
    ctx.dialogs.setBusy(false);
    if (!lists) {
        ctx.dialogs.showError(lists.error());
        return std::nullopt;
    }
    return std::move(lists).value();
}

// Writes an export of every card; its path, or "" after the message saying
// why not (a file that could not be written is never reported as created).
QString writeExportOrWarn(AppContext& ctx, tb::ExportFormat format)
{
    if (!hasCardsOrWarn(ctx))
        return {};
    const tb::Database* db = ctx.session.database();
    ctx.dialogs.setBusy(true);
    const tb::Result<QString> written = tb::writeExport(db->store(), db->count(), format);
    ctx.dialogs.setBusy(false);
    if (!written) {
        ctx.dialogs.showError(written.error());
        return {};
    }
    return *written;
}

void exportCards(AppContext& ctx)
{
    if (writeExportOrWarn(ctx, tb::ExportFormat::Fields).isEmpty())
        return;
    const tb::Database* db = ctx.session.database();
    ctx.dialogs.message(QStringLiteral(" Le fichier EXPORT a été créé sous ") + db->folder()
                        + QStringLiteral("export.txt. il peut être repris notamment par Microsoft Access"));
}

void exportAddresses(AppContext& ctx)
{
    const QString written = writeExportOrWarn(ctx, tb::ExportFormat::Addresses);
    if (!written.isEmpty())
        openInWordProcessor(ctx, written);
}

void callDatabaseManager(AppContext& ctx)
{
    const QString program = tb::programPath(ctx.session.programFolder(), 4);
    ctx.dialogs.message(
        QStringLiteral("Lorsque vous aurez lancé votre gestionnaire externe de base de donnèes * ") + program
        + QStringLiteral(" * vous devrez créer avec ce logiciel externe une base de donnèes comportant les "
                         "intitulés suivant : MrMmeMlle, Nom, Prénoms, Rue, Code postal, Ville, N° de "
                         "téléphone, N° de portable, Adresse e-mail auquels vous ajouterez les 10 intitulés "
                         "que vous avez personnalisés vous même dans la maquette FICHE de Tabulon, ensuite "
                         "vous pourrez importer votre fichier externe EXPORT.txt péalablement créer grâce à la "
                         "transaction prévue à cet effet dans Tabulon"));
    tb::startAlone(ctx.launcher, program);
}

void callDatabaseManagerWithExport(AppContext& ctx)
{
    if (writeExportOrWarn(ctx, tb::ExportFormat::Fields).isEmpty())
        return;
    const tb::Database* db = ctx.session.database();
    ctx.dialogs.message(QStringLiteral(" Le fichier EXPORT a été créé sous ") + db->folder()
                        + QStringLiteral("export.txt. Lorsque vous allez avoir lancé Microsoft Access il va "
                                         "vous suffir d'importer ce fichier."));
    // The database's file was copied in as "Tabulon.mdb"; any spelling will do.
    tb::openWith(ctx.launcher, tb::programPath(ctx.session.programFolder(), 4),
                 tb::fileAnyCase(db->folder(), QStringLiteral("tabulon.mdb")));
}
