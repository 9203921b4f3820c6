// vCards: what the export writes as address books read it; imported into an
// empty database it gives the same records, pins, markers and photos. What the
// vCards phones, mail programs and address books write give as contacts
// (letters decoded card by card, names, addresses, the custom fields found by
// their captions, nothing lost without a word): the files and what each gives
// are in samples/vcard.
#include "core/cards/card_fields.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"
#include "sample_files.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using exchange_samples::card;
using exchange_samples::picture;

namespace {

const QStringList kCaptions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société"});

TEST(VCardExport, WritesNamesAddressPhonesNotesAndPhotoAsAddressBooksReadThem)
{
    const CardRecord c = card({{1, "1 120                  45"}, {2, "Mme"}, {3, "DURAND; SARL"}, {4, "Hélène"},
                               {5, "3, rue de la Gare"}, {6, "33000"}, {7, "Bordeaux"}, {8, "05 56 00 00 00"},
                               {9, "06 12 34 56 78"}, {10, "helene@example.fr"}, {11, "Fleuriste"},
                               {13, "Les Fleurs\\du Mal"}});
    // Nothing but the names for a bare card: no empty ADR, TEL or NOTE.
    const QByteArray written =
        tb::vCardOf(c, kCaptions, QByteArray("\x89PNG\r\n", 6)) + tb::vCardOf(card({{3, "MARTIN"}}), kCaptions, {});
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(exchange_samples::sample("export/deux_fiches.vcf")));
}

// Field 1 as the program writes it.
QString pin(QChar marker, double x, double y)
{
    return marker + tb::positionText(x, y);
}

TEST(VCardRoundTrip, ExportThenImportIntoAnEmptyDatabaseGivesTheSameRecordsAndPhotos)
{
    TempProgramFolder program;
    TempDatabase source(program.path(), "Source");
    // Fields 11 to 15 are captioned "Profession", "Date de naissance",
    // "Société", "Observations" and "Montant dû" in a new database.
    const std::vector<CardRecord> cards = {
        card({{1, pin(u'1', 120, 45)}, {2, "Mr/Mme"}, {3, "DE L'ÉTOILE"}, {4, "Jean-Noël, Zoë"}, {5, QString(40, u'x')},
              {6, "2A004"}, {7, "Ajaccio; Corse"}, {8, "04 95 00 00 00"},
              {9, "06 00 00 00 00"}, {10, "a\\b@example.fr"}, {11, "  Œnologue: « grand » cru"}, {14, "x"},
              {20, "€ 12,50"}}), card({{1, pin(u'0', 300, 200)}, {3, "ARCHIVÉ"}, {6, "75001"}}),
        card({{1, pin(u'3', 10.5, 10)}, {4, "Sans nom"}}), card({{1, pin(u'1', 10, 10)}, {10, "seul@example.fr"}}),
        // The properties address books show, and texts they would not give back.
        card({{1, pin(u'2', 400, 320)}, {3, "MARTIN"}, {4, "Luc"}, {11, "Mécanicien"}, {12, "12/03/1975"},
              {13, "Garage; Martin, fils"}, {14, "Client: fidèle"}, {15, "120.00"}}),
        card({{1, pin(u'2', 400, 321)}, {3, "ROUX"}, {11, "chef  de  rang"}, {12, "1er mai"}, {13, " SARL"},
              {14, "Profession: voir plus haut"}}), card({{1, pin(u'4', 5, 5)}, {12, "31/02/1975"}, {13, "SARL Tout"}}),
        card({{1, pin(u' ', 7, 7)}, {3, "SANS MARQUE"}}),
        // The same person twice, once in small letters (a surname is always
        // stored in capitals): both are cards.
        card({{1, pin(u'5', 50, 50)}, {3, "DUPONT"}, {4, "Jean"}, {6, "69001"}}),
        card({{1, pin(u'5', 51, 51)}, {3, "DUPONT"}, {4, "jean"}, {6, "69001"}}),
    };
    writeCards(source.path(), cards);
    const QByteArray photo = picture("JPG");
    writeBytes(source.file("photo2.JPG"), photo);

    auto from = std::move(tb::Database::open(source.path()).value());
    const QString vcf = program.file("cartes.vcf");
    const auto written = tb::writeVCardFile(*from, vcf, true);
    ASSERT_TRUE(written) << written.error().message().toStdString();
    EXPECT_EQ(*written, qsizetype(cards.size()));

    TempDatabase empty(program.path(), "Vide");
    auto to = std::move(tb::Database::open(empty.path()).value());
    const tb::VCardReading reading = tb::readVCardPath(vcf, tb::exchangeCaptions(to->captions()));
    ASSERT_FALSE(reading.error);
    const tb::ImportReport report =
        tb::importContacts(*to, reading.contacts, {}, tb::alwaysAnswer(tb::DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(report.created, qsizetype(cards.size())) << report.notes.join(u'\n').toStdString();
    const QByteArray before = readBytes(source.file("lesfiches.dat"));
    const QByteArray after = readBytes(empty.file("lesfiches.dat"));
    ASSERT_EQ(after.size(), before.size());
    for (size_t n = 0; n < cards.size(); ++n)
        EXPECT_EQ(QString::fromLatin1(after.mid(qsizetype(n) * 630, 630)),
                  QString::fromLatin1(before.mid(qsizetype(n) * 630, 630)))
            << "card " << n + 1;
    EXPECT_EQ(readBytes(empty.file("photo2.jpg")), photo);

    // A missing folder is told (the active cards alone: the export's digests).
    const auto missing = tb::writeVCardFile(*from, program.file("nulle/part.vcf"), true);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, tb::kErrorPathNotFound);
}

TEST(VCardContacts, EachWriterFormGivesTheFieldsTheContactHolds)
{
    // Profession 11, Date de naissance 12, Société 13, Observations 14, Montant dû 15.
    const QStringList captions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations",
                                                       "Montant dû"});
    const QStringList names = exchange_samples::samples("vcard", "*.vcf");
    ASSERT_EQ(names.size(), 17);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const tb::VCardReading reading =
            tb::readVCardFile(exchange_samples::sample(name), name.contains("sans_observations") ? kCaptions : captions);
        ASSERT_FALSE(reading.error);
        EXPECT_EQ(exchange_samples::listing(reading.contacts, reading.notes), exchange_samples::expectedListing(name));
    }
    const tb::VCardReading none = tb::readVCardFile("Nom;Prénom\nDupont;Jean\n", captions);
    ASSERT_TRUE(none.error);
    EXPECT_EQ(none.error->message(), " Ce fichier ne contient aucune fiche vCard lisible (pas de ligne BEGIN:VCARD).");
}

}  // namespace
