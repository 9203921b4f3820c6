// "Structure" and the e-mail window, through the real menus.
#include "core/base/codepage.h"
#include "core/base/value_files.h"
#include "core/cards/card_fields.h"
#include "gui/cards/structure_window.h"
#include "gui/lists/email_window.h"
#include "gui_fixture.h"

using namespace testing_support;

namespace {

QLineEdit* text1(QWidget* w, int i) { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }

class StructureTest : public ::testing::Test {
protected:
    GuiFixture f;
    void SetUp() override { f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100)}); }
    FFrance26* open() { return f.open<FFrance26>("Fiche"); }
};

}  // namespace

TEST_F(StructureTest, CaptionsAreWrittenWhereTypedQuotesRefusedAndOpenCardWindowsFollow)
{
    const QByteArray before = readBytes(f.db() + "StrFic.txt");
    QList<QByteArray> lines = before.split('\n');
    ASSERT_GE(lines.size(), 10);

    f.trigger("Voirlesfiches");
    QWidget* card = f.dialogs.lastModal();
    ASSERT_NE(card, nullptr);

    // Validating untouched boxes writes the same ten captions, and ends the real modal loop.
    auto* w = open();
    ASSERT_NE(w, nullptr);
    runInRealModalLoop(w, [&] { click(child<QPushButton>(w, "Command1")); });
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readBytes(f.db() + "StrFic.txt"), before);

    // Field 13 only: line 3 changes; a double quote cannot be typed, a comma can.
    f.trigger("Fiche");
    typeText(text1(w, 12), QStringLiteral("Sté \"mère\", fille"));
    EXPECT_EQ(text1(w, 12)->text(), QStringLiteral("Sté mère, fille"));
    click(child<QPushButton>(w, "Command1"));
    lines[2] = "\"" + tb::toCp1252(QStringLiteral("Sté mère, fille")) + "\"\r";
    EXPECT_EQ(readBytes(f.db() + "StrFic.txt"), lines.join('\n'));
    EXPECT_EQ(labelText(card, "Label1(12)"), QStringLiteral("Sté mère, fille"));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // The next opening shows the new caption beside an empty box; the nine fixed captions are shown whole
    // (inside their margins), read-only.
    f.trigger("Fiche");
    EXPECT_EQ(labelText(w, "Label1(12)"), QStringLiteral("Sté mère, fille"));
    EXPECT_TRUE(text1(w, 12)->text().isEmpty());
    w->show();
    const QStringList fixed = tb::fixedFieldCaptions();
    for (int i = 1; i <= 9; ++i) {
        QLineEdit* shown = text1(w, i);
        EXPECT_EQ(shown->text(), fixed[i - 1]);
        EXPECT_TRUE(shown->isReadOnly());
        EXPECT_LE(shown->fontMetrics().horizontalAdvance(shown->text()) + 8, shown->width()) << i;
        auto* label = child<QLabel>(w, QStringLiteral("Label1(%1)").arg(i));
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << i;
    }

    // A folder where the file should be: the failed rewrite is said, the window keeps what was typed.
    activate(w);
    typeText(text1(w, 10), QStringLiteral("Métier"));
    ASSERT_TRUE(QFile::remove(f.db() + "StrFic.txt"));
    ASSERT_TRUE(QDir().mkdir(f.db() + "StrFic.txt"));
    click(child<QPushButton>(w, "Command1"));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(QStringLiteral("Erreur n° "))) << f.dialogs.lastMessage().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(text1(w, 10)->text(), QStringLiteral("Métier"));
    EXPECT_TRUE(QFileInfo(f.db() + "StrFic.txt").isDir());
}

TEST(EmailWindowTest, ListsInCardOrderKeptInStepAndTheAddressSentAsAMailtoUrl)
{
    GuiFixture f;
    const QString odd = QStringLiteral("zoé arnaud?x=1#%@ici.fr");
    f.openWithCards({withFields(makeCard("BERNARD", "Yves", 1, 100, 100), {{2, "Mr"}, {10, "yves@exemple.fr"}}),
                     withFields(makeCard("ARNAUD", "Zoé", 0, 200, 150), {{2, "Mme"}, {10, odd}}),
                     withFields(makeCard("CAZE", "Luc", 1, 300, 200), {{2, "Me"}})});
    f.dialogs.messages.clear();
    auto* w = f.open<Ffrance91>("mail");
    ASSERT_NE(w, nullptr);
    auto* names = child<QListWidget>(w, "List1");
    auto* addresses = child<QListWidget>(w, "List2");
    ASSERT_EQ(rowTexts(names).size(), 3);
    // Archived card 2 keeps its place.
    EXPECT_EQ(rowTexts(names)[1], QStringLiteral("Mme").leftJustified(15) + " " + QStringLiteral("ARNAUD").leftJustified(15)
                                   + " " + QStringLiteral("Zoé").leftJustified(15));

    // Nothing chosen yet: nothing sent.
    click(child<QPushButton>(w, "Command1"));
    EXPECT_TRUE(f.launcher.urls.isEmpty());

    clickRow(names, 1);
    EXPECT_EQ(addresses->currentRow(), 1);
    EXPECT_EQ(labelText(w, "Label1"), odd.leftJustified(40));
    click(child<QPushButton>(w, "Command1"));
    ASSERT_EQ(f.launcher.urls.size(), 1);
    // The encoded form reads back as the same address, inner blank included, without the field's padding.
    EXPECT_EQ(QUrl::fromEncoded(f.launcher.urls[0].toEncoded(), QUrl::StrictMode).path(QUrl::FullyDecoded), odd);

    clickRow(addresses, 2);
    EXPECT_EQ(names->currentRow(), 2);

    click(child<QPushButton>(w, "Command2"));
    EXPECT_TRUE(f.launcher.programs.isEmpty());
    const QString book = f.program.path() + QStringLiteral("carnet");
    writeBytes(book, "");
    ASSERT_TRUE(tb::writePathValue(f.program.file("LogMail.txt"), book));
    click(child<QPushButton>(w, "Command2"));
    ASSERT_EQ(f.launcher.programs.size(), 1);
    EXPECT_EQ(f.launcher.programs[0].program, book);
    EXPECT_TRUE(f.launcher.programs[0].args.isEmpty());
}
