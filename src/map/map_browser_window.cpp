#include "map/map_browser_window.h"

// Placeholder until the map browser is built.
FFrance22::FFrance22(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
}
