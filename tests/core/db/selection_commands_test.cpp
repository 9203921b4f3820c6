// Commands on a selection of cards: archive, one message in blind copy, export.
#include "core/db/database.h"
#include "core/db/selection_commands.h"
#include "core/exchange/csv.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(SelectionCommands, ArchiveMailAndExportTheSelectedCardsOnly)
{
    TempProgramFolder program;
    TempDatabase folder(program.path());
    std::vector<CardRecord> cards;
    for (int k = 1; k <= 5; ++k) {
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(k), "", k == 4 ? 0 : 2, k, k));
        if (k != 3)
            cards.back().field(tb::kFieldEmail) = tb::padField(k == 5 ? "Client1@exemple.fr" : QStringLiteral("client%1@exemple.fr").arg(k), 40);
    }
    writeCards(folder.path(), cards);
    auto db = std::move(tb::Database::open(folder.path())).value();

    // The same address once (any case), the card without one said.
    const tb::Result<tb::BccMessage> mail = tb::bccMessage(*db, {5, 1, 3, 2});
    ASSERT_TRUE(mail);
    EXPECT_EQ(QUrlQuery(mail->url).queryItemValue("bcc"), "Client1@exemple.fr,client2@exemple.fr");
    EXPECT_TRUE(mail->url.path().isEmpty());
    EXPECT_EQ(mail->report(), " 1 fiche(s) sans adresse électronique, laissée(s) de côté : n° 3.");

    // Only the selection is exported, archived cards when asked.
    const QString csv = program.file("choix.csv");
    EXPECT_EQ(*tb::writeCsvFile(*db, csv, tb::CardChoice(false, {2, 4, 5})), 2);
    EXPECT_EQ(*tb::writeCsvFile(*db, csv, tb::CardChoice(true, {2, 4, 5})), 3);
    EXPECT_FALSE(QString::fromUtf8(readBytes(csv)).contains("NOM1"));

    // Archived once for all; a card archived already is counted apart.
    tb::ArchiveOutcome outcome = tb::archiveCards(*db, {1, 4, 5});
    EXPECT_EQ(outcome.archived, 2);
    EXPECT_EQ(outcome.report(), " 2 fiche(s) archivée(s). 1 l'étai(en)t déjà.");
    EXPECT_FALSE(db->card(5)->isActive());
    EXPECT_EQ(db->card(5)->field(tb::kFieldPosition).mid(1), cards[4].field(tb::kFieldPosition).mid(1));
    // A write that fails stops and is said, the cards before it archived.
    EXPECT_EQ(codeUnderFileSizeLimit(10, [&] {
                  const tb::ArchiveOutcome failed = tb::archiveCards(*db, {2, 3});
                  return failed.error && failed.archived == 0 && failed.report().contains("s'est arrêté") ? 0 : 1;
              }),
              0);
}
