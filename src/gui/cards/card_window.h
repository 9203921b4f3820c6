#pragma once
#include <QMessageBox>
#include <optional>
#include "core/cards/attachments.h"
#include "core/journals/journal.h"
#include "gui/cards/card_window_base.h"

class CardListView;
class QAction;
class QMenu;
class QMenuBar;
class QTimer;

// "Fiche individuelle": one card, the names of every card for browsing, and
// the door to its journals and documents.
class FFrance4 : public CardWindowBase {
    Q_OBJECT
public:
    explicit FFrance4(AppContext& ctx, QWidget* parent = nullptr);

    // Card n, selected in the name list: a list line, a search's result,
    // card 1 for "Voir, modifier, archiver les fiches".
    // The name list's line of card n, or its first line for kFirstName.
    static constexpr long long kFirstName = -1;
    // highlighted: the name list's line to select (kFirstName), 0 for card n's.
    void openCard(long long n, long long highlighted = 0);

signals:
    // The journal of card n, typed as shown here (its debt calculated).
    void journalRequested(tb::JournalKind kind, long long n, const CardRecord& typed);
    // The note of the shown card: its file and the summary of the card.
    void noteRequested(const QString& path, const QString& summary);
    // One of the card's documents, shown by Tabulon.
    void documentViewRequested(tb::Attachment kind, const QString& path);
    // "Imprimer une lettre type…": a form letter for the shown card.
    void lettersRequested(const QList<long long>& cards);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hasUnsavedEdits() const override;
    bool settleEdits() override;

private:
    void buildMenus();
    void showCard(long long n, bool capitalizedStatus);
    void ensureNameList();
    void selectNameRowOf(long long n);
    void selectWhenListed(long long n);
    void moveToRow(int row);
    bool storeShown();
    void validateChange();   // Command2
    void calculateDebt();    // Command3
    void collectionsDetail();  // Command1
    void openJournal(tb::JournalKind kind);  // Command4, Command5 and the end of Command1
    void armPhotoTimer();
    void firePhotoTimer();
    void loadPhoto();
    void attachPhoto();  // photo
    // action runs command on the shown card's document.
    void onCard(QAction* action, void (*command)(AppContext&, int, long long), int document);
    void attachOn(QAction* action, tb::Attachment kind);  // RechScan1/2, RechTxt1/2
    void viewOn(QAction* action, tb::Attachment kind);    // VoirTB1 to VoirTB4
    void openNoteEditor();  // notesconf
    void deleteShown();  // Supprimer
    void exportPersonShown();
    void erasePersonShown();
    // The card shown, or a message and nullopt when none is.
    std::optional<CardRecord> shownCard(const QString& nothingText);
    // The shown card's number once question (followed by the card's title) is
    // answered Oui; nullopt when none is shown or the answer is Non.
    std::optional<long long> confirmShown(const QString& question, const QString& title, QMessageBox::Icon icon);
    // " Fiche supprimée. Annuler" for a while: the card comes back from the trash.
    void offerUndo(int trashEntry);
    void undoDeletion();
    void setShownArchived(bool archived);  // ArchFfic, DesarchiFic
    void showFirstByName();
    void followStored(long long n);
    void forgetNameList();

    CardListView* m_names = nullptr;
    QLabel* m_status = nullptr;  // Label5
    QTimer* m_photoTimer = nullptr;
    bool m_photoPending = false;
    bool m_namesBuilt = false;
    long long m_pendingNames = 0;  // card (or kFirstName) to select once the names are listed
    bool m_selecting = false;  // the program moves the name list's selection
    QMenuBar* m_menuBar = nullptr;
    QTimer* m_undoTimer = nullptr;
    int m_undoEntry = 0;  // the trash entry the last deletion made
};
