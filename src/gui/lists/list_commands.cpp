#include "gui/lists/list_commands.h"

#include "gui/app/dialogs.h"
#include "gui/app/windows.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/cards/card_fields.h"
#include "core/cards/card_store.h"
#include "gui/cards/card_window.h"
#include "gui/cards/creation_window.h"  // windows_ui.h needs it complete
#include "gui/lists/list_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

namespace {

const QString kNoCards = QStringLiteral(" Il n'y a aucune fiche dans la base de données !");

void readCount(AppContext& ctx)
{
    CardStore(ctx.values.Label2).readCountInto(ctx.values.Label6);
}

void setStatusLabel(FFrance4& card)
{
    card.Label5->setText(tb::statusWord(card.Text1[0]->text(), true));
}

}  // namespace

long long readCountOrWarn(AppContext& ctx)
{
    readCount(ctx);
    const long long count = tb::numericInteger(ctx.values.Label6);
    if (count == 0)
        ctx.dialogs.message(kNoCards);
    return count;
}

void showSortedList(AppContext& ctx, tb::ListKind kind)
{
    const long long count = readCountOrWarn(ctx);
    if (count == 0)
        return;
    ctx.dialogs.setBusy(true);
    const tb::ParallelLists lists = tb::buildCardList(CardStore(ctx.values.Label2), count, kind);
    FFrance3* window = ctx.windows->listWindow();
    window->setLists(lists);
    ctx.dialogs.setBusy(false);
    ctx.dialogs.showModal(window);
}

void showCardCount(AppContext& ctx)
{
    readCount(ctx);
    ctx.dialogs.message(ctx.values.Label6 + QStringLiteral(" fiche(s)"));
}

void showAllCards(AppContext& ctx)
{
    if (readCountOrWarn(ctx) == 0)
        return;
    FFrance4* card = ctx.windows->cardWindow();
    card->rebuildNameLists();
    card->selectNameRow(0);
    card->showRecord(1);
    setStatusLabel(*card);
    ctx.dialogs.showModal(card);
}

void openCardFromList(AppContext& ctx, int row)
{
    QPointer<FFrance3> list = ctx.windows->listWindow();
    long long number = 0;
    if (row >= 0 && row < list->List2->count()) {
        list->List2->setCurrentRow(row);
        number = tb::numericInteger(list->List2->item(row)->text());
    }

    FFrance4* card = ctx.windows->cardWindow();
    card->clearFields();
    card->loadCaptions();
    card->Label2->setText(tb::plainNumber(number));
    if (number == 0) {
        ctx.dialogs.message(QStringLiteral("Erreur! aucune fiche sur cette ligne !"));
        return;
    }
    card->showRecord(number);
    card->rebuildNameLists();
    // The first card of that name in name order: with two cards of the same
    // name, the window shows the first one.
    const int nameRow = card->findNameRow(tb::padField(card->Text1[2]->text(), CardRecord::kWidths[2]) + u' '
                                          + tb::padField(card->Text1[3]->text(), CardRecord::kWidths[3]));
    if (nameRow >= 0)
        card->selectNameRow(nameRow);
    setStatusLabel(*card);
    ctx.dialogs.showModal(card);
    if (list)
        list->hide();
}
