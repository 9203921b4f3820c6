#include "gui/lists/list_commands.h"

#include "core/base/number_text.h"
#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/windows.h"
#include "gui/cards/card_window.h"
#include "gui/lists/list_window.h"

namespace {

// The database's count, or 0 with the empty-database message.
long long countOrWarn(AppContext& ctx)
{
    const tb::Database* db = ctx.session.database();
    const long long count = db ? db->count() : 0;
    if (count == 0)
        ctx.dialogs.message(QStringLiteral(" Il n'y a aucune fiche dans la base de données !"));
    return count;
}

}  // namespace

void showSortedList(AppContext& ctx, tb::ListKind kind)
{
    if (countOrWarn(ctx) == 0)
        return;
    ctx.dialogs.setBusy(true);
    tb::Result<tb::CardList> list = ctx.session.database()->list(kind);
    ctx.dialogs.setBusy(false);
    if (!list) {
        ctx.dialogs.showError(list.error());
        return;
    }
    FFrance3* window = ctx.windows.listWindow();
    window->setList(std::move(list).value());
    ctx.dialogs.showModal(window);
}

void showCardCount(AppContext& ctx)
{
    const tb::Database* db = ctx.session.database();
    ctx.dialogs.message(tb::plainNumber(db ? db->count() : 0) + QStringLiteral(" fiche(s)"));
}

void showAllCards(AppContext& ctx)
{
    if (countOrWarn(ctx) == 0)
        return;
    FFrance4* card = ctx.windows.cardWindow();
    card->openFirstCard();
    ctx.dialogs.showModal(card);
}
