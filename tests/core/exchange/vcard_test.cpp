// vCards: the export as address books read it and back into the same records; what each
// writer's vCards give as contacts (the files and their listings are in samples/vcard).
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"
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

TEST(VCardRoundTrip, ExportThenImportIntoAnEmptyDatabaseGivesTheSameRecordsAndPhotos)
{
    TempProgramFolder program;
    TempDatabase source(program.path(), "Source");
    // Ten records: letters beyond ASCII and texts to escape, an archived card,
    // a card without surname, one with an e-mail alone, the properties address
    // books show (fields 11 to 15 are captioned "Profession", "Date de
    // naissance", "Société", "Observations", "Montant dû" in a new database)
    // and texts they would not give back, a blank marker, and the same person
    // twice, once in small letters: both are cards.
    const QByteArray before = exchange_samples::sample("export/aller_retour.dat");
    const qsizetype cards = before.size() / 630;
    ASSERT_EQ(cards, 10);
    writeBytes(source.file("lesfiches.dat"), before);
    writeBytes(source.file("NBFiches.dat"), QByteArray::number(cards) + "\r\n");
    const QByteArray photo = picture("JPG");
    writeBytes(source.file("photo2.JPG"), photo);

    auto from = std::move(tb::Database::open(source.path()).value());
    const QString vcf = program.file("cartes.vcf");
    const auto written = tb::writeVCardFile(*from, vcf, true);
    ASSERT_TRUE(written) << written.error().message().toStdString();
    EXPECT_EQ(*written, cards);

    TempDatabase empty(program.path(), "Vide");
    auto to = std::move(tb::Database::open(empty.path()).value());
    const tb::VCardReading reading = tb::readVCardPath(vcf, tb::exchangeCaptions(to->captions()));
    ASSERT_FALSE(reading.error);
    const tb::ImportReport report =
        tb::importContacts(*to, reading.contacts, {}, tb::alwaysAnswer(tb::DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(report.created, cards) << report.notes.join(u'\n').toStdString();
    const QByteArray after = readBytes(empty.file("lesfiches.dat"));
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype n = 0; n < cards; ++n)
        EXPECT_EQ(QString::fromLatin1(after.mid(n * 630, 630)), QString::fromLatin1(before.mid(n * 630, 630)))
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
