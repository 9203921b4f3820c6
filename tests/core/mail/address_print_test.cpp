// Labels and envelopes read back from the PDF they are printed to; the address block; the sender.
#include "core/db/database.h"
#include "core/mail/address_print.h"
#include "core/mail/postal_address.h"
#include "core/mail/sender_address.h"
#include "support/fixtures.h"
#include "support/pdf_words.h"
#include "support/write_failures.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct SheetCase {
    tb::LabelSheet sheet;
    int start;
    // Corner of the first label and of the last one, as the sheet's maker gives them.
    QPointF first, last;
};

TEST(LabelSheets, EachAddressInsideItsOwnLabelFromTheStartPositionOnEverySheet)
{
    const auto sheet = [](const char* id) { return *tb::labelSheetById(id); };
    const std::vector<SheetCase> cases = {
        {sheet("L7160"), 1, {7.21, 15.15}, {7.21 + 2 * 66.04, 15.15 + 6 * 38.1}},
        {sheet("L7162"), 16, {4.65, 12.9}, {4.65 + 101.6, 12.9 + 7 * 33.9}},
        {sheet("70x37"), 24, {0, 0}, {140, 7 * 37}},
        {tb::customLabelSheet(2, 3, 80, 50, 20, 30, 10, 5), 4, {20, 30}, {110, 140}},
    };
    QTemporaryDir out;
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(c.sheet.id.toStdString());
        ASSERT_TRUE(tb::labelSheetProblem(c.sheet).isEmpty());
        EXPECT_NEAR(c.sheet.label(0).left(), c.first.x(), 0.01);
        EXPECT_NEAR(c.sheet.label(0).top(), c.first.y(), 0.01);
        EXPECT_NEAR(c.sheet.label(c.sheet.perSheet() - 1).left(), c.last.x(), 0.01);
        EXPECT_NEAR(c.sheet.label(c.sheet.perSheet() - 1).top(), c.last.y(), 0.01);

        // More than a sheet and a half from the start: three pages at most.
        const int count = c.sheet.perSheet() + c.sheet.perSheet() / 2 + 1;
        std::vector<QStringList> blocks;
        for (int k = 0; k < count; ++k)
            blocks.push_back({QStringLiteral("Mademoiselle Marie-Christine ETQ%1").arg(k), "123 avenue du Général de Gaulle",
                              "17000 CHÂTELAILLON-PLAGE"});
        const QString pdf = out.filePath(c.sheet.id + ".pdf");
        QPdfWriter writer(pdf);
        const tb::Result<int> pages = tb::printLabels(writer, c.sheet, c.start, blocks);
        ASSERT_TRUE(pages);
        EXPECT_EQ(*pages, (c.start - 1 + count + c.sheet.perSheet() - 1) / c.sheet.perSheet());

        std::map<std::pair<int, int>, int> wordsIn;  // (page, label) to words
        for (const PdfWord& w : pdfWords(pdf)) {
            int inside = -1;
            for (int k = 0; k < c.sheet.perSheet(); ++k)
                if (c.sheet.label(k).contains(w.box))
                    inside = k;
            ASSERT_GE(inside, 0) << "across an edge: " << w.text.toStdString() << " page " << w.page;
            ++wordsIn[{w.page, inside}];
            if (w.text.startsWith("ETQ")) {
                const int place = c.start - 1 + w.text.mid(3).toInt();
                EXPECT_EQ(w.page, place / c.sheet.perSheet()) << w.text.toStdString();
                EXPECT_EQ(inside, place % c.sheet.perSheet()) << w.text.toStdString();
            }
        }
        EXPECT_EQ(int(wordsIn.size()), count);
        for (const auto& [label, words] : wordsIn)
            EXPECT_EQ(words, 11) << "page " << label.first << " label " << label.second;
    }
    // A sheet past A4 is refused before printing.
    EXPECT_FALSE(tb::labelSheetProblem(tb::customLabelSheet(3, 8, 70, 38, 0, 0, 0, 0)).isEmpty());
}

TEST(LabelSheets, ThePrintersUnprintableEdgeIsSaidWhereItCutsALabel)
{
    const QMarginsF printer(4.2, 4.2, 4.2, 4.2);
    EXPECT_TRUE(tb::labelEdgeReport(*tb::labelSheetById("L7160"), printer).isEmpty());
    const QString cut = tb::labelEdgeReport(*tb::labelSheetById("70x37"), printer);
    // The labels along the edges of a sheet without margins: all but 5, 8, 11, 14, 17, 20.
    EXPECT_TRUE(cut.contains("n° 1, 2, 3, 4, 6, 7, 9, 10, 12, 13, 15, 16, 18, 19, 21, 22, 23, 24 ")) << cut.toStdString();
    EXPECT_TRUE(tb::envelopeEdgeReport(tb::envelopes()[0], printer, true).isEmpty());
    EXPECT_FALSE(tb::envelopeEdgeReport(tb::envelopes()[0], QMarginsF(12, 12, 12, 12), false).isEmpty());
}

TEST(Envelopes, AddressFromTheWindowCornerAndTheSenderAtTheTopLeft)
{
    QTemporaryDir out;
    for (const tb::Envelope& e : tb::envelopes()) {
        SCOPED_TRACE(e.name.toStdString());
        const QString pdf = out.filePath(e.name + ".pdf");
        QPdfWriter writer(pdf);
        const tb::Result<int> pages = tb::printEnvelopes(writer, e, {"EXPEDITEUR SARL", "1 rue Haute"},
                                                          {{"Monsieur DESTINATAIRE", "2 rue Basse", "17000 LA ROCHELLE"},
                                                           {"Madame AUTRE", "17340 YVES"}});
        ASSERT_TRUE(pages);
        EXPECT_EQ(*pages, 2);
        const QPointF corner = e.addressCorner();
        if (e.name == "DL")
            EXPECT_EQ(corner, QPointF(110, 55));
        int senders = 0, addressed = 0;
        for (const PdfWord& w : pdfWords(pdf)) {
            EXPECT_LE(w.box.right(), e.width);
            EXPECT_LE(w.box.bottom(), e.height);
            if (w.text == "EXPEDITEUR") {
                ++senders;
                EXPECT_LT(w.box.right(), corner.x());
                EXPECT_LT(w.box.top(), 20);
            } else if (w.text == "DESTINATAIRE" || w.text == "AUTRE") {
                ++addressed;
                EXPECT_GE(w.box.left(), corner.x() - 0.5);
                EXPECT_GE(w.box.top(), corner.y() - 0.5);
                EXPECT_LT(w.box.top(), corner.y() + 6);
            }
        }
        EXPECT_EQ(senders, 2);
        EXPECT_EQ(addressed, 2);
    }
}

// The address block of labels and letters, and the sender kept for envelopes.

CardRecord card(const QString& civility, const QString& first, const QString& surname, const QString& street,
                const QString& code, const QString& city, int marker = 1)
{
    return withFields(makeCard(surname, first, marker, 10, 10, code, city), {{2, civility}, {5, street}});
}

TEST(PostalAddressRule, NameStreetAndCityLinesWithinThirtyEightCharactersCutAtAWordAndReported)
{
    // Blanks of the padded fields go; the city line in capitals, "ß" kept.
    tb::PostalAddress a = tb::postalAddressLines(card("Madame", "Zoé  Anne", "DURAND", " 12 rue des Lilas", "17000", "la rochelle weiß"));
    EXPECT_EQ(a.lines, QStringList({"Madame Zoé Anne DURAND", "12 rue des Lilas", "17000 LA ROCHELLE WEIß"}));
    EXPECT_TRUE(a.cut.isEmpty());
    EXPECT_TRUE(tb::addressReport(3, a).isEmpty());

    // Exactly 38 characters stay whole; 39 are cut at the last word that fits.
    const QString street38 = QStringLiteral("1 chemin de la Grande Fontaine Basse A");
    a = tb::postalAddressLines(card("", "", "", street38, "", ""));
    EXPECT_EQ(a.lines, QStringList{street38});
    a = tb::postalAddressLines(card("", "", "", street38 + "B", "", ""));
    EXPECT_EQ(a.lines, QStringList{"1 chemin de la Grande Fontaine Basse"});
    EXPECT_EQ(a.cut, QStringList{street38 + "B"});
    // The name of three full fields (47 characters) cut after a word.
    a = tb::postalAddressLines(card("Mademoiselle", "Marie-Christine", "DE LA TOUR-DUPIN", "", "75001", "PARIS"));
    EXPECT_EQ(a.lines[0], "Mademoiselle Marie-Christine DE LA");
    EXPECT_EQ(a.lines.size(), 2);  // empty street left out
    // A city of one long hyphenated word is cut at a hyphen, never down to its code.
    a = tb::postalAddressLines(card("", "", "", "", "51290", "Saint-Remy-en-Bouzemont-Saint-Genest-et-Isson"));
    EXPECT_EQ(a.lines, QStringList{"51290 SAINT-REMY-EN-BOUZEMONT-SAINT"});
    // One word longer than a line is cut at 38 characters.
    a = tb::postalAddressLines(card("", "", "", QString(40, u'X'), "", ""));
    EXPECT_EQ(a.lines, QStringList{QString(38, u'X')});
    EXPECT_EQ(tb::addressReport(12, a), QStringList{"Fiche n° 12 : « " + QString(40, u'X') + " » dépasse 38 caractères, coupé en « "
                                                    + QString(38, u'X') + " »."});
    // A card with nothing to print is said too.
    a = tb::postalAddressLines(card("", "", "", "", "", ""));
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(tb::addressReport(4, a), QStringList{"Fiche n° 4 : aucune adresse, pas d'étiquette."});
}

TEST(PostalAddressRule, BlocksOfTheCardsAskedInTheirOrderArchivedOnesOnlyWhenAsked)
{
    TempProgramFolder program;
    TempDatabase folder(program.path());
    std::vector<CardRecord> cards;
    for (int k = 1; k <= 200; ++k)
        cards.push_back(card("M.", "Jean", QStringLiteral("NOM%1").arg(k), "rue", "17000", "Ville", k == 3 ? 0 : 2));
    writeCards(folder.path(), cards);
    auto db = std::move(tb::Database::open(folder.path())).value();
    // Few cards (read one by one) and many (one pass) give the same blocks.
    QList<long long> many{7, 3, 1};
    for (long long n = 8; n <= 200; ++n)
        many.append(n);
    for (const QList<long long>& asked : {QList<long long>{7, 3, 1}, many}) {
        tb::Result<tb::AddressBlocks> b = tb::addressBlocks(*db, asked, false);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->archived, 1);
        ASSERT_EQ(b->blocks.size(), size_t(asked.size() - 1));
        EXPECT_EQ(b->blocks[0][0], "M. Jean NOM7");
        EXPECT_EQ(b->blocks[1][0], "M. Jean NOM1");
        b = tb::addressBlocks(*db, asked, true);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->blocks[1][0], "M. Jean NOM3");
    }
}

TEST(SenderAddress, KeptInTheCodePageLineByLineAndRefusedWhenItCannotBeKept)
{
    TempProgramFolder program;
    EXPECT_TRUE(tb::readSenderAddress(program.path()).isEmpty());
    ASSERT_TRUE(tb::writeSenderAddress(program.path(), {"Société Cœur", "3 allée Zoé", "17000 LA ROCHELLE", ""}));
    EXPECT_EQ(readBytes(tb::senderFile(program.path())),
              QByteArray("Soci\xe9t\xe9 C\x9cur\r\n3 all\xe9" "e Zo\xe9\r\n17000 LA ROCHELLE\r\n"));
    EXPECT_EQ(tb::readSenderAddress(program.path()), QStringList({"Société Cœur", "3 allée Zoé", "17000 LA ROCHELLE"}));
    // Refusals write nothing.
    const QByteArray kept = readBytes(tb::senderFile(program.path()));
    EXPECT_FALSE(tb::writeSenderAddress(program.path(), {"Łódź"}));
    EXPECT_FALSE(tb::writeSenderAddress(program.path(), {QString(39, u'a')}));
    EXPECT_FALSE(tb::writeSenderAddress(program.path(), QStringList(7, "a")));
    EXPECT_EQ(readBytes(tb::senderFile(program.path())), kept);
    // A full disk leaves the old file whole.
    EXPECT_FALSE(underFileSizeLimit(10, [&] { return bool(tb::writeSenderAddress(program.path(), {"Une adresse plus longue"})); }));
    EXPECT_EQ(readBytes(tb::senderFile(program.path())), kept);
}

}  // namespace
