#include "cards/creation_window.h"

// Placeholder until the creation window is built.
FFrance11::FFrance11(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void FFrance11::setSwatchColor(const QColor&) {}
