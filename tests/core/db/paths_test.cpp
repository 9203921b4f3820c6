// Names of every kind: databases, documents and program folders with blanks,
// quotes, commas, accents, characters the code page lacks, a leading "-" or
// 255 bytes work, or are refused with a message; nothing is ever written
// outside the program folder and the database folder.
#include "core/base/value_files.h"
#include "core/db/database.h"
#include "core/journals/journal.h"
#include "core/lists/exports.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QStringList everything(const QString& root, const QString& except)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(except))
            found << path;
    }
    found.sort();
    return found;
}

}  // namespace

TEST(PathsTest, OddNamesOfDatabasesAndProgramFoldersWorkAndWriteNowhereElse)
{
    QTemporaryDir root;
    const QString beside = root.path() + QStringLiteral("/voisin.txt");
    writeBytes(beside, "rien");
    const QStringList programNames = {"Programme", "-Mes « programmes », l'été \"2026\" Ω 客"};
    const QStringList names = {"Mes clients", "L'été \"pro\", 2026", "-base", "Ωmega 客户 ☎", QString(127, u'é') + u'a',
                               " Espace devant", "Espace derrière "};
    for (const QString& programName : programNames) {
        const QString program = root.path() + u'/' + programName + u'/';
        ASSERT_TRUE(QDir().mkpath(program));
        for (const QFileInfo& fi : QDir(dataDir()).entryInfoList(QDir::Files))
            QFile::copy(fi.absoluteFilePath(), program + fi.fileName());
        const QStringList outside = everything(root.path(), program);
        for (const QString& name : names) {
            SCOPED_TRACE((programName + u'/' + name).toStdString());
            QByteArray note;
            {
                auto db = tb::Database::create(program, name);
                ASSERT_TRUE(db) << db.error().message().toStdString();
                tb::Database& d = *db.value();
                EXPECT_EQ(d.folder(), program + name + u'/');
                EXPECT_EQ(tb::readPathValue(program + QStringLiteral("dossier.txt")), name);
                EXPECT_EQ(d.mapPath(), program + QStringLiteral("frc.gif"));
                ASSERT_TRUE(d.createCard(makeCard("DUPONT", "Jean", 3, 10, 20)));
                auto journal = tb::Journal::open(d, 1, tb::JournalKind::Memento);
                ASSERT_TRUE(journal);
                EXPECT_TRUE(journal->add("Rappeler"));
                EXPECT_TRUE(tb::saveNote(d.findSideFile(tb::SideFile::Note, 1), "Note"));
                EXPECT_TRUE(tb::writeExport(d.store(), d.count(), tb::ExportFormat::Fields));
                // A document chosen under an odd name is copied into the folder under the card's own name.
                EXPECT_EQ(d.attachmentPath("photo1", root.path() + u'/' + name.left(20) + QStringLiteral(".JPEG")),
                          d.folder() + QStringLiteral("photo1.jpg"));
            }
            auto again = tb::Database::open(program + name + u'/');
            ASSERT_TRUE(again) << again.error().message().toStdString();
            EXPECT_EQ((*again)->count(), 1);
            EXPECT_EQ(tb::loadNote((*again)->findSideFile(tb::SideFile::Note, 1)), "Note");
        }
        EXPECT_EQ(everything(root.path(), program), outside);
    }

    // Refused with the usual message, nothing made.
    const QString program = root.path() + u'/' + programNames[1] + u'/';
    const QStringList before = everything(root.path(), QStringLiteral("\x01"));
    for (const QString& bad : QStringList{QString(128, u'é'), "..", "a/b", "   ", "x\ty"}) {
        const auto refused = tb::Database::create(program, bad);
        ASSERT_FALSE(refused) << bad.toStdString();
        EXPECT_EQ(refused.error().message(), "Erreur n° 52 : nom de fichier incorrect");
    }
    EXPECT_EQ(everything(root.path(), QStringLiteral("\x01")), before);
}
