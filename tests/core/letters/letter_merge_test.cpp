// Form letters merged for each card and read back from the PDF; the letter files.
#include "core/db/database.h"
#include "core/letters/letter_merge.h"
#include "core/letters/letters.h"
#include "support/pdf_words.h"
#include "support/write_failures.h"

#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

CardRecord person(const QString& civility, const QString& surname, const QString& street, const QString& due)
{
    return withFields(makeCard(surname, QStringLiteral("Jean"), 1, 5, 5, QStringLiteral("17000"), QStringLiteral("La Rochelle")),
                      {{2, civility}, {5, street}, {20, due}, {11, QStringLiteral("A-17")}});
}

TEST(LetterMerge, ThreeCardsOneLackingAStreetReportedThenOnePagePerCardInThePdf)
{
    TempProgramFolder program;
    TempDatabase base(program.path());
    writeCards(base.path(), {person("M.", "DUPONT", "12 quai Louis Prunier, résidence du Port", "150.00"),
                             person("Mme", "MARTIN", "", "20.5"), person("M.", "PETIT", "3 rue Chef de Ville", "")});
    writeBytes(base.file("R1.txt"), "30.00------------>02/11/26  Jean  chèque\r\n");
    auto db = tb::Database::open(base.path());
    ASSERT_TRUE(db);
    QStringList captions = db.value()->captions();
    captions[0] = QStringLiteral("Référence");
    ASSERT_TRUE(db.value()->setCaptions(captions));
    EXPECT_EQ(tb::letterFieldNames(captions).mid(8, 2), (QStringList{"Dernier versement", "Référence"}));

    const QString html = QStringLiteral("<p align=\"right\">Le «Date du jour», «Civilité» «Nom» (réf. «Référence»)</p>"
                                        "<p>Reste dû : «Reste dû» ; dernier versement : «Dernier versement».</p>"
                                        "<p>Voir «Inconnu»</p>");
    const auto merged = tb::mergeLetter(*db.value(), html, {1, 2, 3}, QDate(2026, 12, 8));
    ASSERT_TRUE(merged);
    // The address's street first, though the text does not name it.
    EXPECT_EQ(tb::letterReport(*merged), (QStringList{"Fiche n° 2 (MARTIN Jean) : « Rue » est vide.",
                                                      "Fiche n° 3 (PETIT Jean) : « Reste dû » est vide.",
                                                      "Fiche n° 1 : « 12 quai Louis Prunier, résidence du Port » dépasse "
                                                      "38 caractères, coupé en « 12 quai Louis Prunier, résidence du ».",
                                                      "« Inconnu » n'est pas un champ : laissé tel quel."}));

    QTemporaryDir out;
    const QString pdf = out.filePath("lettres.pdf");
    ASSERT_TRUE(tb::writeLettersPdf(pdf, *merged));
    const QStringList pages = pdfText(pdf).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3);
    const auto simplified = [&](int page) { return pages[page].simplified(); };
    EXPECT_TRUE(simplified(0).contains("Le 8 décembre 2026, M. DUPONT (réf. A-17)")) << simplified(0).toStdString();
    EXPECT_TRUE(simplified(0).contains("Reste dû : 150,00 € ; dernier versement : 30,00 € le 02/11/2026."));
    EXPECT_TRUE(simplified(0).contains("Voir «Inconnu»"));
    EXPECT_TRUE(simplified(1).contains("Mme MARTIN") && simplified(1).contains("20,50 € ; dernier versement : aucun."));
    EXPECT_TRUE(simplified(2).contains("M. Jean PETIT 3 rue Chef de Ville 17000 LA ROCHELLE"));

    // The address's first word at 110 mm from the left and 50 mm from the top,
    // the text under the window, its first paragraph as written.
    std::optional<QPointF> address, text;
    for (const PdfWord& w : pdfWords(pdf))
        if (w.page == 0 && w.text == "M." && !address)
            address = w.box.topLeft();
        else if (w.page == 0 && w.text == "Le" && !text)
            text = w.box.topLeft();
    ASSERT_TRUE(address && text);
    constexpr double kPoint = 25.4 / 72;  // mm
    EXPECT_NEAR(address->x(), 110, 1.0 * kPoint);
    EXPECT_NEAR(address->y(), 50, 2.5 * kPoint);
    EXPECT_GE(text->y(), 100 - kPoint);
    EXPECT_GT(text->x(), 60);  // the first paragraph kept on the right
}

TEST(LetterFiles, SavedInUtf8ListedInFrenchOrderBadNamesAndFailedWritesRefused)
{
    TempProgramFolder program;
    // The two letters that come with the program.
    EXPECT_EQ(tb::letterNames(program.path()), (QStringList{"Courrier simple", "Relance"}));
    const QString relance = tb::loadLetter(program.path(), "Relance").value();
    EXPECT_TRUE(relance.contains("«Reste dû»") && relance.contains("«Dernier versement»"));

    ASSERT_TRUE(tb::saveLetter(program.path(), "Échéance", "<p>Été «Nom»</p>"));
    EXPECT_EQ(readBytes(program.file("Lettres/Échéance.html")), QString("<p>Été «Nom»</p>").toUtf8());
    EXPECT_EQ(tb::letterNames(program.path()), (QStringList{"Courrier simple", "Échéance", "Relance"}));
    for (const char* bad : {"", "  ", "a/b", "..", ".cache", "a\\b"})
        EXPECT_EQ(tb::saveLetter(program.path(), bad, "x").error().number, tb::kErrorBadFileName) << bad;

    ::chmod(QFile::encodeName(program.path()).constData(), 0755);
    const QString folder = tb::lettersFolder(program.path());
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    const int refused = codeWithoutRootRights([&] {
        const tb::Status s = tb::saveLetter(program.path(), "Échéance", "<p>autre</p>");
        return s ? 0 : s.error().number == tb::kErrorPermission ? 1 : 2;
    });
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(readBytes(program.file("Lettres/Échéance.html")), QString("<p>Été «Nom»</p>").toUtf8());
    ASSERT_TRUE(tb::removeLetter(program.path(), "Échéance"));
    EXPECT_EQ(tb::letterNames(program.path()).size(), 2);
}

}  // namespace
