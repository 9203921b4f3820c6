// What the import makes of the contacts both readers give: roles in the fields
// their captions name, no blank card, French postal codes mended, our own pins
// restored, no oversize photo stored.
#include "core/base/number_text.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/csv.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"
#include "support/fixtures.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QStringList kCaptions = tb::exchangeCaptions({});

tb::Contact contact(const std::map<int, QString>& fields, const QString& country = {})
{
    tb::Contact c;
    for (const auto& [k, text] : fields)
        c.field(k) = text;
    c.country = country;
    return c;
}

class ContactsToCards : public ::testing::Test {
protected:
    void SetUp() override { db = std::move(tb::Database::open(base.path()).value()); }
    QStringList photos() const { return QDir(base.path()).entryList({"photo*"}, QDir::Files); }

    TempProgramFolder program;
    TempDatabase base{program.path()};
    std::unique_ptr<tb::Database> db;
};

TEST_F(ContactsToCards, AContactWithNoFieldForTheCardIsNotCreatedButListed)
{
    // From a vCard: a web address alone, a photo alone; from a CSV file: a row
    // whose only value is in a column no field takes.
    std::vector<tb::Contact> contacts =
        tb::readVCards("BEGIN:VCARD\nVERSION:3.0\nURL:https://example.fr\nEND:VCARD\n"
                       "BEGIN:VCARD\nVERSION:3.0\nN:Dupont;Jean\nEND:VCARD\n"
                       "BEGIN:VCARD\nVERSION:3.0\nPHOTO;ENCODING=b;TYPE=PNG:"
                           + exchange_samples::picture("PNG").toBase64() + "\nEND:VCARD\n", kCaptions);
    auto rows = tb::csvContacts("Nom,Site\n,https://example.com\nMartin,\n", kCaptions, {}, nullptr);
    ASSERT_TRUE(rows);
    for (tb::Contact& c : *rows)
        contacts.push_back(std::move(c));
    const tb::ImportReport report = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(tb::DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(report.created, 2);
    EXPECT_EQ(report.notCreated, 3);
    EXPECT_EQ(db->count(), 2);
    EXPECT_EQ(db->card(2).value().field(3).trimmed(), "MARTIN");
    EXPECT_TRUE(photos().isEmpty());
    EXPECT_EQ(report.summary(),
              "2 fiche(s) créée(s), 0 complétée(s), 0 ignorée(s), 3 contact(s) sans champ non créé(s).");
    EXPECT_EQ(report.notes.filter("aucun champ"),
              QStringList({QStringLiteral("Contact n° 1 du fichier : aucun champ pour la fiche, non créée (site : "
                                          "https://example.fr)"),
                           "Contact n° 3 du fichier : aucun champ pour la fiche, non créée (une photo)",
                           QStringLiteral("Contact n° 4 du fichier : aucun champ pour la fiche, non créée (Site : "
                                          "https://example.com)")}))
        << report.notes.join(u'\n').toStdString();
}

TEST(ContactToCardRules, FourDigitPostalCodesGainTheirZeroInFranceOrWithoutCountry)
{
    const auto code = [](const QString& postal, const QString& country, QStringList* notes = nullptr) {
        return tb::cardOfContact(contact({{3, "A"}, {6, postal}}, country), kCaptions, {}, 1, 0, notes)
            .field(6);
    };
    QStringList notes;
    EXPECT_EQ(code("7190", {}, &notes), "07190");
    EXPECT_EQ(notes, QStringList("A : code postal « 7190 » lu « 07190 »"));
    EXPECT_EQ(code(" 1000 ", "France"), "01000");
    EXPECT_EQ(code("1000", "Belgique"), "1000 ");
    EXPECT_EQ(code("75001", {}), "75001");
    EXPECT_EQ(code("719", {}), "719  ");
    // The pin then lands in the mended department.
    const CardRecord c = tb::cardOfContact(contact({{6, "7190"}}), kCaptions, {}, 1, 0, nullptr);
    EXPECT_EQ(QPointF(c.x(), c.y()), tb::departmentPoint("07190", 0));
}

TEST(ContactToCardRules, APinOfOurOwnExportIsRestoredWithItsMarker)
{
    tb::Contact c = contact({{3, "A"}, {6, "33000"}});
    c.pin = tb::ContactPin{u'7', 250, 300.5};
    const CardRecord placed = tb::cardOfContact(c, kCaptions, {}, 1, 0, nullptr);
    EXPECT_EQ(placed.marker(), 7);
    EXPECT_EQ(placed.x(), 250);
    EXPECT_EQ(placed.y(), 300.5);
    c.pin = tb::ContactPin{u' ', 10, 20};
    EXPECT_FALSE(tb::cardOfContact(c, kCaptions, {}, 1, 0, nullptr).isActive());
    c.pin = tb::ContactPin{u'0', 10, 20};
    EXPECT_FALSE(tb::cardOfContact(c, kCaptions, {}, 1, 0, nullptr).isActive());
}

TEST_F(ContactsToCards, APhotoTooLargeOrUnreadableIsNotStoredAndTheReportSaysWhy)
{
    // A file of 11 Mo that starts like a JPEG, a bitmap whose header claims
    // 20000 pixels a side, and a small PNG stored as the JPEG the cards show.
    tb::Contact huge = contact({{3, "Grand"}});
    huge.photo = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(11 << 20, '\0');
    tb::Contact claimed = contact({{3, "Large"}});
    claimed.photo = exchange_samples::bitmapHeader(20000, 20000) + QByteArray(12, '\0');
    tb::Contact small = contact({{3, "Petit"}});
    small.photo = exchange_samples::picture("PNG");
    const tb::ImportReport report =
        tb::importContacts(*db, {huge, claimed, small}, {}, tb::alwaysAnswer(tb::DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(report.created, 3);
    EXPECT_EQ(photos(), QStringList("photo3.jpg"));
    EXPECT_TRUE(readBytes(base.file("photo3.jpg")).startsWith("\xFF\xD8"));
    const QString why = QStringLiteral(" : non repris, photo illisible ou trop grande (plus de 10 Mo, de 10000 pixels de "
                                       "côté ou de 50 millions de pixels)");
    EXPECT_TRUE(report.notes.contains(QStringLiteral("Grand") + why));
    EXPECT_TRUE(report.notes.contains(QStringLiteral("Large") + why));
}

TEST(ContactRoles, GoToTheFieldWhoseCaptionNamesThem)
{
    const QStringList defaults = tb::exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations"});
    EXPECT_EQ(tb::fieldOfRole(tb::ContactRole::JobTitle, defaults), 11);
    EXPECT_EQ(tb::fieldOfRole(tb::ContactRole::Birthday, defaults), 12);
    EXPECT_EQ(tb::fieldOfRole(tb::ContactRole::Company, defaults), 13);
    EXPECT_EQ(tb::fieldOfRole(tb::ContactRole::Notes, defaults), 14);

    // Accents, case and blanks aside; a database without such a caption has no field for it.
    const QStringList own = tb::exchangeCaptions({QString(), "  SOCIETE ", "Fonction"});
    EXPECT_EQ(tb::fieldOfRole(tb::ContactRole::Company, own), 12);
    EXPECT_EQ(tb::fieldOfRole(tb::ContactRole::JobTitle, own), 13);
    EXPECT_EQ(tb::fieldOfRole(tb::ContactRole::Notes, own), 0);
    EXPECT_EQ(tb::captionKey("N° de Téléphone"), "ndetelephone");
}

}  // namespace
