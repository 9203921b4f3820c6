// The card and creation windows through their own controls, failures included; "Structure", the e-mail window;
// the card's documents and note; nothing lost by mistake.
#include "core/base/codepage.h"
#include "core/base/value_files.h"
#include "core/cards/card_fields.h"
#include "core/cards/card_store.h"
#include "core/exchange/card_import.h"
#include "core/external/external_programs.h"
#include "core/tools/note_cipher.h"
#include "gui/cards/creation_window.h"
#include "gui/cards/scan_viewer_window.h"
#include "gui/cards/structure_window.h"
#include "gui/cards/text_viewer_window.h"
#include "gui/cards/trash_window.h"
#include "gui/lists/email_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/tools/note_editor_window.h"
#include "gui/widgets/card_form.h"
#include "gui/widgets/photo_frame.h"
#include "gui_fixture.h"
#include "support/write_failures.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <sys/stat.h>

using namespace testing_support;

namespace {

class CardWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* w = nullptr;
    CardListView* names = nullptr;
    QString db;

    QLineEdit* field(int i) const { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
    QString label(const char* name) const { return labelText(w, name); }
    QPushButton* button(const char* name) const { return child<QPushButton>(w, name); }
    CardRecord card(long long n) const { return CardStore(db).read(n).value(); }
    void menu(const char* name) { child<QAction>(w, name)->trigger(); }
    // Replaces the field's text as a user does: select all, type.
    void retype(int i, const QString& text)
    {
        field(i)->selectAll();
        keyClick(field(i), Qt::Key_Delete);
        typeText(field(i), text);
    }

    // Name order: ARNAUD Zoé (2), BERNARD Xavier (3), BERNARD Yves (1).
    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 1, 200, 150),
                              makeCard("BERNARD", "Xavier", 2, 300, 200)});
        w = f.open<FFrance4>("Voirlesfiches");
        ASSERT_NE(w, nullptr);
        names = child<CardListView>(w, "List1");
        clickRow(names, 0);
        f.dialogs.messages.clear();
    }
};

TEST_F(CardWindowTest, ShowsStoresColoursDeletesAndClosesTheCards)
{
    // The photo timer loads the photo once; moving away clears the frame until it fires again.
    auto* timer = child<QTimer>(w, "Timer1");
    auto* photo = child<PhotoFrame>(w, "Picture1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(photo->image().isNull());
    ASSERT_TRUE(filledImage({100, 80}, Qt::red).save(db + "photo2.jpg"));
    QMetaObject::invokeMethod(timer, "timeout");
    ASSERT_FALSE(photo->image().isNull());
    ASSERT_TRUE(QFile::remove(db + "photo2.jpg"));
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_FALSE(photo->image().isNull());
    clickRow(names, 1);
    EXPECT_TRUE(photo->image().isNull());
    clickRow(names, 0);

    EXPECT_EQ(field(2)->text(), "ARNAUD");  // without the record's padding
    click(button("Command2"));
    EXPECT_EQ(label("StatusLine"), " Fiche n° 2 enregistrée.");

    // Deleting through the menu after the question (which card takes the freed number is the core's).
    const int beeps = f.dialogs.beeps;
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    menu("Supprimer");
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "3\r\n");
    menu("Supprimer");
    EXPECT_EQ(f.dialogs.questions.last().text, "Confirmez-vous la suppression de la fiche ?\nARNAUD Zoé — fiche n° 2");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    // The window shows the first card by name (the maps follow the database, as the zone window's test shows).
    EXPECT_EQ(rowNumbers(names), (QList<long long>{2, 1}));
    menu("ArchFfic");
    EXPECT_EQ(f.main->session().marker(), 0);
    menu("DesarchiFic");
    EXPECT_EQ(label("Label5"), "active");
    EXPECT_EQ(f.dialogs.beeps, beeps + 2);
    f.dialogs.messages.clear();

    // A renamed card moves to its sorted place and stays the one shown.
    retype(2, "zorro");
    click(button("Command2"));
    EXPECT_EQ(card(2).field(3), "ZORRO          ");
    EXPECT_EQ(rowNumbers(names), (QList<long long>{1, 2}));
    EXPECT_EQ(names->currentIndex().row(), 1);
    // Moving to another card stores the one left, and only it; its line is then the one highlighted.
    retype(3, "Zoé-Marie");
    clickRow(names, 0);
    EXPECT_EQ(card(2).field(4), "Zoé-Marie      ");
    EXPECT_EQ(card(1).field(4), "Yves           ");
    clickRow(names, 1);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // Colours, typing and debt reach the record only when stored.
    const auto pinText = [this] { return w->findChild<CardFormWidget*>()->pin().text(); };
    const QString field1 = pinText();
    click(child<QWidget>(w, "Label8"));
    EXPECT_EQ(pinText(), u'3' + field1.mid(1));
    EXPECT_EQ(f.main->session().marker(), 3);
    keyClick(child<QWidget>(w, "Label7"), Qt::Key_Space);  // Space on a focused square chooses it too
    EXPECT_EQ(pinText(), u'2' + field1.mid(1));
    click(child<QWidget>(w, "Label11"));
    EXPECT_EQ(child<QLabel>(w, "Label4")->palette().color(QPalette::Window), QColor(192, 192, 255));
    EXPECT_EQ(card(2).marker(), field1[0].digitValue());
    // Characters outside the code page cannot be typed (the widths are the core's).
    field(3)->clear();
    typeText(field(3), QStringLiteral("aőb€"));
    EXPECT_EQ(field(3)->text(), QStringLiteral("ab€"));
    click(button("Command2"));
    EXPECT_EQ(card(2).marker(), 6);
    // The sums are the core's; the result is shown and stored.
    typeText(field(14), "10");
    typeText(field(18), "3");
    click(button("Command3"));
    EXPECT_EQ(field(19)->text(), "7.00");
    EXPECT_EQ(card(2).field(20).trimmed(), "7.00");

    // Escape closes, and the menu makes a new window.
    activate(w);
    QPointer<FFrance4> closed = w;
    field(2)->setFocus();
    keyClick(field(2), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    w = f.open<FFrance4>("Voirlesfiches");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(label("Label2"), "1");

    // Down to no card: a further deletion is refused, nothing asked.
    f.dialogs.questionAnswers << QMessageBox::Yes << QMessageBox::Yes;
    menu("Supprimer");
    menu("Supprimer");
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 0\r\n");
    EXPECT_EQ(label("Label2"), "0");
    menu("Supprimer");
    EXPECT_EQ(f.dialogs.questions.size(), 4);
    EXPECT_EQ(f.dialogs.lastMessage(), " Aucune fiche n'est affichée : il n'y a rien à supprimer !");
}

TEST_F(CardWindowTest, AStoreThatCannotBeWrittenSaysWhyAndKeepsWhatWasTyped)
{
    // On a read-only folder (root gives its rights up in the child): error 70, each fault one bit of the code.
    const QByteArray before = readBytes(db + "lesfiches.dat");
    ::chmod(QFile::encodeName(f.program.path()).constData(), 0755);
    setFolderWritable(db, false);
    const auto typedAndRefused = [&](const QString& error) {
        retype(3, "Zoé-Marie");
        click(button("Command2"));
        return (f.dialogs.messages.size() == 1 && f.dialogs.lastMessage().startsWith(error) ? 0 : 1)
               | (field(3)->text() == QStringLiteral("Zoé-Marie") ? 0 : 2) | (w->isVisible() ? 0 : 4)
               | (label("StatusLine") != QStringLiteral(" Fiche n° 2 enregistrée.") ? 0 : 8);
    };
    const int faults = codeWithoutRootRights([&] { return typedAndRefused(QStringLiteral("Erreur n° 70 : permission refusée")); });
    setFolderWritable(db, true);
    EXPECT_EQ(faults, 0);
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);
}

// "Structure" and the e-mail window, through the real menus.

QLineEdit* text1(QWidget* w, int i) { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }

class StructureTest : public ::testing::Test {
protected:
    GuiFixture f;
    void SetUp() override { f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100)}); }
    FFrance26* open() { return f.open<FFrance26>("Fiche"); }
};

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

// The creation window, from a right click on the map or Ctrl+N, failures included.

class CreationWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance11* w = nullptr;
    QString db;

    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 2, 200, 150)});
        writeBytes(f.program.file("DeptCourant.txt"), "\"0\"\r\n");
        QDir(db).mkdir("images");
        ASSERT_TRUE(filledImage({40, 40}, Qt::blue).save(db + "images/portrait.jpg"));
    }
    void rightClick(int x, int y)
    {
        f.rightClickMap(x, y);
        w = f.shown<FFrance11>();
        ASSERT_NE(w, nullptr);
    }
    QLineEdit* field(int i) const { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
    QString number() const { return labelText(w, "Label2"); }
    QString department() const { return child<QComboBox>(w, "Combo1")->currentText(); }
    void validate() { click(child<QPushButton>(w, "Command3")); }
    bool hasPhoto() const { return !child<PhotoFrame>(w, "Picture1")->image().isNull(); }
    // "Incorporer une photo": the browser opens on the images, a click on the portrait, "Enregistrer".
    void addPhoto()
    {
        f.dialogs.modalScripts.enqueue([this](QWidget* b) {
            ASSERT_TRUE(qobject_cast<Ffrance23*>(b)->openFolder(db + "images"));
            ASSERT_TRUE(clickItem(b, "File1", "portrait.jpg"));
            click(child<QPushButton>(b, "Command1"));
        });
        child<QAction>(w, "photo")->trigger();
    }
};

TEST_F(CreationWindowTest, CreatesTheCardFromTheMapClickAndTheNextStartsEmpty)
{
    rightClick(120, 45);
    EXPECT_EQ(number(), "3");
    EXPECT_EQ(department(), "95 Val-d'Oise");  // the click is on the Val-d'Oise of the Paris inset
    typeText(field(2), "lefèvre");
    typeText(field(3), "Anne");
    typeText(field(4), QString(45, u'r'));
    click(child<QWidget>(w, "Option2"), QPoint(5, 5));
    EXPECT_EQ(field(1)->text(), "Madame");
    addPhoto();
    EXPECT_TRUE(hasPhoto());
    EXPECT_FALSE(QFile::exists(db + "photo3.jpg"));  // written with the card only

    // Choosing department 17 remembers it; a commune fills code and city.
    auto* combo = child<QComboBox>(w, "Combo1");
    const int index = combo->findText("17", Qt::MatchStartsWith);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"16\"\r\n");
    ASSERT_TRUE(clickItem(w, "List1", "LA ROCHELLE 17000"));
    click(child<QWidget>(w, "Label9"));  // fifth colour

    validate();
    EXPECT_EQ(f.main->statusBar()->currentMessage(), " Fiche n° 3 enregistrée.");
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "3\r\n");
    const QByteArray records = readBytes(db + "lesfiches.dat");
    ASSERT_EQ(records.size(), 3 * 630);
    EXPECT_EQ(records.mid(2 * 630), "5 120" + QByteArray(17, ' ') + " 45     Madame         LEF\xC8VRE        Anne           "
                                        + QByteArray(40, 'r') + "17000" + QByteArray("LA ROCHELLE").leftJustified(40)
                                        + QByteArray(470, ' '));
    EXPECT_EQ(readBytes(db + "photo3.jpg"), readBytes(db + "images/portrait.jpg"));

    // The next card starts empty, without photo or civility, with the same colour, in the department clicked.
    rightClick(120, 45);
    EXPECT_EQ(number(), "4");
    EXPECT_EQ(w->findChild<CardFormWidget*>()->pin().markerChar(), u'5');
    EXPECT_TRUE(field(2)->text().isEmpty() && field(1)->text().isEmpty());
    EXPECT_FALSE(hasPhoto());
    EXPECT_EQ(department(), "95 Val-d'Oise");
}

TEST_F(CreationWindowTest, GivingUpLeavesNothingAndAFailedCreationKeepsWhatWasTyped)
{
    // After a photo and a debt calculation (which writes the record alone), abandoning is
    // asked first: Non keeps what was typed, Oui leaves and no file, no record stays.
    rightClick(120, 45);
    addPhoto();
    typeText(field(14), "100");
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(readBytes(db + "lesfiches.dat").size(), 3 * 630);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    activate(w);  // back from the file browser
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    keyClick(field(2), Qt::Key_Escape);
    EXPECT_EQ(f.dialogs.questions.last().text, " Abandonner la création de cette fiche ? ");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(field(14)->text(), "100.00");
    keyClick(field(2), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat").size(), 2 * 630);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    EXPECT_FALSE(QFile::exists(db + "F3.txt"));
    rightClick(120, 45);
    EXPECT_FALSE(hasPhoto());
    validate();
    EXPECT_FALSE(QFile::exists(db + "photo3.jpg"));
    EXPECT_EQ(f.main->session().database()->count(), 3);

    // A folder in place of the records: said, and the window keeps what was typed.
    ASSERT_TRUE(QFile::remove(db + "lesfiches.dat"));
    ASSERT_TRUE(QDir(db).mkdir("lesfiches.dat"));
    f.dialogs.messages.clear();
    rightClick(120, 45);
    typeText(field(2), "Durand");
    validate();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith("Erreur n° ")) << f.dialogs.lastMessage().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(field(2)->text(), "Durand");
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "3\r\n");
    EXPECT_FALSE(QFile::exists(db + "F4.txt"));
}

TEST_F(CreationWindowTest, CtrlNPinsByTheTypedCodeOrWaitsForAClickOnAnotherMap)
{
    // Ctrl+N asks the postal code and pins the card where an import of it would go (the city and department a
    // code gives are the core's).
    ASSERT_EQ(f.action("NouvFiche")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    f.dialogs.inputAnswers.enqueue(QStringLiteral(" 17000 "));
    w = f.open<FFrance11>("NouvFiche");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(field(6)->text(), "LA ROCHELLE");
    EXPECT_EQ(department(), "17 Charente-Maritime");
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"0\"\r\n");  // a department a code gives is not kept
    QTest::keyClicks(field(2), "MARTIN");
    validate();
    tb::Database* data = f.main->session().database();
    ASSERT_EQ(data->count(), 3);
    EXPECT_EQ(QPointF(data->card(3)->x(), data->card(3)->y()), tb::departmentPoint("17000", 3));

    // On another map the card waits for a click.
    const qsizetype shown = f.dialogs.modals.size();
    QFile::copy(f.program.file("frc.gif"), f.program.file("plan.gif"));
    ASSERT_TRUE(data->setMapPath(f.program.file("plan.gif")));
    f.dialogs.inputAnswers.enqueue(QStringLiteral("69002"));
    f.trigger("NouvFiche");
    EXPECT_EQ(f.dialogs.lastMessage(), " Cliquez sur la carte à l'endroit de la nouvelle fiche.");
    EXPECT_EQ(f.dialogs.modals.size(), shown);
    f.leftClickMap(300, 200);
    w = f.shown<FFrance11>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(field(6)->text(), "LYON");
    QTest::keyClicks(field(2), "PETIT");
    validate();
    ASSERT_EQ(data->count(), 4);
    EXPECT_EQ(QPointF(data->card(4)->x(), data->card(4)->y()), QPointF(300, 200));
}

// The card window's documents, viewers, address, e-mail and prints, read back from PDF.

class CardDocumentsTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* w = nullptr;
    QString db;
    QTemporaryDir tmp;
    QString mine;  // the user's own folder of files to attach

    // Cards by name: ARNAUD (2), BERNARD (1), shown first: card 2.
    void SetUp() override
    {
        const CardRecord arnaud = withFields(makeCard("ARNAUD", "Zoé", 1, 200, 150, "17000", "LA ROCHELLE"), {{10, "zoe@exemple.fr"}});
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), arnaud, makeCard("CAMUS", "Léa", 2, 300, 200)});
        w = f.open<FFrance4>("Voirlesfiches");
        ASSERT_NE(w, nullptr);
        clickRow(child<CardListView>(w, "List1"), 0);
        mine = tmp.path() + "/Mes documents/";
        QDir().mkpath(mine);
        picture("vacances.JPG", {120, 90});
        picture("image.jpeg", {90, 120});
            writeBytes(mine + "faux.jpg", "ceci n'est pas une image\r\n");
        writeBytes(mine + "lettre.txt", "Ch\xE8re Madame,\r\nBien \xE0 vous.\r\n");
        f.dialogs.messages.clear();
    }
    void picture(const QString& name, QSize size)
    {
        ASSERT_TRUE(filledImage(size, size.width() > 100 ? Qt::red : Qt::blue).save(mine + name, "JPG"));
    }
    void menu(const char* name) { child<QAction>(w, name)->trigger(); }
    // The menu entry opens the file browser; file is chosen there and saved.
    Ffrance23* attach(const char* entry, const QString& file)
    {
        Ffrance23* browser = nullptr;
        f.dialogs.modalScripts.enqueue([&](QWidget* b) {
            browser = qobject_cast<Ffrance23*>(b);
            ASSERT_NE(browser, nullptr);
            ASSERT_TRUE(browser->openFolder(mine));
            ASSERT_TRUE(clickItem(browser, "File1", file));
            click(child<QPushButton>(browser, "Command1"));
        });
        menu(entry);
        return browser;
    }
    PhotoFrame* photo() const { return child<PhotoFrame>(w, "Picture1"); }
    void clickPhoto() { click(photo(), photo()->rect().center()); }
};

TEST_F(CardDocumentsTest, PhotosAndScansAreAttachedShownAndPrinted)
{
    // A file that is no picture is refused, the browser staying open for another (which, and the words, are the core's).
    Ffrance23* browser = attach("photo", "faux.jpg");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(f.dialogs.lastMessage(), " Ce fichier n'est pas une image !");
    EXPECT_TRUE(browser->isVisible());
    browser->hide();
    EXPECT_FALSE(QFile::exists(db + "photo2.jpg"));

    attach("photo", "vacances.JPG");
    EXPECT_EQ(readBytes(db + "photo2.jpg"), readBytes(mine + "vacances.JPG"));
    ASSERT_FALSE(photo()->image().isNull());
    // Over the photo already there: asked first, "Non" by default keeps it.
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    attach("photo", "image.jpeg");
    EXPECT_EQ(f.dialogs.questions[0].text, " Un document est déjà joint sous ce nom : le remplacer ?");
    EXPECT_EQ(f.dialogs.questions[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(readBytes(db + "photo2.jpg"), readBytes(mine + "vacances.JPG"));
    browser->hide();
    attach("photo", "image.jpeg");
    EXPECT_EQ(readBytes(db + "photo2.jpg"), readBytes(mine + "image.jpeg"));
    EXPECT_EQ(QDir(db).entryList({"photo2*"}, QDir::Files), QStringList{"photo2.jpg"});

    // A click on the frame reads the photo again (which pictures load is the core's).
    ASSERT_TRUE(QFile::remove(db + "photo2.jpg"));
    clickPhoto();
    EXPECT_TRUE(photo()->image().isNull());

    // Scans: shown in their viewer, printed, handed on.
    attach("RechScan2", "image.jpeg");
    EXPECT_EQ(readBytes(db + "ScanB2.jpg"), readBytes(mine + "image.jpeg"));
    menu("VoirTB4");
    auto* viewer = qobject_cast<Ffrance16*>(f.dialogs.lastModal());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->documentPath(), db + "ScanB2.jpg");
    ASSERT_FALSE(child<PhotoFrame>(viewer, "Picture1")->image().isNull());
    f.dialogs.printToPdf = tmp.filePath("scan.pdf");
    click(child<QPushButton>(viewer, "Imprimer"));
    EXPECT_GT(readBytes(tmp.filePath("scan.pdf")).size(), 500);
    // (A document handed to its program is the texts' below; the scanning instruction is the core's.)
}

TEST_F(CardDocumentsTest, TextsAddressEmailAndPrintsOfTheShownCard)
{
    Ffrance23* browser = attach("RechTxt1", "lettre.txt");
    EXPECT_TRUE(child<QPlainTextEdit>(browser, "TextRech")->isVisibleTo(browser));
    menu("VoirTB1");
    auto* viewer = qobject_cast<Ffrancelic*>(f.dialogs.lastModal());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->documentPath(), db + "DtxtA2.txt");
    auto* text = child<QPlainTextEdit>(viewer, "Text1");
    EXPECT_EQ(text->toPlainText(), "Chère Madame,\nBien à vous.\n");
    click(child<QPushButton>(viewer, "Command1"));  // all selected, then copied
    QApplication::clipboard()->clear();
    click(child<QPushButton>(viewer, "Command2"));
    EXPECT_EQ(QApplication::clipboard()->text(), "Chère Madame,\nBien à vous.\n");
    f.dialogs.printToPdf = tmp.filePath("lettre.pdf");
    click(child<QPushButton>(viewer, "Picture1"));
    EXPECT_TRUE(pdfText(tmp.filePath("lettre.pdf")).contains("Chère Madame,\nBien à vous."));
    viewer->hide();
    // The word processor gets card 2's second document (found in any case: the core's).
    writeBytes(db + "DTXTB2.TXT", "Second");
    ASSERT_TRUE(tb::storeProgramPath(f.program.path(), 2, "/usr/bin/abiword"));
    menu("VoirTT2");
    ASSERT_EQ(f.launcher.programs.size(), 1);
    EXPECT_EQ(f.launcher.programs[0].program, "/usr/bin/abiword");
    EXPECT_EQ(f.launcher.programs[0].args, QStringList{db + "DTXTB2.TXT"});

    // No spreadsheet program chosen: the desktop's own (the address file for the word processor is the core's).
    writeBytes(db + "F2.xls", "xls");
    menu("Feuillexls");
    EXPECT_EQ(f.launcher.documents, QStringList{db + "F2.xls"});
    menu("Courrier");
    ASSERT_EQ(f.launcher.urls.size(), 1);
    EXPECT_EQ(f.launcher.urls[0].toString(), "mailto:zoe@exemple.fr");
    child<QLineEdit>(w, "Text1(9)")->clear();
    menu("Courrier");
    EXPECT_EQ(f.launcher.urls.size(), 1);

    // Printed as typed (the pages of every card are the core's).
    f.dialogs.printToPdf = tmp.filePath("fiche.pdf");
    child<QLineEdit>(w, "Text1(3)")->setText("Zoé-Chloé");
    menu("ImprimFic");
    const QString one = pdfText(tmp.filePath("fiche.pdf"));
    EXPECT_TRUE(one.contains("Fiche 2\n") && one.contains("Zoé-Chloé") && !one.contains("BERNARD")) << one.toStdString();
}

// The note editor opened from the card window.

class NoteEditorTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* card = nullptr;
    QString db;

    // Card 2 (ARNAUD Zoé) is shown first: it comes first by name.
    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100),
                              withFields(makeCard("ARNAUD", "Zoé", 1, 200, 150, "30210", "Vers-Pont-du-Gard"), {{2, "Mme"}})});
        card = f.open<FFrance4>("Voirlesfiches");
        ASSERT_NE(card, nullptr);
        clickRow(child<CardListView>(card, "List1"), 0);
    }

    QString notePath() const { return db + QStringLiteral("F2.txt"); }
    FFrance9* openEditor()
    {
        child<QAction>(card, "notesconf")->trigger();
        return f.shown<FFrance9>();
    }
    static QPlainTextEdit* note(QWidget* w) { return child<QPlainTextEdit>(w, "Text1"); }
    static void press(QWidget* w, const char* button) { child<QPushButton>(w, button)->click(); }
    static void typeAtEnd(QWidget* w, const QString& text)
    {
        note(w)->moveCursor(QTextCursor::End);
        keyClick(note(w), Qt::Key_Return);
        typeText(note(w), text);
    }
    static void select(QWidget* w, int from, int to)
    {
        QTextCursor c = note(w)->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        note(w)->setTextCursor(c);
    }
    // Closed with the answer given to the question.
    bool closeAnswering(QWidget* w, QMessageBox::StandardButton answer)
    {
        f.dialogs.questionAnswers.enqueue(answer);
        return closeAndDelete(w);
    }
};

TEST_F(NoteEditorTest, OpensOnTheShownCardEditsPrintsAndSavesOnlyWhenTheQuestionSaysOui)
{
    writeBytes(notePath(), "Rappeler lundi\r\n");
    FFrance9* w = openEditor();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(child<QLineEdit>(w, "Text2")->text(), notePath());
    const QString summary = child<QPlainTextEdit>(w, "Text5")->toPlainText();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("Mme ARNAUD Zoé "))) << summary.toStdString();  // its lines are the core's
    EXPECT_EQ(note(w)->toPlainText(), "Rappeler lundi");  // less the line end saving added
    // Typed, then Non: nothing written. Annuler keeps the window open with what was typed; Oui then saves it.
    typeAtEnd(w, QStringLiteral("réglé"));
    EXPECT_TRUE(closeAnswering(w, QMessageBox::No));
    EXPECT_EQ(f.dialogs.questions[0].text, "Voulez-vous enregistrer le fichier " + notePath() + " ?");
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\n"));
    w = openEditor();
    typeAtEnd(w, QStringLiteral("réglé"));
    EXPECT_FALSE(closeAnswering(w, QMessageBox::Cancel));
    EXPECT_TRUE(closeAnswering(w, QMessageBox::Yes));
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\nr\xE9gl\xE9\r\n"));

    // "Effacer le texte": an empty note closes without a question, the file untouched.
    w = openEditor();
    press(w, "Command5");
    const qsizetype asked = f.dialogs.questions.size();
    EXPECT_TRUE(closeAndDelete(w));
    EXPECT_EQ(f.dialogs.questions.size(), asked);
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\nr\xE9gl\xE9\r\n"));

    // The case buttons change the selection (line end and "ÿ" included) and keep it selected;
    // without a selection nothing changes.
    writeBytes(notePath(), tb::toCp1252(QStringLiteral("100 Bonjour madame Weiß\r\nÿ fin\r\n")));
    w = openEditor();
    select(w, 12, 25);  // "madame Weiß", the line end, "ÿ"
    press(w, "Command2");
    EXPECT_EQ(note(w)->toPlainText(), "100 Bonjour MADAME WEIß\nŸ fin");
    EXPECT_EQ(note(w)->textCursor().selectionEnd(), 25);
    press(w, "Command1");
    EXPECT_EQ(note(w)->toPlainText(), "100 Bonjour madame weiß\nÿ fin");

    // Printed in the font and colour chosen (where the lines break is the core's); the note takes the colour.
    QTemporaryDir dir;
    f.dialogs.printToPdf = dir.filePath("note.pdf");
    QFont big(QStringLiteral("DejaVu Sans"), 28);
    big.setItalic(true);
    f.dialogs.fontAnswers.enqueue(big);
    f.dialogs.colorAnswers.enqueue(QColor(Qt::darkGreen));
    press(w, "Command10");
    const QString printed = pdfText(f.dialogs.printToPdf);  // "fi" comes back as its ligature
    EXPECT_TRUE(printed.contains(QStringLiteral("100 Bonjour madame weiß\nÿ "))) << printed.toStdString();
    EXPECT_EQ(note(w)->palette().color(QPalette::Text), QColor(Qt::darkGreen));
    closeAnswering(w, QMessageBox::Yes);
    EXPECT_EQ(readBytes(notePath()), QByteArray("100 Bonjour madame wei\xDF\r\n\xFF fin\r\n"));

    // The clipboard viewer shows what is copied; the real modal loop ends when the editor closes.
    w = openEditor();
    press(w, "Command8");
    ASSERT_EQ(f.dialogs.modeless.size(), 1);
    QWidget* viewer = f.dialogs.modeless.last();
    QGuiApplication::clipboard()->setText(QStringLiteral("copié"));
    EXPECT_EQ(child<QPlainTextEdit>(viewer, "ClipboardText")->toPlainText(), "copié");
    QPointer<FFrance9> guard(w);
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    runInRealModalLoop(w, [w] {
        note(w)->moveCursor(QTextCursor::End);
        typeText(note(w), QStringLiteral("d"));
        w->close();
    }, 50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
    EXPECT_EQ(readBytes(notePath()), QByteArray("100 Bonjour madame wei\xDF\r\n\xFF find\r\n"));
}

TEST_F(NoteEditorTest, EncipheredNoteSavedAndReopenedDeciphersExactlyAndAnUnusableKeyLeavesIt)
{
    // That every byte comes back is the core's.
    const QByteArray original = "Code portail 1985A\r\nCoffre : \xE0 gauche";
    writeBytes(notePath(), original + "\r\n");
    const QString key = QStringLiteral("PontDuGard1985");

    // No usable character (which are usable is the core's), cancelled, empty: the note stays, one message.
    FFrance9* w = openEditor();
    f.dialogs.inputAnswers << QStringLiteral("  éèà  ") << std::nullopt << QString() << key;
    for (int i = 0; i < 4; ++i)
        press(w, "Command3");
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.lastMessage(), " La clé ne contient aucun caractère utilisable !");
    EXPECT_EQ(f.dialogs.busyDepth, 0);
    EXPECT_FALSE(note(w)->toPlainText().contains(QStringLiteral("Code portail")));
    ASSERT_TRUE(closeAnswering(w, QMessageBox::Yes));
    EXPECT_EQ(readBytes(notePath()), tb::cipherBytes(original, tb::noteKeyBytes(key)) + "\r\n");

    // The right key gives the note back, byte for byte.
    w = openEditor();
    f.dialogs.inputAnswers.enqueue(key);
    press(w, "Command3");
    ASSERT_TRUE(closeAnswering(w, QMessageBox::Yes));
    EXPECT_EQ(readBytes(notePath()), original + "\r\n");
}

// Nothing lost by mistake: edits asked about, deletions undone, the trash, recent databases.

class NothingLostTest : public ::testing::Test {
protected:
    GuiFixture f;
    QString db;

    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 1, 200, 150)});
    }
    FFrance4* openCardWindow() { return f.open<FFrance4>("Voirlesfiches"); }
    CardRecord stored(long long n) const { return CardStore(db).read(n).value(); }
    static QLineEdit* field(QWidget* w, int i) { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
};

TEST_F(NothingLostTest, ClosingACardWithEditsAsksAndEachAnswerDoesWhatItSays)
{
    const QByteArray before = readBytes(db + "lesfiches.dat");
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    activate(w);
    field(w, 10)->setFocus();
    typeText(field(w, 10), "Rappeler lundi");
    EXPECT_EQ(labelText(w, "StatusLine"), " Modifications non enregistrées.");

    // Annuler: the window stays, nothing written.
    f.dialogs.questionAnswers << QMessageBox::Cancel;
    keyClick(field(w, 10), Qt::Key_Escape);
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_EQ(f.dialogs.questions[0].text, " Enregistrer les modifications de la fiche ? ");
    EXPECT_EQ(f.dialogs.questions[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);

    // Non: closed, nothing written.
    f.dialogs.questionAnswers << QMessageBox::No;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);

    // Oui: stored, then closed.
    w = openCardWindow();
    typeText(field(w, 10), "Rappeler lundi");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(stored(1).field(11).trimmed(), "Rappeler lundi");
    EXPECT_EQ(readBytes(db + "lesfiches.dat").mid(630), before.mid(630));
    // Without edits nothing is asked.
    w = openCardWindow();
    w->close();
    EXPECT_EQ(f.dialogs.questions.size(), 3);
}

TEST_F(NothingLostTest, ArchiveThenDeleteDeletesTheArchivedCardAndCtrlZBringsItBack)
{
    const CardRecord zoe = stored(2);
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    clickRow(child<CardListView>(w, "List1"), 0);  // ARNAUD Zoé, card 2
    child<QAction>(w, "ArchFfic")->trigger();
    EXPECT_EQ(labelText(w, "Label2"), "2");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "Supprimer")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(stored(1).field(3).trimmed(), "BERNARD");
    EXPECT_TRUE(labelText(w, "StatusLine").contains("Fiche supprimée."));

    activate(w);
    child<CardListView>(w, "List1")->setFocus();
    keyClick(child<CardListView>(w, "List1"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    QByteArray archived = zoe.toBytes();
    archived[0] = '0';
    EXPECT_EQ(stored(2).toBytes(), archived);
    EXPECT_EQ(labelText(w, "Label2"), "2");
    // Once only.
    keyClick(child<CardListView>(w, "List1"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
}

TEST_F(NothingLostTest, TheTrashWindowRestoresPurgesAndEmpties)
{
    FFrance4* card = openCardWindow();
    f.dialogs.questionAnswers << QMessageBox::Yes << QMessageBox::Yes;
    child<QAction>(card, "Supprimer")->trigger();  // BERNARD Yves
    child<QAction>(card, "Supprimer")->trigger();  // ARNAUD Zoé, now card 1
    card->close();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 0\r\n");

    auto* w = f.open<FCorbeille>("Corbeille");
    ASSERT_NE(w, nullptr);
    auto* list = child<QTreeWidget>(w, "List1");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    list->setCurrentItem(list->findItems("BERNARD Yves", Qt::MatchExactly).value(0));
    click(child<QPushButton>(w, "Command1"));
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "1\r\n");
    EXPECT_EQ(stored(1).field(3).trimmed(), "BERNARD");
    ASSERT_EQ(list->topLevelItemCount(), 1);

    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(f.dialogs.questions.last().text, " Supprimer définitivement cette fiche de la corbeille ? ");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "1\r\n");
}

TEST_F(NothingLostTest, RecentDatabasesSurviveARestartAndTheFirstStartSaysWhereToBegin)
{
    const QString opened = db;
    f.main.reset();
    f.main = std::make_unique<FFrance>(f.dialogs, f.launcher, f.program.path());
    QAction* recent = f.main->findChild<QAction*>("Recent1");
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->text().remove(u'&'), opened.chopped(1));
    recent->trigger();
    EXPECT_EQ(f.db(), opened);
    // Reopened at start once asked for.
    f.main->findChild<QAction*>("RouvrirDerniere")->setChecked(true);
    f.main.reset();
    f.main = std::make_unique<FFrance>(f.dialogs, f.launcher, f.program.path());
    EXPECT_EQ(f.db(), opened);
    f.main->findChild<QAction*>("RouvrirDerniere")->setChecked(false);
}

TEST_F(NothingLostTest, APersonsDataIsWrittenThenThePersonErasedForGood)
{
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    const QString zip = QDir(db + "..").absolutePath() + "/jean.zip";
    f.dialogs.fileAnswers << zip;
    child<QAction>(w, "DonneesPerso")->trigger();
    EXPECT_TRUE(QFile::exists(zip));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(" Les données de la fiche sont écrites dans "));

    // Non keeps the card; Oui erases it without the trash (what goes is the core's).
    const QByteArray before = readBytes(db + "lesfiches.dat");
    f.dialogs.questionAnswers << QMessageBox::No;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(f.dialogs.lastMessage(), " La personne est effacée. Aucune sauvegarde connue ne la contient.");
}

}  // namespace
