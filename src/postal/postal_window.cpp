#include "postal/postal_window.h"

// Placeholder until the postal window is built.
FFrance5::FFrance5(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
}
