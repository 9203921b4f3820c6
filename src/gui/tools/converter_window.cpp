#include "gui/tools/converter_window.h"

#include "core/tools/euro_converter.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/radio_arrows.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QComboBox* makeList(QWidget* parent, const char* name, const QString& caption, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setAccessibleName(caption);
    combo->addItems(items);
    return combo;
}

}  // namespace

FFrance8::FFrance8(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FFrance8"), QStringLiteral("CONVERTISSEUR"));

    QStringList names, rates;
    for (const tb::Currency& c : tb::euroCurrencies()) {
        names << c.name;
        rates << c.rate;
    }

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Montant"));
    Text1->installEventFilter(this);
    Label2 = makeLabel(this, "Label2", QStringLiteral("E"));
    Option1 = new QRadioButton(QStringLiteral("EURO"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setAccessibleName(QStringLiteral("EURO"));
    Option2 = new QRadioButton(QStringLiteral("DEVISE"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setAccessibleName(QStringLiteral("DEVISE"));
    Option1->setChecked(true);
    chooseWithArrows({Option1, Option2});
    Label3 = makeLabel(this, "Label3");
    Label3->setFrameShape(QFrame::Panel);
    Label3->setFrameShadow(QFrame::Sunken);
    Label3->setMinimumWidth(160);
    Label1 = makeLabel(this, "Label1", QStringLiteral("D"));
    Combo2 = makeList(this, "Combo2", QStringLiteral("Devise"), names);
    Label12 = makeLabel(this, "Label12", QStringLiteral("Un euro="));
    Label12->installEventFilter(this);
    Combo3 = makeList(this, "Combo3", QStringLiteral("Un euro="), rates);
    Label12->setBuddy(Combo3);
    Combo1 = makeList(this, "Combo1", QStringLiteral("Décimales"), tb::decimalChoices());
    Label4 = makeLabel(this, "Label4", QStringLiteral("FF"));
    Label5 = makeLabel(this, "Label5");
    Label5->setFrameShape(QFrame::Panel);
    Label5->setFrameShadow(QFrame::Sunken);
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(Option1, 0, 2);
    grid->addWidget(Option2, 1, 2);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Label3, 1, 1);
    grid->addWidget(Combo2, 2, 1);
    grid->addWidget(Combo1, 2, 2);
    grid->addWidget(Label12, 3, 0);
    grid->addWidget(Combo3, 3, 1);
    grid->addWidget(Label4, 4, 0);
    grid->addWidget(Label5, 4, 1);

    Combo2->setCurrentText(QStringLiteral("Francs français"));
    Combo3->setCurrentIndex(Combo2->currentIndex());
    Combo1->setCurrentText(QStringLiteral("2"));

    connect(Text1, &QLineEdit::textChanged, this, &FFrance8::recalculate);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &FFrance8::recalculate);
    // Names and rates share their positions: a choice in one moves the other.
    connect(Combo2, &QComboBox::activated, this, [this](int index) {
        Combo3->setCurrentIndex(index);
        recalculate();
    });
    connect(Combo3, &QComboBox::activated, this, [this](int index) {
        Combo2->setCurrentIndex(index);
        recalculate();
    });
    connect(Option1, &QRadioButton::toggled, this, &FFrance8::directionChanged);

    recalculate();
    resize(sizeHint());
    placeOnScreen(this, 12500);
}

void FFrance8::directionChanged()
{
    const bool fromEuros = Option1->isChecked();
    Label2->setText(fromEuros ? QStringLiteral("E") : QStringLiteral("D"));
    Label1->setText(fromEuros ? QStringLiteral("D") : QStringLiteral("E"));
    recalculate();
}

void FFrance8::recalculate()
{
    const tb::ConversionRequest request{Text1->text(),
                                        Label2->text() == QLatin1String("E") ? tb::AmountIn::Euros
                                                                              : tb::AmountIn::Currency,
                                        Combo3->currentText(), Combo1->currentText(), Combo2->currentText()};
    const tb::Result<tb::Conversion> c = tb::convert(request);
    if (!c) {
        m_ctx.dialogs.message(c.error().message());
        {
            const QSignalBlocker block(Text1);
            Text1->clear();
        }
        recalculate();
        return;
    }
    Label3->setText(c->result);
    Label5->setText(c->francs);
    Text1->setToolTip(c->amountWords);
    Label5->setToolTip(c->francsWords);
    Label3->setToolTip(c->resultWords);
}

bool FFrance8::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        // Delete empties the whole amount, with a beep.
        m_ctx.dialogs.beep();
        Text1->clear();
        return true;
    }
    if (watched == Label12 && event->type() == QEvent::MouseButtonPress)
        recalculate();
    return QWidget::eventFilter(watched, event);
}

void FFrance8::changeEvent(QEvent* event)
{
    // Back in the window, the user types the amount again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Text1->setFocus();
    QWidget::changeEvent(event);
}
