#include "core/exchange/contact.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

TEST(ContactRoles, GoToTheFieldWhoseCaptionNamesThem)
{
    const QStringList defaults = exchangeCaptions({QStringLiteral("Profession"), QStringLiteral("Date de naissance"),
                                                   QStringLiteral("Société"), QStringLiteral("Observations")});
    EXPECT_EQ(fieldOfRole(ContactRole::JobTitle, defaults), 11);
    EXPECT_EQ(fieldOfRole(ContactRole::Birthday, defaults), 12);
    EXPECT_EQ(fieldOfRole(ContactRole::Company, defaults), 13);
    EXPECT_EQ(fieldOfRole(ContactRole::Notes, defaults), 14);

    // Accents, case and blanks aside; a database without such a caption has no field for it.
    const QStringList own = exchangeCaptions({QString(), QStringLiteral("  SOCIETE "), QStringLiteral("Fonction")});
    EXPECT_EQ(fieldOfRole(ContactRole::Company, own), 12);
    EXPECT_EQ(fieldOfRole(ContactRole::JobTitle, own), 13);
    EXPECT_EQ(fieldOfRole(ContactRole::Notes, own), 0);
    EXPECT_EQ(captionKey(QStringLiteral("N° de Téléphone")), QStringLiteral("ndetelephone"));
}

}  // namespace
}  // namespace tb
