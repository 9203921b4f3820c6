// Labels and envelopes read back from the PDF they are printed to.
#include "core/mail/address_print.h"
#include "support/pdf_words.h"

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

}  // namespace

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
