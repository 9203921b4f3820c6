// Everything by keyboard: F1, F10, the Ctrl keys (the Alt letters with every window's accessibility).
#include "gui_fixture.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

using namespace testing_support;

TEST(Keyboard, F1F10AndTheCtrlKeysInTheirWindows)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    activate(f.main.get());
    child<QWidget>(f.main.get(), "Recherche")->setFocus();  // even from the search box
    keyClick(f.main.get(), Qt::Key_F1);
    ASSERT_EQ(f.launcher.programs.size(), 1);
    EXPECT_TRUE(f.launcher.programs[0].program.endsWith(QStringLiteral("/tbaide")));
    EXPECT_EQ(f.launcher.programs[0].args, QStringList{QStringLiteral("fenetre-principale.html")});
    keyClick(f.main.get(), Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), f.main->findChild<QMenu*>(QStringLiteral("Fichier")));
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    f.dialogs.modalScripts.enqueue([](QWidget* w) { EXPECT_EQ(w->objectName(), QStringLiteral("Ffrance29")); });
    QTest::keyClick(f.main.get(), Qt::Key_O, Qt::ControlModifier);

    // The card opens on its first field. Modal as the program shows it, the main window's own keys are
    // blocked behind it.
    f.trigger("Voirlesfiches");
    auto* card = f.window<FFrance4>();
    activate(card);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(card, QStringLiteral("Text1(1)")));
    card->hide();
    card->setWindowModality(Qt::ApplicationModal);
    activate(card);
    QMenuBar* bar = card->findChild<QMenuBar*>();
    QString firstEntry;
    QTimer::singleShot(0, card, [&] {
        keyClick(QApplication::focusWidget(), Qt::Key_F1);
        keyClick(QApplication::focusWidget(), Qt::Key_F10);
        if (bar->activeAction())
            firstEntry = bar->activeAction()->objectName();
        card->close();
    });
    QEventLoop loop;
    QObject::connect(card, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(f.launcher.programs.size(), 2);
    EXPECT_EQ(f.launcher.programs[1].args, QStringList{QStringLiteral("fiche.html")});
    EXPECT_EQ(firstEntry, QStringLiteral("Feuillexls"));

    f.trigger("alpha");
    QWidget* list = f.dialogs.lastModal();
    activate(list);
    QTemporaryDir out;
    f.dialogs.printToPdf = out.filePath(QStringLiteral("liste.pdf"));
    QTest::keyClick(list, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(f.dialogs.printToPdf));
    list->close();
    activate(f.main.get());
    QTest::keyClick(f.main.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(f.main->isVisible());
}

TEST(Keyboard, ACaptionWithAnAmpersandShowsAsWrittenAndIsKeptAsWritten)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    tb::Database* db = f.main->session().database();
    QStringList captions = db->captions();
    captions[0] = QStringLiteral("Frais & débours");
    ASSERT_TRUE(db->setCaptions(captions));
    f.trigger("Fiche");
    QWidget* structure = f.dialogs.lastModal();
    EXPECT_EQ(labelText(structure, QStringLiteral("Label1(10)")), QStringLiteral("Frais && débours"));
    click(child<QPushButton>(structure, QStringLiteral("Command1")));
    EXPECT_EQ(db->captions().value(0), QStringLiteral("Frais & débours"));
    f.trigger("Voirlesfiches");
    EXPECT_EQ(labelText(f.dialogs.lastModal(), QStringLiteral("Label1(10)")), QStringLiteral("Frais && débours"));
}
