// What the vCards that phones, mail programs and address books write give as
// contacts: letters decoded card by card, names, addresses, the custom fields
// found by their captions, and nothing lost without a word. The files and
// what each gives are in samples/vcard.
#include "core/exchange/vcard.h"
#include "sample_files.h"

#include <gtest/gtest.h>

namespace {

using namespace exchange_samples;

TEST(VCardContacts, EachWriterFormGivesTheFieldsTheContactHolds)
{
    // Profession 11, Date de naissance 12, Société 13, Observations 14, Montant dû 15.
    const QStringList withoutNotes = tb::exchangeCaptions({"Profession", "Date de naissance", "Société"});
    const QStringList captions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations",
                                                       "Montant dû"});
    const QStringList names = samples("vcard", "*.vcf");
    ASSERT_EQ(names.size(), 17);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const tb::VCardReading reading =
            tb::readVCardFile(sample(name), name.contains("sans_observations") ? withoutNotes : captions);
        ASSERT_FALSE(reading.error);
        EXPECT_EQ(listing(reading.contacts, reading.notes), expectedListing(name));
    }
    const tb::VCardReading none = tb::readVCardFile("Nom;Prénom\nDupont;Jean\n", captions);
    ASSERT_TRUE(none.error);
    EXPECT_EQ(none.error->message(), " Ce fichier ne contient aucune fiche vCard lisible (pas de ligne BEGIN:VCARD).");
}

}  // namespace
