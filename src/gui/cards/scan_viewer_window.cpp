#include "gui/cards/scan_viewer_window.h"

#include "core/map/preview_image.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/photo_frame.h"

#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kRedrawDelayMs = 2000;
}

Ffrance16::Ffrance16(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrance16"), QStringLiteral("Documents scannés"));
    Picture1 = new PhotoFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Document scanné"));
    Picture1->setMinimumSize(240, 280);  // the page is scaled to the frame
    Voir = new QPushButton(QStringLiteral("Voir"), this);
    Voir->setObjectName(QStringLiteral("Voir"));
    Voir->setAccessibleName(Voir->text());
    Imprimer = new QPushButton(QStringLiteral("Imprimer"), this);
    Imprimer->setObjectName(QStringLiteral("Imprimer"));
    Imprimer->setAccessibleName(Imprimer->text());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(kRedrawDelayMs);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Voir);
    buttons->addWidget(Imprimer);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture1, 1);
    layout->addLayout(buttons);

    connect(Voir, &QPushButton::clicked, this, [this] { draw(true); });
    connect(Imprimer, &QPushButton::clicked, this, &Ffrance16::print);
    connect(Picture1, &PhotoFrame::clicked, this, [this] { draw(false); });
    connect(Timer1, &QTimer::timeout, this, &Ffrance16::timerFired);
    resize(640, 700);
    placeOnScreen(this);
}

void Ffrance16::openDocument(const QString& path)
{
    m_path = path;
    draw(true);
    Timer1->start();
}

void Ffrance16::timerFired()
{
    draw(false);
}

void Ffrance16::draw(bool tell)
{
    Picture1->setImage(QImage());
    const tb::PictureCheck check = tb::checkPicture(m_path);
    if (check != tb::PictureCheck::Loadable) {
        // A missing scan only leaves the frame empty.
        if (tell && check != tb::PictureCheck::Missing)
            m_ctx.dialogs.message(tb::pictureRefusal(check));
        return;
    }
    Picture1->setImage(tb::loadPreview(m_path, Picture1->contentsRect().size()));
}

void Ffrance16::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!m_ctx.dialogs.choosePrinter(printer))
        return;
    draw(false);
    tb::PictureCheck check = tb::PictureCheck::Missing;
    const QImage image = tb::loadPicture(m_path, &check);
    if (const QString refusal = tb::pictureRefusal(check); !refusal.isEmpty()) {
        m_ctx.dialogs.message(refusal);
        return;
    }
    if (!m_ctx.dialogs.previewPrint(printer, [&](QPrinter& onto) { return tb::printPicture(onto, image); }))
        return;
    m_ctx.dialogs.setBusy(true);
    const tb::Status printed = tb::printPicture(printer, image);
    m_ctx.dialogs.setBusy(false);
    if (!printed)
        m_ctx.dialogs.showError(printed.error());
}
