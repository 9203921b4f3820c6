#include "gui/widgets/card_pair.h"

#include "core/cards/card_fields.h"

#include <QGridLayout>
#include <QLabel>

QString cardFieldsText(const CardRecord& card)
{
    const QStringList captions = tb::fixedFieldCaptions();
    QStringList lines;
    for (tb::CardField k = tb::kFieldCivility; k < tb::kFieldFirstCustom; ++k)
        if (!card.field(k).trimmed().isEmpty())
            lines << captions[k - 2].trimmed() + QStringLiteral(" : ") + card.field(k).trimmed();
    return lines.join(u'\n');
}

CardPair::CardPair(const QString& leftTitle, const char* leftName, const QString& rightTitle, const char* rightName,
                   QWidget* parent)
    : QWidget(parent)
{
    m_left = new QLabel(this);
    m_left->setObjectName(QLatin1String(leftName));
    m_right = new QLabel(this);
    m_right->setObjectName(QLatin1String(rightName));
    for (QLabel* l : {m_left, m_right}) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        l->setMinimumWidth(260);
    }
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(leftTitle, this), 0, 0);
    grid->addWidget(new QLabel(rightTitle, this), 0, 1);
    grid->addWidget(m_left, 1, 0);
    grid->addWidget(m_right, 1, 1);
}

void CardPair::setTexts(const QString& left, const QString& right)
{
    m_left->setText(left);
    m_right->setText(right);
}
