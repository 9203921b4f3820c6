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
