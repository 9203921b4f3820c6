#include "gui/external/program_paths_window.h"

#include "core/db/session.h"
#include "core/external/external_programs.h"
#include "gui/app/secondary_window.h"

#include <QListWidget>
#include <QVBoxLayout>

Ffrance14::Ffrance14(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    const QString caption = QStringLiteral("Chemins des logiciels externes actuellement sélectionnés");
    setUpSecondaryWindow(this, QStringLiteral("Ffrance14"), caption);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1);
    resize(520, 380);
    placeOnScreen(this);
}

void Ffrance14::showEvent(QShowEvent* event)
{
    List1->clear();
    List1->addItems(tb::programPathLines(m_ctx.session.programFolder()));
    QWidget::showEvent(event);
}
