#pragma once
// The secondary windows, created on first use, and the openers that answer
// their requests. A window closed with its close box is deleted (its state
// goes with it); one confirmed by its own button is only hidden and keeps its
// state for the next opening. Only the main window holds this registry: the
// other windows emit requests, which the openers here answer.
#include "core/base/error.h"
#include "core/cards/attachments.h"
#include "core/journals/journal.h"
#include "core/lists/card_list.h"
#include "core/lists/sort_keys.h"
#include "core/lists/list_count.h"

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
class FEtiquettes;
class FEnveloppes;
class FExpediteur;
class FRappels;
class CardWindowBase;
namespace tb {
struct EmailLists;
struct Reminder;
}

class Windows {
public:
    // parent: the main window, which the secondary windows belong to.
    void setUp(AppContext* ctx, QWidget* parent);

    // Card n in the card window, its name selected in the list of names.
    void openCard(long long n);
    void openFirstCard();
    // The list window on list (said to be the list shown), or the error that
    // kept it from being made.
    void showList(tb::Result<tb::CardList> list, tb::ListShown shown);
    void showSortedList(tb::Result<std::shared_ptr<tb::ListFill>> list, tb::ListShown shown);
    // An earlier list never shows under a new question or its results.
    void forgetList();
    void showEmails(const tb::EmailLists& lists);
    // "Étiquettes", "Enveloppes" for the selection or the whole list.
    void openLabels(const QList<long long>& selection, const QList<long long>& list);
    void openEnvelopes(const QList<long long>& selection, const QList<long long>& list);
    // "Outils" > "Expéditeur".
    void editSender();
    // "Structure" > "Fiche": the captions of the database in use.
    void editStructure();
    // The chooser of external program code (1 to 6).
    void chooseProgram(int code);
    // The journal of card n, typed as the card window holds it (its debt calculated).
    void openJournal(tb::JournalKind kind, long long n, const CardRecord& typed);
    void openNote(const QString& path, const QString& summary);
    // "Envoi de lettres" for these cards.
    void openLetters(const QList<long long>& cards);
    // The file browser, copying the chosen file as card n's document kind.
    void chooseAttachment(tb::Attachment kind, long long n);
    // The file browser, handing the chosen photo to the creation window.
    void choosePhoto(FFrance11* creation, long long n);
    // A scan in Ffrance16, a text in Ffrancelic.
    void viewDocument(tb::Attachment kind, const QString& path);

    FFrance5* postalWindow();
    FFrance11* creationWindow();
    FFrance22* mapBrowser();
    Ffrance23* fileBrowser();
    Ffrance29* databaseChooser();
    FFrance8* converter();
    Ffrance17* ribWindow();
    FIban* ibanWindow();
    Ffrance7* calendar();
    Ffrance14* programPaths();
    Ffrance28* zoneWindow();
    FRappels* remindersWindow();
    // The reminders window, when it is open (not closed with its close box).
    FRappels* remindersWindowIfOpen() const;

private:
    template <typename W>
    W* ensure(QPointer<W>& slot);
    // The requests a window emits, answered here; most windows emit none.
    template <typename W>
    void connectRequests(W*) {}
    void connectRequests(FFrance3* list);
    void connectRequests(FFrance4* card);
    void connectRequests(FFrance11* creation);
    void connectRequests(Ffrance28* zones);
    void connectRequests(FRappels* reminders);
    void connectCardRequests(CardWindowBase* window);

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
    QPointer<FEtiquettes> m_labels;
    QPointer<FEnveloppes> m_envelopes;
    QPointer<FExpediteur> m_sender;
    QPointer<FRappels> m_reminders;
};
