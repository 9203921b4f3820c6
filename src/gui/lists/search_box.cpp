#include "gui/lists/search_box.h"

#include "core/base/number_text.h"
#include "gui/widgets/card_list_view.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SearchBox::SearchBox(QWidget* overlay, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SearchBox"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Recherche"));
    m_edit->setAccessibleName(QStringLiteral("Rechercher une fiche"));
    m_edit->setPlaceholderText(QStringLiteral("Rechercher une fiche (Ctrl+F) : nom, ville, téléphone…"));
    m_edit->setClearButtonEnabled(true);
    m_edit->installEventFilter(this);
    layout->addWidget(m_edit);

    auto* panel = new QFrame(overlay);
    panel->setObjectName(QStringLiteral("SearchResults"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    m_panel = panel;
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    m_count = new QLabel(m_panel);
    m_count->setObjectName(QStringLiteral("SearchCount"));
    m_list = new CardListView(m_panel);
    m_list->setObjectName(QStringLiteral("SearchList"));
    m_list->setAccessibleName(QStringLiteral("Fiches trouvées"));
    m_list->installEventFilter(this);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(m_count, 1);
    auto* toList = new QPushButton(QStringLiteral("Afficher dans la liste"), m_panel);
    m_toList = toList;
    toList->setObjectName(QStringLiteral("AfficherListe"));
    toList->setAccessibleName(toList->text());
    connect(toList, &QPushButton::clicked, this, [this] {
        const QString typed = m_edit->text();
        clear();
        emit listRequested(typed);
    });
    countRow->addWidget(toList);
    panelLayout->addLayout(countRow);
    panelLayout->addWidget(m_list);
    m_panel->hide();
    overlay->installEventFilter(this);

    connect(m_edit, &QLineEdit::textChanged, this, &SearchBox::search);
    connect(m_list, &CardListView::rowOpened, this, &SearchBox::openRow);
}

void SearchBox::setTipsFrom(const tb::Session& session)
{
    m_list->cards()->setTipsFrom(session);
}

void SearchBox::setSearcher(Searcher searcher)
{
    m_searcher = std::move(searcher);
    search(m_edit->text());
}

void SearchBox::focusBox()
{
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void SearchBox::clear()
{
    m_edit->clear();
    m_panel->hide();
}

void SearchBox::search(const QString& typed)
{
    if (typed.trimmed().isEmpty() || !m_searcher) {
        m_list->cards()->setList({});
        m_panel->hide();
        return;
    }
    tb::Result<tb::Database::SearchResult> found = m_searcher(typed);
    if (!found) {
        m_panel->hide();
        emit failed(found.error());
        return;
    }
    const long long total = found->total;
    const int shown = found->list.size();
    if (total == 0)
        m_count->setText(QStringLiteral("Aucune fiche ne contient ces mots."));
    else if (shown < total)
        m_count->setText(tb::countText(total) + QStringLiteral(" fiches, les ") + tb::countText(shown)
                         + QStringLiteral(" premières affichées : précisez la recherche."));
    else
        m_count->setText(tb::countText(total) + (total > 1 ? QStringLiteral(" fiches") : QStringLiteral(" fiche")));
    m_toList->setEnabled(total > 0);
    m_list->cards()->setList(std::move(found->list));
    if (shown > 0)
        m_list->setCurrentIndex(m_list->cards()->index(0));
    placeResults();
    m_panel->show();
    m_panel->raise();
}

void SearchBox::openRow(int row)
{
    const long long n = m_list->cards()->numberAt(row);
    if (n > 0)
        emit cardChosen(n);
}

void SearchBox::placeResults()
{
    QWidget* overlay = m_panel->parentWidget();
    const int width = qMin(overlay->width(), 820);
    const int height = qMin(overlay->height(), 360);
    m_panel->setGeometry(0, 0, width, height);
}

bool SearchBox::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_panel)
        return QWidget::eventFilter(watched, event);
    if (watched == m_panel->parentWidget() && event->type() == QEvent::Resize && m_panel->isVisible())
        placeResults();
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        clear();
        return true;
    }
    if (watched == m_edit) {
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_panel->isVisible()) {
            openRow(m_list->currentIndex().isValid() ? m_list->currentIndex().row() : 0);
            return true;
        }
        if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && m_panel->isVisible()) {
            m_list->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
