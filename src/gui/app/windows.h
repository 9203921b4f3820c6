#pragma once
// The secondary windows, created on first use. A window closed with its close
// box is deleted (its state goes with it); one confirmed by its own button is
// only hidden and keeps its state for the next opening.
#include "gui/app/app_context.h"

#include <QColor>
#include <QPointer>

class QWidget;
class FFrance3;
class FFrance4;
class FFrance5;
class FFrance11;
class FFrance22;
class Ffrance23;
class Ffrance29;

class Windows {
public:
    explicit Windows(AppContext& ctx) : m_ctx(ctx) {}

    FFrance3* listWindow();
    FFrance4* cardWindow();
    FFrance5* postalWindow();
    FFrance11* creationWindow();
    FFrance22* mapBrowser();
    Ffrance23* fileBrowser();
    Ffrance29* databaseChooser();

    // Windows that exist now, or nullptr: routines that update every open
    // window must not create the closed ones.
    FFrance3* existingListWindow() const;
    FFrance4* existingCardWindow() const;
    FFrance11* existingCreationWindow() const;

    // Paints the swatch of both card windows with the current marker's colour;
    // any value of Label10 other than "1" to "7" leaves them as they were.
    void refreshSwatches();

private:
    QWidget* parentWidget() const;

    AppContext& m_ctx;
    QPointer<FFrance3> m_list;
    QPointer<FFrance4> m_card;
    QPointer<FFrance5> m_postal;
    QPointer<FFrance11> m_creation;
    QPointer<FFrance22> m_mapBrowser;
    QPointer<Ffrance23> m_fileBrowser;
    QPointer<Ffrance29> m_chooser;
};
