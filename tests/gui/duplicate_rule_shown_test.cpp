// An imported contact that is a card already there by its e-mail address or
// its mobile number: the duplicate window says which, and contacts repeated
// within the file are each created.
#include "core/cards/card_record.h"
#include "core/db/database.h"
#include "gui/app/main_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui_fixture.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(DuplicateRuleShown, TheWindowSaysWhetherTheEMailOrTheMobileMatched)
{
    GuiFixture f;
    CardRecord known = makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE");
    known.fields[8] = tb::padField(QStringLiteral("06 12 34 56 78"), 15);
    known.fields[9] = tb::padField(QStringLiteral("marie@example.fr"), 40);
    f.openWithCards({known});
    QTemporaryDir files;
    const QString vcf = files.filePath(QStringLiteral("contacts.vcf"));
    writeBytes(vcf, "BEGIN:VCARD\nVERSION:3.0\nN:Martin;Marie;;;\nEMAIL:Marie@Example.fr \nEND:VCARD\n"
                    "BEGIN:VCARD\nVERSION:3.0\nN:Durand-Roy;M.;;;\nTEL;TYPE=CELL:+33 6 12 34 56 78\nEND:VCARD\n"
                    "BEGIN:VCARD\nVERSION:3.0\nN:Petit;Léa;;;\nEND:VCARD\n"
                    "BEGIN:VCARD\nVERSION:3.0\nN:Petit;Léa;;;\nEND:VCARD\n");
    f.dialogs.fileAnswers.enqueue(vcf);
    QStringList rules;
    for (int i = 0; i < 2; ++i)
        f.dialogs.modalScripts.enqueue([&](QWidget* w) {
            ASSERT_TRUE(qobject_cast<FDoublon*>(w));
            rules << labelText(w, QStringLiteral("LabelRegle"));
            click(child<QPushButton>(w, QStringLiteral("CommandIgnorer")));
        });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    f.trigger("ImportVcard");
    EXPECT_EQ(rules, QStringList({QStringLiteral("Une fiche de même adresse e-mail existe déjà."),
                                  QStringLiteral("Une fiche de même numéro de portable existe déjà.")}));
    auto* report = qobject_cast<FRapportImport*>(f.dialogs.lastModal());
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(labelText(report, QStringLiteral("LabelResume")),
              QStringLiteral("2 fiche(s) créée(s), 0 complétée(s), 2 ignorée(s)."));
    // The report's lines are the core's.
    auto* db = f.main->session().database();
    ASSERT_EQ(db->count(), 3);
    EXPECT_EQ(db->card(3)->field(3).trimmed(), QStringLiteral("PETIT"));
}

}  // namespace
