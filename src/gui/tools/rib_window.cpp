#include "gui/tools/rib_window.h"

#include "core/tools/rib_key.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

QLineEdit* makeField(QWidget* parent, const char* name, QLabel* caption)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(caption->text());
    caption->setBuddy(edit);
    return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

Ffrance17::Ffrance17(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrance17"), QStringLiteral("Clé RIB"));

    Label2 = makeLabel(this, "Label2", QStringLiteral("Code Banque"));
    Text1 = makeField(this, "Text1", Label2);
    Label3 = makeLabel(this, "Label3", QStringLiteral("Code Guichet"));
    Text2 = makeField(this, "Text2", Label3);
    Label4 = makeLabel(this, "Label4", QStringLiteral("N° de compte"));
    Text3 = makeField(this, "Text3", Label4);
    Label5 = makeLabel(this, "Label5", QStringLiteral("Clé"));
    Label1 = makeLabel(this, "Label1", QString());
    Label1->setFrameShape(QFrame::Panel);
    Label1->setFrameShadow(QFrame::Sunken);
    Label1->setAccessibleDescription(QStringLiteral("Clé"));  // heard by its value
    Label1->setMinimumWidth(40);
    Command1 = new QPushButton(QStringLiteral("GO!"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("GO!"));

    // Keys are refused with a beep; pasted text is held to digits too.
    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (QLineEdit* code : {Text1, Text2}) {
        code->setValidator(digitsOnly);
        code->installEventFilter(this);
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Text1, 1, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(Label4, 0, 2);
    grid->addWidget(Text3, 1, 2);
    grid->addWidget(Label5, 0, 3);
    grid->addWidget(Label1, 1, 3);
    grid->addWidget(Command1, 2, 0, 1, 4);

    connect(Command1, &QPushButton::clicked, this, &Ffrance17::computeKey);
    resize(sizeHint());
    placeOnScreen(this, 12500);
}

void Ffrance17::computeKey()
{
    const tb::Result<std::optional<int>> key = tb::ribKey(Text1->text(), Text2->text(), Text3->text());
    if (!key) {
        m_ctx.dialogs.message(key.error().message());
        return;
    }
    // A zero bank or branch code has no key: what is shown stays.
    if (key.value())
        Label1->setText(QString::number(*key.value()));
}

bool Ffrance17::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Text1 || watched == Text2) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool character = !text.isEmpty() && !(key->modifiers() & Qt::ControlModifier);
        const bool digit = text.size() == 1 && text[0] >= u'0' && text[0] <= u'9';
        if (character && !digit && key->key() != Qt::Key_Backspace) {
            m_ctx.dialogs.beep();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Ffrance17::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Text1->setFocus();
    QWidget::changeEvent(event);
}
