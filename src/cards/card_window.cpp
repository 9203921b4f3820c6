#include "cards/card_window.h"

// Placeholder until the card window is built.
FFrance4::FFrance4(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void FFrance4::setSwatchColor(const QColor&) {}
void FFrance4::loadCaptions() {}
void FFrance4::clearFields() {}
void FFrance4::showRecord(long long) {}
void FFrance4::rebuildNameLists() {}
void FFrance4::selectNameRow(int) {}
int FFrance4::findNameRow(const QString&) const { return -1; }
