#include "gui/tools/calendar_window.h"

#include "gui/app/secondary_window.h"

#include <QCalendarWidget>
#include <QDate>
#include <QTextCharFormat>
#include <QVBoxLayout>

Ffrance7::Ffrance7(AppContext&, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrance7"), QStringLiteral("Calendrier"));

    Calendrier1 = new QCalendarWidget(this);
    Calendrier1->setObjectName(QStringLiteral("Calendrier1"));
    Calendrier1->setAccessibleName(QStringLiteral("Calendrier"));
    // The calendar's own arrows and day grid show no text of their own.
    const std::pair<const char*, const char*> parts[] = {{"qt_calendar_prevmonth", "Mois précédent"},
                                                          {"qt_calendar_nextmonth", "Mois suivant"},
                                                          {"qt_calendar_calendarview", "Jours du mois"},
                                                          {"qt_calendar_yearedit", "Année"}};
    for (const auto& [name, caption] : parts)
        if (auto* part = Calendrier1->findChild<QWidget*>(QLatin1String(name)))
            part->setAccessibleName(QString::fromUtf8(caption));
    Calendrier1->setLocale(QLocale(QLocale::French, QLocale::France));
    Calendrier1->setFirstDayOfWeek(Qt::Monday);
    Calendrier1->setGridVisible(true);
    const QDate today = QDate::currentDate();
    Calendrier1->setSelectedDate(today);
    // Today stays marked while the user selects other days.
    QTextCharFormat todayFormat;
    todayFormat.setFontWeight(QFont::Bold);
    todayFormat.setFontUnderline(true);
    Calendrier1->setDateTextFormat(today, todayFormat);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Calendrier1);
    resize(sizeHint());
    placeOnScreen(this, 12000);
}
