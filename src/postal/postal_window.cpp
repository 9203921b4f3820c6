#include "postal/postal_window.h"

#include "lists/list_printer_ui.h"

#include <QAction>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

FFrance5::FFrance5(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FFrance5"));
    setWindowTitle(QStringLiteral("Liste des villes et des codes postaux"));

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    Imprim5 = menuBar->addAction(QStringLiteral("Imprimer"));
    Imprim5->setObjectName(QStringLiteral("Imprim5"));
    connect(Imprim5, &QAction::triggered, this, &FFrance5::print);
    layout->setMenuBar(menuBar);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Liste des villes et des codes postaux"));
    // Every line has the same height: long lists stay instant.
    List1->setUniformItemSizes(true);
    layout->addWidget(List1);

    resize(420, 420);
    move((800 - width()) / 2, (600 - height()) / 2);
}

void FFrance5::setLines(const QStringList& lines)
{
    List1->clear();
    List1->addItems(lines);
}

QStringList FFrance5::lines() const
{
    QStringList out;
    out.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        out.append(List1->item(i)->text());
    return out;
}

void FFrance5::print()
{
    printList(m_ctx.dialogs, lines());
}
