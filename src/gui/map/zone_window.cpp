#include "gui/map/zone_window.h"

#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/map/map_picture.h"
#include "gui/map/map_view.h"
#include "gui/map/zoom_control.h"
#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr int kBlinkMs = 1000;
}

Ffrance28::Ffrance28(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrance28"), QStringLiteral("Définition de zones"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menuBar = new QMenuBar(this);
    QAction* erase = addMenuEntry(menuBar, "Effacer", QStringLiteral("Effacer la zone"));
    connect(erase, &QAction::triggered, this, &Ffrance28::eraseZone);
    QAction* back = addMenuEntry(menuBar, "retourmenu", QStringLiteral("Retour au menu principal"));
    connect(back, &QAction::triggered, this, &QWidget::hide);
    layout->setMenuBar(menuBar);

    m_map = new MapView(this);
    layout->addWidget(m_map, 1);
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("Consigne"));
    m_hint->setContentsMargins(6, 3, 6, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_hint, 1);
    bottom->addWidget(new ZoomControl(m_map->picture(), this));
    layout->addLayout(bottom);

    // The caption stays at the top left of the view, whatever the scrolling,
    // and lets the clicks through to the map.
    m_caption = new QLabel(QStringLiteral("Définition de zones"), m_map->viewport());
    m_caption->setObjectName(QStringLiteral("Label6"));
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_caption->setStyleSheet(QStringLiteral(
        "QLabel { color: #c00000; background: rgba(255, 255, 255, 200); font-weight: bold; padding: 2px 6px; }"));
    QFont big = m_caption->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    m_caption->setFont(big);
    m_caption->adjustSize();
    m_caption->move(8, 8);
    m_caption->raise();
    m_blink = new QTimer(this);
    m_blink->setObjectName(QStringLiteral("Timer1"));
    m_blink->setInterval(kBlinkMs);
    connect(m_blink, &QTimer::timeout, this, [this] { m_caption->setHidden(!m_caption->isHidden()); });

    MapPicture* picture = m_map->picture();
    picture->setOverlay([this](QPainter& p) { tb::drawZone(p, m_zone); });
    connect(picture, &MapPicture::mouseMoved, this, [picture](int x, int y) {
        const QString position = tb::zoneTooltip(x, y);
        picture->setToolTip(position);
        // A tip on screen follows the pointer.
        if (QToolTip::isVisible())
            QToolTip::showText(QCursor::pos(), position, picture);
    });
    connect(picture, &MapPicture::pressed, this, [this](Qt::MouseButton button, int x, int y) {
        if (button == Qt::LeftButton)
            markCorner(x, y);
        else if (button == Qt::RightButton)
            listZone();
    });
    picture->setToolTip(QString());

    connect(&m_ctx.session, &tb::Session::databaseChanged, this, &Ffrance28::followDatabase);
    followDatabase();

    resize(1000, 780);
    placeOnScreen(this);
}

void Ffrance28::followDatabase()
{
    // A zone belongs to the map of the database it was drawn on.
    m_zone.clear();
    m_map->follow(m_ctx.session.database(), m_ctx.session.programFolder());
    showZone();
}

void Ffrance28::markCorner(int x, int y)
{
    m_zone.mark(x, y);
    showZone();
}

void Ffrance28::listZone()
{
    const tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    m_ctx.dialogs.setBusy(true);
    tb::Result<tb::CardList> inside = db->cardsIn(m_zone.area());
    m_ctx.dialogs.setBusy(false);
    if (!inside) {
        m_ctx.dialogs.showError(inside.error());
        return;
    }
    emit listRequested(*inside);
}

void Ffrance28::eraseZone()
{
    m_zone.clear();
    showZone();
}

void Ffrance28::showZone()
{
    m_hint->setText(m_zone.hint());
    m_map->picture()->update();
}

void Ffrance28::showEvent(QShowEvent* event)
{
    m_blink->start();
    QWidget::showEvent(event);
}

void Ffrance28::hideEvent(QHideEvent* event)
{
    m_blink->stop();
    QWidget::hideEvent(event);
}
