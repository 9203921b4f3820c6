#include "gui/app/database_chooser_window.h"

#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/folder_list.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Ffrance29::Ffrance29(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrance29"), QStringLiteral("Sélection d'une base de données."));

    auto* layout = new QVBoxLayout(this);
    Chemin = new QLabel(this);
    Chemin->setObjectName(QStringLiteral("Chemin"));
    Chemin->setWordWrap(true);
    layout->addWidget(Chemin);
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(QStringLiteral("Dossiers"));
    layout->addWidget(Dir1, 1);
    Command1 = new QPushButton(QStringLiteral("Valider"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("Valider"));
    layout->addWidget(Command1);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->hide();

    // Moving into a folder (double-click) or clicking names the listed folder.
    connect(Dir1, &FolderList::folderOpened, this, [this](const QString& folder) {
        Label1->setText(folder);
        Chemin->setText(QStringLiteral("Dossier : ") + folder);
    });
    connect(Dir1, &QListWidget::itemClicked, this, [this] { clickList(); });
    connect(Command1, &QPushButton::clicked, this, &Ffrance29::validate);

    resize(420, 360);
    centreOn800x600(this);
    QDir::setCurrent(m_ctx.values.Label11);
    Dir1->openFolder(m_ctx.values.Label11);
    Label2->setText(Dir1->folder());
}

void Ffrance29::openFolder(const QString& path)
{
    Dir1->openFolder(path);
}

void Ffrance29::clickList()
{
    Label1->setText(Dir1->folder());
}

void Ffrance29::validate()
{
    if (Label1->text() == Label2->text() || Label1->text().isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral(
            "Vous n'avez pas sélectionné correctement la base de données : faites un double-clic sur le nom !"));
        return;
    }
    m_ctx.values.Label2 = Label1->text();
    m_chosen = true;
    hide();
}
