#include "gui/app/print_preview_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QPushButton* addButton(QHBoxLayout* row, const char* name, const QString& text, const QString& accessible)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(accessible);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

}  // namespace

PrintPreviewWindow::PrintPreviewWindow(QPrinter& printer, std::function<void(QPrinter&)> paint, QWidget* parent)
    : QDialog(parent), m_paint(std::move(paint))
{
    setObjectName(QStringLiteral("Apercu"));
    setWindowTitle(QStringLiteral("Aperçu avant impression"));

    auto* layout = new QVBoxLayout(this);
    m_preview = new QPrintPreviewWidget(&printer, this);
    m_preview->setObjectName(QStringLiteral("Pages"));
    m_preview->setAccessibleName(QStringLiteral("Pages à imprimer"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) { m_paint(*p); });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &PrintPreviewWindow::showPageCount);
    layout->addWidget(m_preview, 1);

    auto* row = new QHBoxLayout;
    m_pages = new QLabel(this);
    m_pages->setObjectName(QStringLiteral("NbPages"));
    row->addWidget(m_pages);
    row->addStretch(1);
    QPushButton* smaller = addButton(row, "Reduire", QStringLiteral("&Réduire"), QStringLiteral("Réduire"));
    QPushButton* larger = addButton(row, "Agrandir", QStringLiteral("A&grandir"), QStringLiteral("Agrandir"));
    QPushButton* whole = addButton(row, "PagesEntieres", QStringLiteral("Page &entière"), QStringLiteral("Page entière"));
    QPushButton* print = addButton(row, "Imprimer", QStringLiteral("&Imprimer"), QStringLiteral("Imprimer"));
    QPushButton* cancel = addButton(row, "Annuler", QStringLiteral("&Annuler"), QStringLiteral("Annuler"));
    print->setDefault(true);
    layout->addLayout(row);

    connect(smaller, &QPushButton::clicked, m_preview, [this] { m_preview->zoomOut(); });
    connect(larger, &QPushButton::clicked, m_preview, [this] { m_preview->zoomIn(); });
    connect(whole, &QPushButton::clicked, m_preview, &QPrintPreviewWidget::fitInView);
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Most of the screen, never past it: a page is tall.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(800, area.width() * 9 / 10), area.height() * 8 / 10);
}

void PrintPreviewWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_preview->setFocus();
}

void PrintPreviewWindow::showPageCount()
{
    const int pages = m_preview->pageCount();
    m_pages->setText(pages == 1 ? QStringLiteral("1 page") : QString::number(pages) + QStringLiteral(" pages"));
    m_pages->setAccessibleName(m_pages->text());
}
