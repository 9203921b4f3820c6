#include "gui/widgets/file_picker.h"

#include "core/base/paths.h"
#include "gui/widgets/folder_list.h"
#include "core/map/preview_image.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole;

// File systems that are no place for a user's files.
bool isPseudoVolume(const QStorageInfo& volume)
{
    static const QStringList pseudoTypes = {"proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2",
                                            "securityfs", "debugfs", "tracefs", "pstore", "bpf", "mqueue",
                                            "hugetlbfs", "configfs", "fusectl", "autofs", "binfmt_misc",
                                            "efivarfs", "nsfs", "squashfs", "ramfs", "rpc_pipefs", "tmpfs",
                                            "overlay"};
    const QString root = volume.rootPath();
    if (root == u'/')
        return false;
    if (pseudoTypes.contains(QString::fromLatin1(volume.fileSystemType())))
        return true;
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap"}) {
        const QString prefix = QString::fromLatin1(system);
        if ((root == prefix || root.startsWith(prefix + u'/')) && !root.startsWith(QStringLiteral("/run/media/")))
            return true;
    }
    return false;
}

QLabel* captionFor(QWidget* control, const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(control);
    control->setAccessibleName(caption.chopped(2));  // without " :"
    return label;
}

}  // namespace

FilePickerWidget::FilePickerWidget(QWidget* parent) : QWidget(parent)
{
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setUniformItemSizes(true);
    TxtChemin = new QLabel(this);
    TxtChemin->setObjectName(QStringLiteral("TxtChemin"));
    TxtChemin->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(previewSize + QSize(2, 2));
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setAccessibleName(QStringLiteral("Aperçu"));
    Pctdim = new QLabel(this);
    Pctdim->setObjectName(QStringLiteral("Pctdim"));
    Pctdim->hide();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(captionFor(Drive1, QStringLiteral("Lecteurs :"), this), 0, 0);
    grid->addWidget(Drive1, 1, 0);
    grid->addWidget(captionFor(Dir1, QStringLiteral("Dossiers :"), this), 2, 0);
    grid->addWidget(Dir1, 3, 0);
    grid->addWidget(captionFor(File1, QStringLiteral("Fichiers :"), this), 0, 1);
    grid->addWidget(File1, 1, 1, 3, 1);
    m_previewColumn = new QVBoxLayout;
    m_previewColumn->addWidget(Picture1);
    m_previewColumn->addStretch();
    grid->addLayout(m_previewColumn, 0, 2, 4, 1);
    grid->addWidget(TxtChemin, 4, 0, 1, 3);
    grid->addWidget(Label1, 5, 0, 1, 3);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    fillDrives();
    connect(Drive1, &QComboBox::activated, this, &FilePickerWidget::chooseDrive);
    connect(Dir1, &FolderList::folderOpened, this, &FilePickerWidget::onFolderOpened);
    connect(File1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            clickFile(item->text());
    });
    connect(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (m_folder + item->text() != Label1->text())
            clickFile(item->text());
    });
    // Return (or a double-click) on a file chooses it.
    connect(File1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        clickFile(item->text());
        emit fileChosen();
    });
}

void FilePickerWidget::fillDrives()
{
    Drive1->clear();
    QStringList roots = {tb::folderText(QDir::homePath()), QStringLiteral("/")};
    QStringList names = {QStringLiteral("Dossier personnel"), QString()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || isPseudoVolume(volume))
            continue;
        const QString root = tb::folderText(volume.rootPath());
        if (roots.contains(root))
            continue;
        roots.append(root);
        names.append(volume.name());
    }
    for (qsizetype i = 0; i < roots.size(); ++i) {
        const QString text = names[i].isEmpty() ? roots[i] : roots[i] + QStringLiteral(" [") + names[i] + u']';
        Drive1->addItem(text, roots[i]);
    }
}

void FilePickerWidget::selectDriveOf(const QString& folder)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemData(i, kPathRole).toString();
        if (folder.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker blocker(Drive1);
    Drive1->setCurrentIndex(best);
}

void FilePickerWidget::chooseDrive(int index)
{
    if (index < 0 || index >= Drive1->count())
        return;
    // A drive that cannot be listed leaves the lists where they were.
    if (!openFolder(Drive1->itemData(index, kPathRole).toString()))
        selectDriveOf(m_folder);
}

void FilePickerWidget::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    refreshFiles();
}

bool FilePickerWidget::openFolder(const QString& folder)
{
    return Dir1->openFolder(folder);
}

void FilePickerWidget::onFolderOpened(const QString& folder)
{
    m_folder = folder;
    TxtChemin->setText(m_folder);
    refreshFiles();
    selectDriveOf(m_folder);
}

void FilePickerWidget::refreshFiles()
{
    const QSignalBlocker blocker(File1);
    File1->clear();
    if (m_folder.isEmpty())
        return;
    QStringList filters;
    for (const QString& part : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            filters.append(part.trimmed());
    }
    if (filters.isEmpty())
        filters.append(QStringLiteral("*"));
    // No QDir::CaseSensitive: "*.jpg" lists "PHOTO.JPG" too.
    const QDir::Filters kinds = m_executablesOnly ? QDir::Files | QDir::Executable : QDir::Files;
    File1->addItems(QDir(m_folder).entryList(filters, kinds,
                                             QDir::Name | QDir::IgnoreCase | QDir::LocaleAware));
}

void FilePickerWidget::clickFile(const QString& name)
{
    const QString path = m_folder + name;
    Label1->setText(path);
    {
        const QSignalBlocker blocker(File1);
        const QList<QListWidgetItem*> items = File1->findItems(name, Qt::MatchExactly);
        File1->setCurrentItem(items.isEmpty() ? nullptr : items.first());
    }
    if (!m_executablesOnly)
        showPreview(path);
    emit fileClicked(path);
}

void FilePickerWidget::showPreview(const QString& path)
{
    Picture1->clear();
    Pctdim->clear();
    const QImage image = tb::loadPreview(path, previewSize, &m_imageSize);
    // Pctdim measures the image: it takes the image's own size.
    Pctdim->resize(m_imageSize.isValid() ? m_imageSize : QSize(0, 0));
    const QImage framed = tb::framedPreview(image, m_imageSize, previewSize, palette().color(QPalette::Base));
    if (!framed.isNull())
        Picture1->setPixmap(QPixmap::fromImage(framed));
}

QString FilePickerWidget::chosenPath() const
{
    return Label1->text();
}

void FilePickerWidget::setPictureVisible(bool visible)
{
    Picture1->setVisible(visible);
}

void FilePickerWidget::setExecutablesOnly(bool on)
{
    m_executablesOnly = on;
    refreshFiles();
}

void FilePickerWidget::setPathText(const QString& text)
{
    TxtChemin->setText(text);
}

QString FilePickerWidget::pathText() const
{
    return TxtChemin->text();
}

void FilePickerWidget::setChosenPathVisible(bool visible)
{
    Label1->setVisible(visible);
}
