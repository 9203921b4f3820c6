#include "every_window.h"

#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "gui/app/app_context.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui/sync/conflict_window.h"

namespace testing_support {

QList<QWidget*> openEveryWindow(GuiFixture& f)
{
    const CardRecord card = withFields(makeCard("DURAND", "Paul", 3, 100, 100), {{10, "paul@exemple.fr"}, {15, "1000"}});
    f.openWithCards({card});
    f.dialogs.modalScripts.enqueue([](QWidget*) {});
    f.trigger("Obase");
    f.trigger("alpha");
    f.trigger("Voirlesfiches");
    QWidget* cardWindow = f.dialogs.lastModal();
    for (const char* viewer : {"VoirTB3", "VoirTB1", "notesconf"})
        child<QAction>(cardWindow, viewer)->trigger();
    for (const char* journal : {"Command1", "Command4", "Command5"})
        child<QPushButton>(cardWindow, journal)->click();
    f.rightClickMap(300, 300);
    f.dialogs.modalScripts.enqueue([](QWidget*) {});
    child<QAction>(f.dialogs.lastModal(), "photo")->trigger();
    for (const char* entry : {"cartes", "Rechcp", "cvt", "RIB", "iban", "calendrier", "LogTrtExcel", "LogExtActuels",
                              "Fiche", "Tournèe", "Corbeille", "mail", "Rappels", "LettresTypes", "Debiteurs"})
        f.trigger(QString::fromUtf8(entry));
    f.trigger("Expediteur");
    f.trigger("Synchro");
    f.trigger("alpha");
    for (const char* entry : {"SelEtiquettes", "SelEnveloppes"})
        child<QAction>(f.window<FFrance3>(), entry)->trigger();

    // The import's windows, as an import shows them.
    AppContext ctx{f.main->session(), f.dialogs, f.launcher};
    auto* csv = new FImportCsv(ctx, f.main.get());
    csv->setFile(QStringLiteral("contacts.csv"), "Nom,Ville\nDUPONT,Lyon\n", f.main->session().database()->captions());
    auto* duplicate = new FDoublon(ctx, f.main.get());
    duplicate->setCards(card, 1, card);
    auto* report = new FRapportImport(ctx, f.main.get());
    report->setReport(QStringLiteral("1 fiche créée."), {QStringLiteral("DUPONT : ville reprise")});
    // The sync's conflict, as a sync shows it.
    auto* conflict = new FConflits(ctx, f.main.get());
    conflict->setConflict({1, card, withFields(card, {{7, "LYON"}})}, tb::exchangeCaptions(f.main->session().database()->captions()));
    for (QWidget* w : {static_cast<QWidget*>(csv), static_cast<QWidget*>(duplicate), static_cast<QWidget*>(report),
                       static_cast<QWidget*>(conflict)})
        f.dialogs.showModal(w);

    QList<QWidget*> all = {f.main.get()};
    for (const auto& list : {f.dialogs.modals, f.dialogs.modeless})
        for (QWidget* w : list)
            if (w && !all.contains(w))
                all << w;
    return all;
}

}  // namespace testing_support
