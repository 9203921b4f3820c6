#include "core/exchange/contact.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

TEST(ContactRoles, GoToTheFieldWhoseCaptionNamesThem)
{
    const QStringList defaults = exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations"});
    EXPECT_EQ(fieldOfRole(ContactRole::JobTitle, defaults), 11);
    EXPECT_EQ(fieldOfRole(ContactRole::Birthday, defaults), 12);
    EXPECT_EQ(fieldOfRole(ContactRole::Company, defaults), 13);
    EXPECT_EQ(fieldOfRole(ContactRole::Notes, defaults), 14);

    // Accents, case and blanks aside; a database without such a caption has no field for it.
    const QStringList own = exchangeCaptions({QString(), "  SOCIETE ", "Fonction"});
    EXPECT_EQ(fieldOfRole(ContactRole::Company, own), 12);
    EXPECT_EQ(fieldOfRole(ContactRole::JobTitle, own), 13);
    EXPECT_EQ(fieldOfRole(ContactRole::Notes, own), 0);
    EXPECT_EQ(captionKey("N° de Téléphone"), "ndetelephone");
}

}  // namespace
}  // namespace tb
