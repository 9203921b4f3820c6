#include "gui/lists/email_window.h"

#include "core/db/database.h"
#include "core/db/session.h"
#include "core/external/external_programs.h"
#include "core/external/launcher.h"
#include "core/lists/card_lists.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

namespace {

QListWidget* makeList(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(accessibleName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The fields keep their widths: one column of letters lines them up.
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    list->setFont(fixed);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    return list;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption);
    return button;
}

}  // namespace

Ffrance91::Ffrance91(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrance91"), QStringLiteral("Courrier électronique"));

    m_names = makeList(this, "List1", QStringLiteral("Noms"));
    m_addresses = makeList(this, "List2", QStringLiteral("Adresses E-mail"));
    m_chosen = new QLabel(this);
    m_chosen->setObjectName(QStringLiteral("Label1"));
    m_chosen->setFrameShape(QFrame::Panel);
    m_chosen->setFrameShadow(QFrame::Sunken);
    m_chosen->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton* command1 = makeButton(this, "Command1", QStringLiteral("Envoyer un courrier"));
    QPushButton* command2 = makeButton(this, "Command2", QStringLiteral("Carnet d'adresses "));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_names, 0, 0);
    grid->addWidget(m_addresses, 0, 1);
    grid->addWidget(m_chosen, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    // Scrolling one list scrolls the other: the lines stay face to face.
    QScrollBar* namesBar = m_names->verticalScrollBar();
    QScrollBar* addressesBar = m_addresses->verticalScrollBar();
    connect(namesBar, &QScrollBar::valueChanged, addressesBar, &QScrollBar::setValue);
    connect(addressesBar, &QScrollBar::valueChanged, namesBar, &QScrollBar::setValue);
    grid->addWidget(command1, 2, 0);
    grid->addWidget(command2, 2, 1);

    // A line is chosen when it is selected, not when the list merely gets
    // the focus (which makes its first line current, unselected).
    for (QListWidget* list : {m_names, m_addresses})
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            const QList<QListWidgetItem*> selected = list->selectedItems();
            if (!selected.isEmpty())
                choose(list->row(selected.first()));
        });
    // Return on a line sends to it, as a click on the button does.
    connect(m_names, &QListWidget::itemActivated, this, &Ffrance91::sendMail);
    connect(m_addresses, &QListWidget::itemActivated, this, &Ffrance91::sendMail);
    connect(command1, &QPushButton::clicked, this, &Ffrance91::sendMail);
    connect(command2, &QPushButton::clicked, this, &Ffrance91::startAddressBook);

    resize(780, 420);
    placeOnScreen(this);
}

void Ffrance91::fill(const QStringList& names, const QStringList& addresses)
{
    const QSignalBlocker blockNames(m_names);
    const QSignalBlocker blockAddresses(m_addresses);
    m_names->clear();
    m_addresses->clear();
    m_names->addItems(names);
    m_addresses->addItems(addresses);
    m_chosen->clear();
}

void Ffrance91::choose(int row)
{
    for (QListWidget* list : {m_names, m_addresses}) {
        const QSignalBlocker block(list);
        list->setCurrentRow(row);
    }
    const QListWidgetItem* item = m_addresses->item(row);
    m_chosen->setText(item ? item->text() : QString());
}

void Ffrance91::sendMail()
{
    const QString address = m_chosen->text();
    if (address.isEmpty())
        return;
    m_ctx.launcher.openUrl(tb::mailtoUrl(address));
}

void Ffrance91::startAddressBook()
{
    const QString program = tb::storedProgram(m_ctx.session.programFolder(), QStringLiteral("LogMail.txt"));
    if (program.isEmpty())
        return;
    const QString withExe = program + QStringLiteral(".exe");
    const bool onlyExe = !QFileInfo::exists(program) && QFileInfo::exists(withExe);
    m_ctx.launcher.startProgram(onlyExe ? withExe : program, {});
}
