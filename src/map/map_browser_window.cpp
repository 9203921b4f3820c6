#include "map/map_browser_window.h"

#include "base/value_files.h"
#include "map/file_picker_widget.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FFrance22::FFrance22(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FFrance22"));
    setWindowTitle(QStringLiteral("Recherche de photos (fichiers \"JPG\")"));

    m_picker = new FilePickerWidget(this);
    Drive1 = m_picker->Drive1;
    Dir1 = m_picker->Dir1;
    File1 = m_picker->File1;
    TxtChemin = m_picker->TxtChemin;
    Label1 = m_picker->Label1;
    Picture1 = m_picker->Picture1;
    Pctdim = m_picker->Pctdim;
    Command1 = new QPushButton(QStringLiteral("Charger"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("Charger"));
    connect(Command1, &QPushButton::clicked, this, &FFrance22::load);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picker, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);

    m_picker->setPattern(QStringLiteral("*.jpg;*.gif;*.bmp"));
    QDir::setCurrent(m_ctx.values.Label11);
    m_picker->openFolder(m_ctx.values.Label11);
    resize(660, 400);
    move((800 - width()) / 2, (600 - height()) / 2);
}

bool FFrance22::openFolder(const QString& folder)
{
    return m_picker->openFolder(folder);
}

void FFrance22::clickFile(const QString& name)
{
    m_picker->clickFile(name);
}

void FFrance22::load()
{
    // Without a chosen file the map stays as it is (an empty path would blank it).
    const QString path = Label1->text();
    if (path.isEmpty())
        return;
    tb::writeValueFile(m_ctx.values.dbFile(QStringLiteral("carte.txt")), path);
    m_ctx.values.Label200 = path;
    hide();
}
