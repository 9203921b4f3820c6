#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QCalendarWidget;

// "Calendrier": a month calendar to browse, in French, weeks from Monday.
class Ffrance7 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance7(AppContext& ctx, QWidget* parent = nullptr);

private:
    QCalendarWidget* Calendrier1 = nullptr;
};
