#include "gui/lists/list_window.h"

#include "gui/app/secondary_window.h"
#include "gui/lists/list_commands.h"
#include "core/lists/list_page_layout.h"
#include "gui/lists/list_printer.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {


QListWidget* makeList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);  // large lists stay fast
    return list;
}

}  // namespace

FFrance3::FFrance3(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FFrance3"), QStringLiteral("Liste"));

    auto* layout = new QVBoxLayout(this);
    menuBar = new QMenuBar(this);
    Imprim3 = menuBar->addAction(QStringLiteral("Imprimer"));
    Imprim3->setObjectName(QStringLiteral("Imprim3"));
    connect(Imprim3, &QAction::triggered, this, [this] { printList(m_ctx.dialogs, lines()); });
    layout->setMenuBar(menuBar);

    List1 = makeList(this, "List1");
    List1->setAccessibleName(QStringLiteral("Liste"));
    // Fixed pitch: the padded fields line up in columns.
    QFont font = tb::defaultListPrintFont();
    font.setPointSize(this->font().pointSize() > 0 ? this->font().pointSize() : 10);
    List1->setFont(font);
    List1->viewport()->installEventFilter(this);
    layout->addWidget(List1);

    List2 = makeList(this, "List2");
    List3 = makeList(this, "List3");
    List2->hide();
    List3->hide();
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->hide();

    resize(760, 460);
    QDir::setCurrent(m_ctx.values.Label11);
    centreOn800x600(this, 12500);
}

void FFrance3::setLists(const tb::ParallelLists& lists)
{
    List1->clear();
    List2->clear();
    List3->clear();
    List1->addItems(lists.displayLines());
    List3->addItems(lists.sortLines());
    List2->addItems(lists.numberEntries());
}

QStringList FFrance3::lines() const
{
    return listLines(List1);
}

bool FFrance3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;  // other buttons open nothing
        const int row = List1->indexAt(mouse->position().toPoint()).row();
        if (row >= 0)
            List1->setCurrentRow(row);
        openCardFromList(m_ctx, row);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
