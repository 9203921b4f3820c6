#include "app/database_chooser_window.h"

#include "app/dialogs_ui.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kTwipsPerPixel = 15;
const QString kParent = QStringLiteral("..");

QString withSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}
}  // namespace

Ffrance29::Ffrance29(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Ffrance29"));
    setWindowTitle(QStringLiteral("Sélection d'une base de données."));

    auto* layout = new QVBoxLayout(this);
    Chemin = new QLabel(this);
    Chemin->setObjectName(QStringLiteral("Chemin"));
    Chemin->setWordWrap(true);
    layout->addWidget(Chemin);
    Dir1 = new QListWidget(this);
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

    connect(Dir1, &QListWidget::itemClicked, this, [this] { clickList(); });
    connect(Dir1, &QListWidget::itemDoubleClicked, this, &Ffrance29::onDoubleClick);
    connect(Command1, &QPushButton::clicked, this, &Ffrance29::validate);

    resize(420, 360);
    move((12000 / kTwipsPerPixel - width()) / 2, (9000 / kTwipsPerPixel - height()) / 2);
    QDir::setCurrent(m_ctx.values.Label11);
    m_path = withSlash(m_ctx.values.Label11);
    Label1->setText(m_path);
    Label2->setText(m_path);
    fillList();
}

void Ffrance29::fillList()
{
    Dir1->clear();
    Chemin->setText(QStringLiteral("Dossier : ") + m_path);
    QDir dir(m_path);
    if (!dir.isRoot())
        Dir1->addItem(kParent);
    Dir1->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void Ffrance29::openFolder(const QString& path)
{
    const QDir dir(path);
    if (!dir.exists())
        return;
    m_path = withSlash(QDir::cleanPath(dir.absolutePath()));
    Label1->setText(m_path);
    fillList();
}

void Ffrance29::onDoubleClick(QListWidgetItem* item)
{
    if (!item)
        return;
    if (item->text() == kParent)
        openFolder(m_path + kParent);
    else
        openFolder(m_path + item->text());
}

void Ffrance29::clickList()
{
    Label1->setText(m_path);
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
