#include "gui/widgets/radio_arrows.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>

namespace {

class RadioArrows : public QObject {
public:
    RadioArrows(const QList<QAbstractButton*>& radios, QObject* parent) : QObject(parent)
    {
        for (QAbstractButton* b : radios)
            m_radios << b;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        int step = 0;
        if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Right)
            step = 1;
        else if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Left)
            step = -1;
        const qsizetype at = m_radios.indexOf(qobject_cast<QAbstractButton*>(watched));
        if (step == 0 || at < 0 || key->modifiers() != Qt::NoModifier)
            return false;
        const qsizetype n = m_radios.size();
        for (qsizetype k = 1; k < n; ++k) {
            QAbstractButton* next = m_radios[(at + step * k + n * n) % n];
            if (next && next->isVisible() && next->isEnabled()) {
                next->setFocus(Qt::TabFocusReason);
                next->click();
                break;
            }
        }
        return true;
    }

private:
    QList<QPointer<QAbstractButton>> m_radios;
};

}  // namespace

void chooseWithArrows(const QList<QAbstractButton*>& radios)
{
    if (radios.isEmpty())
        return;
    auto* filter = new RadioArrows(radios, radios.first());
    for (QAbstractButton* b : radios)
        b->installEventFilter(filter);
}
