// The note cipher and the note as the editor loads, shows and saves it: every
// byte survives enciphering, the text box and the file, whatever the key.
#include "core/base/codepage.h"
#include "core/tools/note_cipher.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

// Random bytes where CR, LF and CR LF are frequent, every byte value possible.
QByteArray randomNote(std::mt19937& rng, int length)
{
    static const QByteArray ends[] = {"\r\n", "\r", "\n"};
    QByteArray out;
    while (out.size() < length)
        if (const unsigned kind = rng() % 6; kind < 3)
            out += ends[kind];
        else
            out += char(rng() % 256);
    return out;
}

// A key of printable ASCII and a few others: spaces, accents, signs.
QString randomKey(std::mt19937& rng, int length)
{
    static const QString pool = QStringLiteral("azAZ09:@[`_ é~/{ùΩ€") + QStringLiteral("PontDuGard1985");
    QString key;
    while (key.size() < length)
        key += pool.at(rng() % pool.size());
    return key;
}

}  // namespace

TEST(NoteCipher, KeyKeepsOnlyCodes48To122ShiftedBy100AndIsRepeatedOverTheNote)
{
    EXPECT_EQ(tb::noteKeyBytes("0z"), QByteArray("\x94\xDE"));  // 148, 222
    EXPECT_EQ(tb::noteKeyBytes("/{ "), QByteArray());           // 47, 123, blank
    // Blanks, accented letters and characters outside the code page are skipped.
    EXPECT_EQ(tb::noteKeyBytes("Pont Du Géné1Ω"), tb::noteKeyBytes("PontDuGn1"));

    // "A" (65) with "0" (148): 65 ^ 148 = 213; the key runs again from its start.
    EXPECT_EQ(tb::cipherBytes("AAA", "\x94\x95"), QByteArray("\xD5\xD4\xD5"));
    EXPECT_EQ(tb::cipherNote(QString(), "PontDuGard1985"), QString());
    // No usable character: no result, the caller leaves the note as it is.
    EXPECT_FALSE(tb::cipherNote("secret", "  éà ").has_value());
    const QString once = *tb::cipherNote("Réglé le 3", "PontDuGard1985");
    EXPECT_NE(once, "Réglé le 3");
    EXPECT_NE(*tb::cipherNote("Réglé le 3", "QontDuGard1985"), once);
    // Past the note's 10 characters the key plays no part.
    EXPECT_EQ(*tb::cipherNote("Réglé le 3", "PontDuGard1986"), once);
}

TEST(NoteCipher, RandomNotesComeBackExactlyThroughCipherTextBoxAndFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("F7.txt");
    std::mt19937 rng(1985);
    std::uniform_int_distribution<int> noteLength(0, 300), keyLength(1, 40);
    for (int round = 0; round < 300; ++round) {
        const QString note = tb::fromCp1252(randomNote(rng, noteLength(rng)));
        // One-character keys and keys longer than the note come up often.
        const QString key = round % 5 == 0 ? randomKey(rng, 1) : randomKey(rng, keyLength(rng) * (round % 3 + 1));
        const std::optional<QString> enciphered = tb::cipherNote(note, key);
        if (!enciphered) {
            EXPECT_TRUE(tb::noteKeyBytes(key).isEmpty());
            continue;
        }
        ASSERT_EQ(enciphered->size(), note.size());
        // Through the text box: what is shown holds no invisible control code.
        const QString shown = tb::noteForDisplay(*enciphered);
        for (const QChar c : shown)
            ASSERT_TRUE(c.unicode() >= 32 || c == u'\n' || c == u'\t') << round;
        const QString back = tb::noteFromDisplay(shown);
        ASSERT_EQ(back, *enciphered) << round;
        // Saved, opened again, and deciphered with the same key.
        ASSERT_TRUE(tb::saveNote(path, back).ok());
        ASSERT_EQ(readBytes(path), tb::toCp1252(*enciphered) + "\r\n");
        const QString reopened = tb::noteFromDisplay(tb::noteForDisplay(tb::loadNote(path)));
        ASSERT_EQ(reopened, *enciphered) << round;
        ASSERT_EQ(tb::cipherNote(reopened, key), note) << round;
    }
}

TEST(NoteText, AMissingNoteIsEmptyAndOneWrittenElsewhereWithoutAFinalLineEndIsTakenWholeThenKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("F1.txt");
    EXPECT_EQ(tb::loadNote(path), QString());
    writeBytes(path, "sans fin\r");
    EXPECT_EQ(tb::loadNote(path), "sans fin\r");
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(tb::saveNote(path, tb::loadNote(path)).ok());
    EXPECT_EQ(readBytes(path), QByteArray("sans fin\r\r\n"));
}

TEST(NoteText, TextBoxShowsLineEndsAsLinesAndOtherControlsAsStandIns)
{
    const QString note = QStringLiteral("a\r\nb\rc\nd\te") + QChar(0) + QChar(127) + QStringLiteral("\r\r\n");
    EXPECT_EQ(tb::noteForDisplay(note), "a\nb␍c␊d\te␀␡␍\n");
    EXPECT_EQ(tb::noteFromDisplay(tb::noteForDisplay(note)), note);
    // A text document's paragraph separators are line ends too.
    EXPECT_EQ(tb::noteFromDisplay(QStringLiteral("un") + QChar::ParagraphSeparator + QStringLiteral("deux")),
              "un\r\ndeux");
}

TEST(NoteText, SummaryHoldsNameAddressAndFieldsEightToFourteen)
{
    std::array<QString, 20> t;
    for (int i = 0; i < 20; ++i)
        t[i] = QStringLiteral("f%1").arg(i);
    EXPECT_EQ(tb::noteSummary(t), "f1 f2 f3 \nf4\nf5 f6\nf7\nf8\nf9\nf10\nf11\nf12\nf13\n");
}
