#include "lists/list_window.h"

// Placeholder until the list window is built.
FFrance3::FFrance3(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void FFrance3::setLists(const tb::ParallelLists&) {}
