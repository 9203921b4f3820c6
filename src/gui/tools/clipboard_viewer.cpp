#include "gui/tools/clipboard_viewer.h"

#include "gui/app/secondary_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QVBoxLayout>

ClipboardViewer::ClipboardViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setUpSecondaryWindow(this, QStringLiteral("Clipbrd"), QStringLiteral("Presse-papiers"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("ClipboardText"));
    m_text->setAccessibleName(QStringLiteral("Texte du presse-papiers"));
    m_text->setReadOnly(true);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("ClipboardPicture"));
    m_picture->setAccessibleName(QStringLiteral("Image du presse-papiers"));
    m_pictureArea = new QScrollArea(this);
    m_pictureArea->setWidget(m_picture);
    m_empty = new QLabel(QStringLiteral("Le presse-papiers est vide."), this);
    m_empty->setObjectName(QStringLiteral("ClipboardEmpty"));
    m_empty->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_pictureArea);
    layout->addWidget(m_empty);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardViewer::refresh);
    resize(480, 360);
    placeOnScreen(this);
    refresh();
}

void ClipboardViewer::refresh()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const bool picture = data && data->hasImage();
    const bool text = !picture && data && data->hasText();
    if (picture) {
        m_picture->setPixmap(QPixmap::fromImage(qvariant_cast<QImage>(data->imageData())));
        m_picture->adjustSize();
    } else {
        m_picture->clear();
    }
    m_text->setPlainText(text ? data->text() : QString());
    m_text->setVisible(text);
    m_pictureArea->setVisible(picture);
    m_empty->setVisible(!text && !picture);
}
