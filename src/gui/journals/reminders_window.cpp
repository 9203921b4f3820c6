#include "gui/journals/reminders_window.h"

#include "core/base/number_text.h"
#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QSpinBox* days(QWidget* parent, const char* name, const QString& caption, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(caption);
    box->setRange(0, tb::ReminderSettings::kMostDays);
    box->setSuffix(QStringLiteral(" jour(s)"));
    box->setValue(value);
    return box;
}
}  // namespace

FRappels::FRappels(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FRappels"), QStringLiteral("Rappels"));
    m_list = makeRowList(this, QStringLiteral("Rappels"),
                         {QStringLiteral("Date"), QStringLiteral("Fiche"), QStringLiteral("Rappel")}, 2);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("Label1"));
    m_open = makeWindowButton(this, "Command1", QStringLiteral("Ouvrir la fiche"));
    QPushButton* close = makeWindowButton(this, "Command3", QStringLiteral("Fermer"));

    const tb::ReminderSettings settings = tb::readReminderSettings(m_ctx.session.programFolder());
    auto* box = new QGroupBox(QStringLiteral("Réglages"), this);
    auto* form = new QFormLayout(box);
    m_ahead = days(box, "Text1", QStringLiteral("Jours à venir"), settings.ahead);
    m_back = days(box, "Text2", QStringLiteral("Jours passés"), settings.back);
    form->addRow(QStringLiteral("Jours à venir"), m_ahead);
    form->addRow(QStringLiteral("Jours passés"), m_back);
    QPushButton* store = makeWindowButton(box, "Command2", QStringLiteral("Enregistrer les réglages"));
    form->addRow(store);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_state);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    layout->addWidget(box);

    connect(m_open, &QPushButton::clicked, this, &FRappels::openChosen);
    connect(m_list, &QTreeWidget::itemActivated, this, &FRappels::openChosen);
    connect(store, &QPushButton::clicked, this, &FRappels::storeSettings);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    resize(620, 420);
    placeOnScreen(this);
    setReminders({});
}

void FRappels::setReminders(const std::vector<tb::Reminder>& reminders)
{
    m_list->clear();
    for (const tb::Reminder& r : reminders) {
        auto* item = new QTreeWidgetItem(m_list, {r.date.toString(QStringLiteral("dd/MM/yyyy")),
                                                  r.name + QStringLiteral(" (n° ") + tb::plainNumber(r.card) + u')',
                                                  r.text});
        item->setData(0, Qt::UserRole, r.card);
    }
    const bool any = !reminders.empty();
    if (any)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    m_open->setEnabled(any);
    m_state->setText(any ? tb::plainNumber(qint64(reminders.size())) + QStringLiteral(" rappel(s).")
                         : QStringLiteral("Aucun rappel pour ces jours."));
    for (int column = 0; column < 2; ++column)
        m_list->resizeColumnToContents(column);
}

void FRappels::setGathering()
{
    m_state->setText(QStringLiteral("Recherche des rappels…"));
}

void FRappels::openChosen()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (item)
        emit cardChosen(item->data(0, Qt::UserRole).toLongLong());
}

void FRappels::storeSettings()
{
    const tb::Status s =
        tb::writeReminderSettings(m_ctx.session.programFolder(), {m_ahead->value(), m_back->value()});
    if (!s) {
        m_ctx.dialogs.showError(s.error());
        return;
    }
    emit settingsChanged();
}
