#include "gui/app/database_chooser_window.h"

#include "core/base/number_text.h"
#include "core/db/database_files.h"
#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/folder_list.h"

#include <QFileInfo>
#include <QLabel>
#include <QStyle>
#include <QPushButton>
#include <QVBoxLayout>

Ffrance29::Ffrance29(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrance29"), QStringLiteral("Sélection d'une base de données."));
    auto* layout = new QVBoxLayout(this);
    m_path = new QLabel(this);
    m_path->setObjectName(QStringLiteral("Chemin"));
    m_path->setWordWrap(true);
    layout->addWidget(m_path);
    m_folders = new FolderList(this);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setAccessibleName(QStringLiteral("Dossiers"));
    layout->addWidget(m_folders, 1);
    m_validate = new QPushButton(QStringLiteral("Valider"), this);
    m_validate->setObjectName(QStringLiteral("Command1"));
    m_validate->setAccessibleName(QStringLiteral("Valider"));
    m_validate->setAutoDefault(true);
    layout->addWidget(m_validate);

    // Moving into a folder (double-click) or clicking names the listed folder.
    connect(m_folders, &FolderList::folderOpened, this, [this](const QString& folder) {
        m_chosen = folder;
        m_path->setText(QStringLiteral("Dossier : ") + folder);
        markDatabases();
    });
    connect(m_folders, &QListWidget::itemClicked, this, [this] { m_chosen = m_folders->folder(); });
    connect(m_validate, &QPushButton::clicked, this, &Ffrance29::validate);

    resize(420, 360);
    placeOnScreen(this);
    m_folders->openFolder(m_ctx.session.programFolder());
    m_start = m_folders->folder();
}

void Ffrance29::resetChoice()
{
    m_confirmed.clear();
    const tb::Database* db = m_ctx.session.database();
    const QString holder = db ? QFileInfo(db->folder().chopped(1)).path() : m_ctx.session.programFolder();
    if (m_folders->openFolder(holder))
        m_start = m_folders->folder();
}

void Ffrance29::markDatabases()
{
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (int row = 0; row < m_folders->count(); ++row) {
        QListWidgetItem* item = m_folders->item(row);
        const QString folder = m_folders->folder() + item->text() + u'/';
        if (item->text() == QLatin1String("..") || !tb::isDatabaseFolder(folder))
            continue;
        const QString count = tb::countText(CardStore(folder).readCount().value) + QStringLiteral(" fiche(s)");
        item->setIcon(icon);
        item->setToolTip(QStringLiteral("Base de données : ") + count);
        item->setData(Qt::AccessibleTextRole, item->text() + QStringLiteral(", base de données, ") + count);
        item->setData(Qt::AccessibleDescriptionRole, count);
    }
}

void Ffrance29::validate()
{
    if (m_chosen == m_start || m_chosen.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral(
            "Vous n'avez pas sélectionné correctement la base de données : faites un double-clic sur le nom !"));
        return;
    }
    m_confirmed = m_chosen;
    hide();
}
