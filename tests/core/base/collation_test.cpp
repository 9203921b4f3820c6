#include "core/base/codepage.h"
#include "core/base/collation.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct Keyed {
    QString text, key;
};

QString codePage()
{
    QString all;
    for (int b = 0; b < 256; ++b)
        all += tb::cp1252Char(uchar(b));
    return all;
}

// Each character alone, before a letter (an ignored character leaves just
// the letter) and after one; "z" after "œ" tells whether its "oe" is kept.
std::vector<Keyed> aroundLetters(const QString& chars)
{
    std::vector<Keyed> texts;
    for (QChar c : chars)
        for (const QString& t : QStringList{QString(c), c + QStringLiteral("a"), c + QStringLiteral("z"), QStringLiteral("a") + c})
            texts.push_back({t, tb::frenchPrimaryKey(t)});
    return texts;
}

// Pairs whose keys differ yet order them against the collator (first few).
std::string disagreements(const std::vector<Keyed>& a, const std::vector<Keyed>& b)
{
    QStringList found;
    for (const Keyed& x : a)
        for (const Keyed& y : b) {
            const int byKey = QString::compare(x.key, y.key);
            if (byKey != 0 && (byKey < 0) != (tb::frenchCompare(x.text, y.text) < 0) && found.size() < 10)
                found.append(QString::fromLatin1((x.text + u'/' + y.text).toUtf8().toPercentEncoding("/")));
        }
    return found.join(u' ').toStdString();
}

}  // namespace

TEST(Collation, PrimaryKeysAgreeWithTheCollatorOverTheWholeCodePageAndBeyond)
{
    const QString page = codePage();
    const std::vector<Keyed> texts = aroundLetters(page);
    EXPECT_EQ(disagreements(texts, texts), "");

    // Random texts, half their characters among a few the collator finds close,
    // so that many share long starts.
    const QString close = QStringLiteral("aAàeEéoOœŒsSßæÆ -'.\u00AD\u0001½1…™tm");
    std::mt19937 random(1252);
    std::vector<Keyed> a, b;
    for (int n = 0; n < 800; ++n) {
        QString t;
        for (int i = int(random() % 7); i > 0; --i)
            t += random() % 2 ? page[random() % 256] : close[random() % close.size()];
        (n % 2 ? a : b).push_back({t, tb::frenchPrimaryKey(t)});
    }
    EXPECT_EQ(disagreements(a, b), "");

    // Characters outside the code page cannot be typed into a card, but a key must never mislead the sort.
    std::vector<Keyed> outside = aroundLetters(QStringLiteral("łőđħΩЖ\u0301") + QString::fromUcs4(U"😀𝔸"));
    for (const QString& t : QStringList{"Łukasz", "Lukasz", "Lzy"})
        outside.push_back({t, tb::frenchPrimaryKey(t)});
    EXPECT_EQ(disagreements(outside, texts), "");
    EXPECT_EQ(disagreements(outside, outside), "");
}

TEST(Collation, PrimaryKeysLeaveCaseAccentsAndLigaturesToTheCollator)
{
    const QStringList same[] = {{"Émile", "EMILE", "emîlé"}, {"Œuvre", "OEUVRE"}, {"Ægir", "aegir"},
                                {"Straße", "STRASSE"},
                                {"dé\u00ADpôt", "depot"}};  // soft hyphen ignored
    for (const QStringList& group : same)
        EXPECT_EQ(tb::frenchPrimaryKey(group.back()), tb::frenchPrimaryKey(group.front())) << group.back().toStdString();
    const QStringList inOrder = {"–", "ÐAVID", "EURO", "ØSTERGAARD", "X 12", "X 2", "ZOLA"};
    for (qsizetype i = 0; i + 1 < inOrder.size(); ++i)
        EXPECT_LT(tb::frenchPrimaryKey(inOrder[i]), tb::frenchPrimaryKey(inOrder[i + 1])) << inOrder[i].toStdString();
}
