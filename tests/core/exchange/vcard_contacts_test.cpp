// What the vCards that phones, mail programs and address books write give as
// contacts: letters decoded card by card, names, addresses, the custom fields
// found by their captions, and nothing lost without a word.
#include "core/base/codepage.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

using exchange_samples::foldedBase64;
using exchange_samples::picture;

// The default captions of a new database: Profession 11, Date de naissance 12,
// Société 13, Observations 14, Montant dû 15.
const QStringList kCaptions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société",
     "Observations", "Montant dû"});
const QStringList kWithoutNotes = tb::exchangeCaptions({"Profession", "Date de naissance", "Société"});

using Fields = std::map<int, QString>;

Fields filled(const tb::Contact& c)
{
    Fields out;
    for (int k = 2; k <= 20; ++k)
        if (!c.field(k).isEmpty())
            out[k] = c.field(k);
    return out;
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding, bool mark)
{
    QStringEncoder encoder(encoding, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

struct Sample {
    const char* what;
    QByteArray file;
    std::vector<Fields> contacts;
    QStringList notKeptOfFirst;
    QByteArray photoOfFirst = {};
    const QStringList* captions = &kCaptions;
};

TEST(VCardContacts, EachWriterFormGivesTheFieldsTheContactHolds)
{
    const std::vector<Sample> samples = {
        {"Android 2.1: quoted-printable soft breaks, several numbers, an indented photo, no notes field",
         "BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:L=C3=A9vy;Ren=C3=A9e;;;\r\n"
         "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ren=C3=A9e L=C3=A9vy\r\n"
         "TEL;CELL;PREF:06 12 34 56 78\r\nTEL;HOME:01 23 45 67 89\r\nTEL;WORK:01 98 76 54 32\r\n"
         "TEL;CELL:07 00 00 00 01\r\nTEL;FAX:01 00 00 00 02\r\nEMAIL;HOME:renee@example.fr\r\n"
         "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;12 rue de l'=C3=89glise;Cr=C3=A9teil;;94000;France\r\n"
         "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Cliente fid=C3=A8le=0D=0A=\r\nProfession: M=C3=A9decin\r\n"
         "BDAY:1970-04-01\r\nPHOTO;ENCODING=BASE64;JPEG:" + foldedBase64(picture("JPG"), 60, " ")
             + "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nN:Martin;Paul;;;\r\nEND:VCARD\r\n",
         {{{3, "Lévy"}, {4, "Renée"}, {5, "12 rue de l'Église"}, {6, "94000"}, {7, "Créteil"}, {8, "01 23 45 67 89"},
           {9, "06 12 34 56 78"}, {10, "renee@example.fr"}, {11, "Médecin"}, {12, "01/04/1970"}},
          {{3, "Martin"}, {4, "Paul"}}},
         {"télécopie : 01 00 00 00 02", "autre téléphone : 01 98 76 54 32", "autre portable : 07 00 00 00 01",
          "note : Cliente fidèle"}, picture("JPG"), &kWithoutNotes},
        {"Apple 3.0: groups, escapes, a company's own card, photo lines not indented",
         "BEGIN:VCARD\nVERSION:3.0\nPRODID:-//Apple Inc.//iPhone OS 17.0//EN\nN:Kowalski;Łukasz;Jan;M.;\n"
         "FN:Łukasz Kowalski\nORG:Société Générale;\n"
         "item1.ADR;type=HOME;type=pref:;;5 avenue des Champs-Élysées\\nBâtiment B;Paris;;75008;France\n"
         "item1.X-ABADR:fr\nitem2.ADR;type=WORK:;;1 Main St;Boston;MA;02110;USA\n"
         "TEL;type=CELL;type=VOICE;type=pref:+33 6 11 22 33 44\nTEL;type=HOME;type=VOICE:01 40 00 00 00\n"
         "EMAIL;type=INTERNET;type=HOME;type=pref:lukasz@example.com\nEMAIL;type=INTERNET;type=WORK:l.k@example.com\n"
         "NOTE:Date de naissance: 1er mai\\, 1980\nPHOTO;ENCODING=b;TYPE=JPEG:"
             + foldedBase64(picture("JPG", Qt::blue), 72, "")
             + "END:VCARD\nBEGIN:VCARD\nVERSION:3.0\nN:;;;;\nFN:Boulangerie Dupain\nORG:Boulangerie Dupain;\n"
               "X-ABShowAs:COMPANY\nEND:VCARD\n",
         {{{2, "M."}, {3, "Kowalski"}, {4, "Łukasz Jan"}, {5, "5 avenue des Champs-Élysées, Bâtiment B"}, {6, "75008"},
           {7, "Paris"}, {8, "01 40 00 00 00"}, {9, "+33 6 11 22 33 44"}, {10, "lukasz@example.com"},
           {12, "1er mai, 1980"}, {13, "Société Générale"}}, {{3, "Boulangerie Dupain"}, {13, "Boulangerie Dupain"}}},
         {"autre adresse e-mail : l.k@example.com", "autre adresse : 1 Main St, 02110 Boston, USA"},
         picture("JPG", Qt::blue)},
        {"4.0: tel: addresses, a data: photo, no N",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anne-Sophie Dupont\r\nN:Dupont;Anne-Sophie;;Mme;\r\n"
         "TEL;TYPE=\"cell,voice\";VALUE=uri:tel:+33-7-00-11-22-33\r\nTEL;VALUE=uri;TYPE=home:tel:04 72 00 00 00\r\n"
         "ADR;TYPE=work;LABEL=\"1 place Bellecour\\n69002 Lyon\":;;1 place Bellecour;Lyon;;69002;France\r\n"
         "EMAIL;PREF=1:asd@example.org\r\nPHOTO:data:image/png;base64," + picture("PNG").toBase64()
             + "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Jean-Pierre de la Fontaine\r\nEND:VCARD\r\n",
         {{{2, "Mme"}, {3, "Dupont"}, {4, "Anne-Sophie"}, {5, "1 place Bellecour"}, {6, "69002"}, {7, "Lyon"},
           {8, "04 72 00 00 00"}, {9, "+33-7-00-11-22-33"}, {10, "asd@example.org"}},
          {{3, "de la Fontaine"}, {4, "Jean-Pierre"}}}, {}, picture("PNG")},
        {"2.1 quoted-printable with a Latin-1 charset, and 8-bit text without one read as Windows-1252",
         "BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=FCrgen;;;\r\n"
         "ADR;HOME;ENCODING=QUOTED-PRINTABLE:;;3 all=E9e des Tilleuls =80;Besan=E7on;;25000;France\r\n"
         "END:VCARD\r\n",
         {{{3, "Müller"}, {4, "Jürgen"}, {5, "3 allée des Tilleuls €"}, {6, "25000"}, {7, "Besançon"}}}, {}},
        {"a UTF-8 card and a Windows-1252 card in one file, each decoded by itself",
         "BEGIN:VCARD\nVERSION:3.0\nN:Müller;Jürgen\nEND:VCARD\n"
             + tb::toCp1252("BEGIN:VCARD\nVERSION:3.0\nN:Gérard;Zoé\nEND:VCARD\n"),
         {{{3, "Müller"}, {4, "Jürgen"}}, {{3, "Gérard"}, {4, "Zoé"}}}, {}},
        {"3.0 lines folded with a blank or a tab, one inside a two-byte letter",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:B\xC3\r\n \xA9r\xC3\xA9zina;Zo\r\n\t\xC3\xA9;;;\r\nEND:VCARD\r\n",
         {{{3, "Bérézina"}, {4, "Zoé"}}}, {}},
        {"UTF-16 little-endian with a byte order mark, as macOS exports",
         utf16("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lefèvre;Chloé;;;\r\nEND:VCARD\r\n", QStringConverter::Utf16LE, true),
         {{{3, "Lefèvre"}, {4, "Chloé"}}}, {}},
        {"UTF-16 big-endian without a byte order mark",
         utf16("BEGIN:VCARD\nVERSION:3.0\nN:Œuvray;Gaëlle\nEND:VCARD\n", QStringConverter::Utf16BE, false),
         {{{3, "Œuvray"}, {4, "Gaëlle"}}}, {}},
        {"4.0 address given only as its LABEL parameter, with caret escapes",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Le Goff;Yann;;;\r\n"
         "ADR;TYPE=home;LABEL=\"12 quai de l'^'Odet^' ^^2^n29000 Quimper\":;;;;;;\r\nEND:VCARD\r\n",
         {{{3, "Le Goff"}, {4, "Yann"}, {5, "12 quai de l'\"Odet\" ^2"}, {6, "29000"}, {7, "Quimper"}}}, {}},
        {"3.0 backslash escapes in a street and a note, after a UTF-8 byte order mark",
         "\xEF\xBB\xBF" "BEGIN:VCARD\nVERSION:3.0\nN:Roux;Paul\nADR:;;5 rue Haute\\nBât. A\\, 2e étage;Lyon;;69001;\n"
         "NOTE:Client depuis 2010\\; fidèle\\nMontant dû: 120.00\nEND:VCARD\n",
         {{{3, "Roux"}, {4, "Paul"}, {5, "5 rue Haute, Bât. A, 2e étage"},
           {6, "69001"}, {7, "Lyon"}, {14, "Client depuis 2010; fidèle"}, {15, "120.00"}}}, {}},
        {"grouped properties: a number labelled mobile, the preferred e-mail and phone before the first",
         "BEGIN:VCARD\nVERSION:3.0\nN:Petit;Léa\nitem1.TEL:06 11 11 11 11\nitem1.X-ABLabel:_$!<Mobile>!$_\n"
         "TEL;TYPE=home:01 11 11 11 11\nTEL;TYPE=home,pref:01 22 22 22 22\n"
         "EMAIL:lea@example.fr\nEMAIL;PREF=1:lea.petit@example.fr\nEND:VCARD\n",
         {{{3, "Petit"}, {4, "Léa"}, {8, "01 22 22 22 22"}, {9, "06 11 11 11 11"}, {10, "lea.petit@example.fr"}}},
         {"autre téléphone : 01 11 11 11 11", "autre adresse e-mail : lea@example.fr"}},
        {"only FN: the last word is the surname, surname first after a comma, a company's own card",
         "BEGIN:VCARD\nVERSION:3.0\nFN:Marie-Claire Dubois\nEND:VCARD\n"
         "BEGIN:VCARD\nVERSION:3.0\nFN:Dupont, Jean\nEND:VCARD\n"
         "BEGIN:VCARD\nVERSION:3.0\nFN:Garage du Centre\nORG:Garage du Centre\nEND:VCARD\n",
         {{{3, "Dubois"}, {4, "Marie-Claire"}}, {{3, "Dupont"}, {4, "Jean"}},
          {{3, "Garage du Centre"}, {13, "Garage du Centre"}}}, {}},
        {"ORG, TITLE, BDAY and NOTE go to the fields their captions name; the person keeps the name",
         "BEGIN:VCARD\nVERSION:3.0\nN:Martin;Luc;;M.;\nFN:Luc Martin\nORG:Garage Martin;Atelier\nTITLE:Mécanicien\n"
         "BDAY:1975-03-12\nNOTE:Appeler le matin\\nProfession: garagiste\nEND:VCARD\n"
         "BEGIN:VCARD\nVERSION:3.0\nN:Blanc;Ève\nBDAY:19800229\nEND:VCARD\n"
         "BEGIN:VCARD\nVERSION:3.0\nN:Noir;Ugo\nBDAY;X-APPLE-OMIT-YEAR=1604:1604-07-14\nEND:VCARD\n",
         {{{2, "M."}, {3, "Martin"}, {4, "Luc"}, {11, "Mécanicien"}, {12, "12/03/1975"},
           {13, "Garage Martin, Atelier"}, {14, "Appeler le matin"}}, {{3, "Blanc"}, {4, "Ève"}, {12, "29/02/1980"}},
          {{3, "Noir"}, {4, "Ugo"}, {12, "14/07"}}},
         {"note : garagiste"}},
        {"3.0 LABEL property alone, and a home address chosen before a work one",
         "BEGIN:VCARD\nVERSION:3.0\nN:Faure;Tom\nLABEL;TYPE=HOME:3 place du Marché\\n7190 Saint-Sauveur\\nFrance\n"
         "END:VCARD\n"
         "BEGIN:VCARD\nVERSION:3.0\nN:Vidal;Ana\nADR;TYPE=WORK:;;1 cours Jaurès;Nîmes;;30000;France\n"
         "ADR;TYPE=HOME:;;8 impasse Vive;Uzès;;30700;France\nEND:VCARD\n",
         {{{3, "Faure"}, {4, "Tom"}, {5, "3 place du Marché"}, {6, "7190"}, {7, "Saint-Sauveur"}},
          {{3, "Vidal"}, {4, "Ana"}, {5, "8 impasse Vive"}, {6, "30700"}, {7, "Uzès"}}}, {}},
        {"first names that do not fit: the given name alone, a nested AGENT card a contact of its own",
         "BEGIN:VCARD\nVERSION:3.0\nN:Lambert;Jean-Christophe;Marie Alexandre;;\n"
         "AGENT:BEGIN:VCARD\\nVERSION:3.0\\nN:Roy;Inès\\nTEL:01 02 03 04 05\\nEND:VCARD\nEND:VCARD\n"
         "BEGIN:VCARD\nVERSION:2.1\nN:Henry;Max\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\nN:Vasseur;Lou\nEND:VCARD\n"
         "END:VCARD\n",
         {{{3, "Lambert"}, {4, "Jean-Christophe"}}, {{3, "Roy"}, {4, "Inès"}, {8, "01 02 03 04 05"}},
          {{3, "Henry"}, {4, "Max"}}, {{3, "Vasseur"}, {4, "Lou"}}},
         {"autres prénoms : Marie Alexandre"}},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.what);
        const tb::VCardReading reading = tb::readVCardFile(s.file, *s.captions);
        ASSERT_FALSE(reading.error);
        ASSERT_EQ(reading.contacts.size(), s.contacts.size());
        for (size_t i = 0; i < s.contacts.size(); ++i)
            EXPECT_EQ(filled(reading.contacts[i]), s.contacts[i]) << "contact " << i + 1;
        EXPECT_EQ(reading.contacts[0].notKept, s.notKeptOfFirst);
        EXPECT_EQ(reading.contacts[0].photo, s.photoOfFirst);
    }
}

// The pins read back whole are checked by the export's round trip.
TEST(VCardContacts, AGarbledPinOfOurOwnExportIsReported)
{
    const auto contacts = tb::readVCards("BEGIN:VCARD\nN:C\nX-TABULON-PIN:A;x;1\nEND:VCARD\n", kCaptions);
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_FALSE(contacts[0].pin);
    EXPECT_EQ(contacts[0].notKept, QStringList("épingle illisible : A;x;1"));
}

TEST(VCardContacts, AFileWithoutAnyCardIsRefusedAndLinesOutsideCardsAreReported)
{
    const tb::VCardReading none = tb::readVCardFile("Nom;Prénom\nDupont;Jean\n", kCaptions);
    ASSERT_TRUE(none.error);
    EXPECT_EQ(none.error->message(), " Ce fichier ne contient aucune fiche vCard lisible (pas de ligne BEGIN:VCARD).");
    const tb::VCardReading some =
        tb::readVCardFile("garbage\nBEGIN:VCARD\nN:Dupont;Jean\nnot a property\nEND:VCARD\nEND:VCARD\n"
                          "BEGIN:VCARD\nN:Cut;Off\n", kCaptions);
    ASSERT_FALSE(some.error);
    ASSERT_EQ(some.contacts.size(), 2u);
    EXPECT_EQ(some.contacts[0].notKept, QStringList("1 ligne(s) illisible(s), dont : ligne 4 « not a property »"));
    EXPECT_EQ(some.contacts[1].remarks, QStringList("fiche non terminée (END:VCARD manquant) à partir de la ligne 7"));
    EXPECT_EQ(some.notes, QStringList({"Ligne 6 : END:VCARD sans BEGIN:VCARD",
                                       QStringLiteral("1 ligne(s) hors d'une fiche vCard ignorée(s), la première à la "
                                                      "ligne 1")}));
}

}  // namespace
