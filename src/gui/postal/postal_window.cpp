#include "gui/postal/postal_window.h"

#include "gui/app/secondary_window.h"
#include "gui/lists/list_printer.h"
#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

FFrance5::FFrance5(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FFrance5"), QStringLiteral("Liste des villes et des codes postaux"));

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    Imprim5 = addMenuEntry(menuBar, "Imprim5", QStringLiteral("Imprimer"));
    Imprim5->setShortcut(QKeySequence::Print);
    connect(Imprim5, &QAction::triggered, this, &FFrance5::print);
    layout->setMenuBar(menuBar);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Liste des villes et des codes postaux"));
    // Every line has the same height: long lists stay instant.
    List1->setUniformItemSizes(true);
    layout->addWidget(List1);

    resize(420, 420);
    placeOnScreen(this);
}

void FFrance5::setLines(const QStringList& lines)
{
    List1->clear();
    List1->addItems(lines);
}

QStringList FFrance5::lines() const
{
    return listLines(List1);
}

void FFrance5::print()
{
    printList(m_ctx.dialogs, lines());
}
