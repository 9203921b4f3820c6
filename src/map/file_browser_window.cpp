#include "map/file_browser_window.h"

// Placeholder until the file browser is built.
Ffrance23::Ffrance23(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void Ffrance23::prepare(const QString&, bool, const QString&) {}
