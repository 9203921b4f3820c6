// File choosers start where the user keeps such files, and imports, exports
// and backups each where the last one of their kind went.
#include "core/external/start_folders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The desktop's own folders (XDG user dirs) pointing into a temporary folder.
class UserFolders {
public:
    UserFolders()
    {
        QDir().mkpath(documents);
        QDir().mkpath(pictures);
        QFile file(config());
        file.open(QIODevice::WriteOnly);
        file.write(("XDG_DOCUMENTS_DIR=\"" + documents + "\"\nXDG_PICTURES_DIR=\"" + pictures + "\"\n").toUtf8());
    }
    ~UserFolders() { QFile::remove(config()); }
    static QString config()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/user-dirs.dirs");
    }

    QTemporaryDir tmp;
    QString documents = tmp.filePath(QStringLiteral("Mes documents"));
    QString pictures = tmp.filePath(QStringLiteral("Images"));
};

}  // namespace

TEST(ChooserStartFolders, PicturesDocumentsThenTheLastFolderOfEachKind)
{
    UserFolders user;
    EXPECT_EQ(tb::picturesFolder(), user.pictures);
    EXPECT_EQ(tb::documentsFolder(), user.documents);
    for (tb::ChooserKind kind : {tb::ChooserKind::Import, tb::ChooserKind::Export, tb::ChooserKind::Backup})
        EXPECT_EQ(tb::startFolder(kind), user.documents);

    const QString exports = user.tmp.filePath(QStringLiteral("Envois"));
    const QString backups = user.tmp.filePath(QStringLiteral("Clé USB"));
    QDir().mkpath(exports);
    QDir().mkpath(backups);
    tb::rememberChosen(tb::ChooserKind::Export, exports + QStringLiteral("/Clients.vcf"));  // a file not yet written
    tb::rememberChosen(tb::ChooserKind::Backup, backups);
    EXPECT_EQ(tb::startFolder(tb::ChooserKind::Export), exports);
    EXPECT_EQ(tb::startFolder(tb::ChooserKind::Backup), backups);
    EXPECT_EQ(tb::startFolder(tb::ChooserKind::Import), user.documents);

    // A folder gone (a key taken out) is no start; nor a desktop folder that
    // does not exist.
    QDir(backups).removeRecursively();
    EXPECT_EQ(tb::lastFolder(tb::ChooserKind::Backup), QString());
    EXPECT_EQ(tb::startFolder(tb::ChooserKind::Backup), user.documents);
    QDir(user.documents).removeRecursively();
    EXPECT_EQ(tb::documentsFolder(), QDir::homePath());
}
