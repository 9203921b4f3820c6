#include "gui/app/help_pages.h"

#include <QHash>
#include <QWidget>

namespace {

QString pageOfName(const QString& objectName)
{
    static const QHash<QString, QString> pages = {
        {QStringLiteral("FFrance"), QStringLiteral("fenetre-principale.html")},
        {QStringLiteral("FFrance3"), QStringLiteral("listes.html")},
        {QStringLiteral("FFrance4"), QStringLiteral("fiche.html")},
        {QStringLiteral("FFrance5"), QStringLiteral("menu-accessoires.html")},
        {QStringLiteral("FFrance8"), QStringLiteral("convertisseur.html")},
        {QStringLiteral("FFrance9"), QStringLiteral("note.html")},
        {QStringLiteral("FFrance11"), QStringLiteral("creation.html")},
        {QStringLiteral("FFrance22"), QStringLiteral("choix-carte.html")},
        {QStringLiteral("FFrance26"), QStringLiteral("structure.html")},
        {QStringLiteral("Ffrance7"), QStringLiteral("calendrier.html")},
        {QStringLiteral("Ffrance14"), QStringLiteral("menu-logiciels.html")},
        {QStringLiteral("Ffrance16"), QStringLiteral("documents-scannes.html")},
        {QStringLiteral("Ffrance17"), QStringLiteral("rib.html")},
        {QStringLiteral("Ffrance18"), QStringLiteral("journal-interets.html")},
        {QStringLiteral("Ffrance19"), QStringLiteral("journal-recouvrements.html")},
        {QStringLiteral("Ffrance23"), QStringLiteral("documents.html")},
        {QStringLiteral("Ffrance25"), QStringLiteral("menu-logiciels.html")},
        {QStringLiteral("Ffrance28"), QStringLiteral("menu-zones.html")},
        {QStringLiteral("Ffrance29"), QStringLiteral("base-de-donnees.html")},
        {QStringLiteral("Ffrance91"), QStringLiteral("courrier.html")},
        {QStringLiteral("Ffrance92"), QStringLiteral("memento.html")},
        {QStringLiteral("Ffrancelic"), QStringLiteral("document-texte.html")},
        {QStringLiteral("FIban"), QStringLiteral("iban.html")},
        {QStringLiteral("FEtiquettes"), QStringLiteral("etiquettes.html")},
        {QStringLiteral("FEnveloppes"), QStringLiteral("etiquettes.html")},
        {QStringLiteral("FExpediteur"), QStringLiteral("etiquettes.html")},
        {QStringLiteral("FCorbeille"), QStringLiteral("rien-perdu.html")},
        {QStringLiteral("FRappels"), QStringLiteral("rappels.html")},
        {QStringLiteral("FDoublon"), QStringLiteral("echanges.html")},
        {QStringLiteral("FImportCsv"), QStringLiteral("echanges.html")},
        {QStringLiteral("FRapportImport"), QStringLiteral("echanges.html")},
        {QStringLiteral("Clipbrd"), QStringLiteral("menu-outils.html")},
        {QStringLiteral("FLettres"), QStringLiteral("lettres.html")},
        {QStringLiteral("FEnvoiLettres"), QStringLiteral("lettres.html")},
        {QStringLiteral("FDebiteurs"), QStringLiteral("debiteurs.html")},
        {QStringLiteral("FSynchro"), QStringLiteral("synchronisation.html")},
        {QStringLiteral("FConflits"), QStringLiteral("synchronisation.html")},
    };
    return pages.value(objectName);
}

}  // namespace

QString helpPageOf(const QWidget* window)
{
    for (const QWidget* w = window ? window->window() : nullptr; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QString page = pageOfName(w->objectName());
        if (!page.isEmpty())
            return page;
    }
    return {};
}
