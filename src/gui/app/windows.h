#pragma once
// The secondary windows, created on first use. A window closed with its close
// box is deleted (its state goes with it); one confirmed by its own button is
// only hidden and keeps its state for the next opening. Windows ask each other
// for work through these, never through each other's controls.
#include <QPointer>

struct AppContext;
class QWidget;
class FFrance3;
class FFrance4;
class FFrance5;
class FFrance9;
class FFrance11;
class FFrance22;
class Ffrance23;
class Ffrance29;
class Ffrance7;
class FFrance8;
class Ffrance17;
class FIban;
class Ffrance18;
class Ffrance19;
class Ffrance92;
class Ffrance25;
class Ffrance14;
class FFrance26;
class Ffrance91;
class Ffrance16;
class Ffrancelic;
class Ffrance28;

class Windows {
public:
    // parent: the main window, which the secondary windows belong to.
    void setUp(AppContext* ctx, QWidget* parent);

    FFrance3* listWindow();
    FFrance4* cardWindow();
    FFrance5* postalWindow();
    FFrance9* noteEditor();
    FFrance11* creationWindow();
    FFrance22* mapBrowser();
    Ffrance23* fileBrowser();
    Ffrance29* databaseChooser();
    FFrance8* converter();
    Ffrance17* ribWindow();
    FIban* ibanWindow();
    Ffrance7* calendar();
    Ffrance19* collectionsJournal();
    Ffrance18* interestJournal();
    Ffrance92* memento();
    Ffrance25* programChooser();
    Ffrance14* programPaths();
    FFrance26* structureWindow();
    Ffrance91* emailWindow();
    Ffrance16* scanViewer();
    Ffrancelic* textViewer();
    Ffrance28* zoneWindow();


private:
    template <typename W>
    W* ensure(QPointer<W>& slot);

    AppContext* m_ctx = nullptr;
    QWidget* m_parent = nullptr;
    QPointer<FFrance3> m_list;
    QPointer<FFrance4> m_card;
    QPointer<FFrance5> m_postal;
    QPointer<FFrance9> m_noteEditor;
    QPointer<FFrance11> m_creation;
    QPointer<FFrance22> m_mapBrowser;
    QPointer<Ffrance23> m_fileBrowser;
    QPointer<Ffrance29> m_chooser;
    QPointer<FFrance8> m_converter;
    QPointer<Ffrance17> m_rib;
    QPointer<FIban> m_iban;
    QPointer<Ffrance7> m_calendar;
    QPointer<Ffrance19> m_collections;
    QPointer<Ffrance18> m_interest;
    QPointer<Ffrance92> m_memento;
    QPointer<Ffrance25> m_programChooser;
    QPointer<Ffrance14> m_programPaths;
    QPointer<FFrance26> m_structure;
    QPointer<Ffrance91> m_email;
    QPointer<Ffrance16> m_scanViewer;
    QPointer<Ffrancelic> m_textViewer;
    QPointer<Ffrance28> m_zones;
};
