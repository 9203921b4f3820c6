#include "gui/map/map_browser_window.h"

#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/widgets/file_picker.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

FFrance22::FFrance22(AppContext& ctx, QWidget* parent)
    : BrowserWindowBase(ctx, parent, QStringLiteral("FFrance22"), QStringLiteral("Recherche de photos (fichiers \"JPG\")"),
                        QStringLiteral("*.jpg;*.gif;*.bmp"), QStringLiteral("Charger"))
{
    connect(Command1, &QPushButton::clicked, this, &FFrance22::load);
    finishOpening(QSize(660, 400));
}

void FFrance22::load()
{
    // Without a chosen file the map stays as it is (an empty path would blank it).
    const QString path = m_picker->chosenPath();
    if (path.isEmpty())
        return;
    tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    if (tb::Status s = db->setMapPath(path); !s) {
        m_ctx.dialogs.showError(s.error());
        return;
    }
    hide();
}
