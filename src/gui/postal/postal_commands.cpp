#include "gui/postal/postal_commands.h"

#include "gui/app/app_context.h"
#include "gui/app/dialogs.h"
#include "core/postal/postal_directory.h"
#include "gui/postal/postal_window.h"

#include "core/db/session.h"
#include <functional>

namespace {

// The busy pointer covers the reading only: Qt's pointer is application-wide,
// and an hourglass over the input box would look like a hang.
void showResults(AppContext& ctx, FFrance5* window, const std::function<QStringList()>& search)
{
    ctx.dialogs.setBusy(true);
    window->setLines(search());
    ctx.dialogs.setBusy(false);
    ctx.dialogs.showModeless(window);
}

}  // namespace

void searchCityByPostalCode(AppContext& ctx, FFrance5* window)
{
    window->setLines({});
    const std::optional<QString> answer = ctx.dialogs.input(
        QStringLiteral("Entrez le code postal"), QStringLiteral("Recherche d'une ville"), QStringLiteral("17000"));
    // Only the length is checked: five letters are a valid, empty search.
    if (!answer || answer->size() != 5) {
        ctx.dialogs.message(QStringLiteral("Erreur de saisie !"));
        return;
    }
    const QString code = *answer;
    showResults(ctx, window, [&] { return tb::searchByPostalCode(ctx.session.programFolder(), code); });
}

void searchPostalCodeByCity(AppContext& ctx, FFrance5* window)
{
    window->setLines({});
    const std::optional<QString> answer = ctx.dialogs.input(
        QStringLiteral("Entrez le nom de la ville"), QStringLiteral("Recherche d'un code postal"),
        QStringLiteral("Rennes"));
    // Cancel is an empty answer: every line of the directory.
    const QString prefix = answer.value_or(QString()).toUpper();
    showResults(ctx, window, [&] { return tb::searchByCityPrefix(ctx.session.programFolder(), prefix); });
}
