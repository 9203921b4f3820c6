#include "gui/map/zoom_control.h"

#include "core/map/map_zoom.h"
#include "gui/map/map_picture.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QToolButton>

namespace {
QString percentText(double zoom)
{
    return QString::number(qRound(zoom * 100)) + QStringLiteral(" %");
}
}

ZoomControl::ZoomControl(MapPicture* picture, QWidget* parent) : QWidget(parent), m_picture(picture)
{
    setObjectName(QStringLiteral("ZoomControl"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto button = [&](const char* name, const QString& text, const QString& accessible) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setAccessibleName(accessible);
        b->setToolTip(accessible);
        b->setAutoRaise(true);
        return b;
    };
    QToolButton* out = button("ZoomOut", QStringLiteral("−"), QStringLiteral("Zoom arrière (Ctrl+-)"));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("Zoom"));
    m_combo->setAccessibleName(QStringLiteral("Zoom"));
    m_combo->setEditable(true);
    m_combo->lineEdit()->setAccessibleName(m_combo->accessibleName());
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    for (int level : tb::zoomLevels())
        m_combo->addItem(QString::number(level) + QStringLiteral(" %"));
    m_combo->addItem(fitText());
    m_combo->setMinimumContentsLength(18);
    QToolButton* in = button("ZoomIn", QStringLiteral("+"), QStringLiteral("Zoom avant (Ctrl++)"));
    layout->addWidget(out);
    layout->addWidget(m_combo);
    layout->addWidget(in);

    connect(out, &QToolButton::clicked, m_picture, &MapPicture::zoomOut);
    connect(in, &QToolButton::clicked, m_picture, &MapPicture::zoomIn);
    connect(m_combo, &QComboBox::textActivated, this, &ZoomControl::choose);
    connect(m_picture, &MapPicture::zoomChanged, this, &ZoomControl::showZoom);
    showZoom();
}

QString ZoomControl::fitText()
{
    return QStringLiteral("Ajuster à la fenêtre");
}

void ZoomControl::showZoom()
{
    const QString text = m_picture->fitsView() ? fitText() : percentText(m_picture->zoom());
    const QSignalBlocker block(m_combo);
    const int row = m_combo->findText(text);
    if (row >= 0)
        m_combo->setCurrentIndex(row);
    m_combo->setEditText(text);
}

void ZoomControl::choose(const QString& text)
{
    if (text == fitText()) {
        m_picture->fitToView();
        showZoom();
        return;
    }
    // "337", "337 %" or "337%"; anything else leaves the zoom as it is.
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,4}(?:[.,]\\d+)?)\\s*%?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (m.hasMatch())
        m_picture->setZoom(m.captured(1).replace(u',', u'.').toDouble() / 100.0);
    showZoom();
}
