#include "gui/app/windows.h"

#include "gui/app/database_chooser_window.h"
#include "gui/app/main_window.h"
#include "gui/cards/card_window.h"
#include "gui/cards/creation_window.h"
#include "gui/lists/list_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "core/map/pins.h"
#include "gui/postal/postal_window.h"

namespace {
template <typename W>
W* ensure(QPointer<W>& slot, AppContext& ctx, QWidget* parent)
{
    if (!slot)
        slot = new W(ctx, parent);
    return slot;
}
}  // namespace

QWidget* Windows::parentWidget() const
{
    return m_ctx.main;
}

FFrance3* Windows::listWindow() { return ensure(m_list, m_ctx, parentWidget()); }
FFrance4* Windows::cardWindow() { return ensure(m_card, m_ctx, parentWidget()); }
FFrance5* Windows::postalWindow() { return ensure(m_postal, m_ctx, parentWidget()); }
FFrance11* Windows::creationWindow() { return ensure(m_creation, m_ctx, parentWidget()); }
FFrance22* Windows::mapBrowser() { return ensure(m_mapBrowser, m_ctx, parentWidget()); }
Ffrance23* Windows::fileBrowser() { return ensure(m_fileBrowser, m_ctx, parentWidget()); }
Ffrance29* Windows::databaseChooser() { return ensure(m_chooser, m_ctx, parentWidget()); }

FFrance3* Windows::existingListWindow() const { return m_list.data(); }
FFrance4* Windows::existingCardWindow() const { return m_card.data(); }
FFrance11* Windows::existingCreationWindow() const { return m_creation.data(); }

void Windows::refreshSwatches()
{
    const int marker = tb::markerOf(m_ctx.values.Label10);
    if (marker == 0)
        return;
    const QColor color = tb::swatchColor(marker);
    if (m_card)
        m_card->setSwatchColor(color);
    if (m_creation)
        m_creation->setSwatchColor(color);
}
