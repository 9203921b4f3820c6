#include "gui/tools/iban_window.h"

#include "core/tools/iban.h"
#include "gui/app/secondary_window.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FIban::FIban(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FIban"), QStringLiteral("Contrôle d'un IBAN"));

    Label1 = new QLabel(QStringLiteral("IBAN"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("IBAN"));
    Text1->setMinimumWidth(QFontMetrics(Text1->font()).horizontalAdvance(QString(42, u'0')));
    Label1->setBuddy(Text1);
    Command1 = new QPushButton(QStringLiteral("Contrôler"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(Command1->text());
    Command1->setDefault(true);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAccessibleName(QStringLiteral("Résultat"));
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Label2->setMinimumHeight(2 * QFontMetrics(Label2->font()).lineSpacing() + 4);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(Command1, 0, 2);
    grid->addWidget(Label2, 1, 0, 1, 3);

    connect(Command1, &QPushButton::clicked, this, &FIban::check);
    connect(Text1, &QLineEdit::returnPressed, this, &FIban::check);
    resize(sizeHint());
    placeOnScreen(this, 12500);
}

void FIban::check()
{
    const tb::Result<tb::IbanCheck> checked = tb::checkIban(Text1->text());
    if (!checked) {
        Label2->setText(checked.error().message());
        return;
    }
    QString text = QStringLiteral("IBAN valide");
    if (checked->french)
        text += u'\n' + tb::frenchIbanParts(*checked);
    Label2->setText(text);
}
