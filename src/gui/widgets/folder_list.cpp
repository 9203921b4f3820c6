#include "gui/widgets/folder_list.h"

#include "core/base/paths.h"

#include <QDir>
#include <QStyle>

namespace {
constexpr int kPathRole = Qt::UserRole;
}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item)
            openFolder(item->data(kPathRole).toString());
    });
}

bool FolderList::openFolder(const QString& folder)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    m_folder = tb::folderText(dir.absolutePath());
    clear();
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem(style()->standardIcon(QStyle::SP_FileDialogToParent), QStringLiteral(".."));
        up->setData(kPathRole, QFileInfo(dir.absolutePath()).path());
        up->setData(Qt::AccessibleTextRole, QStringLiteral("Dossier parent"));
        addItem(up);
    }
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QFileInfoList subfolders =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo& info : subfolders) {
        auto* item = new QListWidgetItem(folderIcon, info.fileName());
        item->setData(kPathRole, info.absoluteFilePath());
        addItem(item);
    }
    emit folderOpened(m_folder);
    return true;
}
