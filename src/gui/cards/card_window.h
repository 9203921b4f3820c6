#pragma once
#include "gui/app/app_context.h"
#include "gui/cards/card_window_base.h"
#include "core/cards/card_record.h"

#include <QWidget>
#include <array>

class CardFormWidget;
class ClickableLabel;
class PhotoFrame;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTimer;

// "Fiche individuelle": one card, its name list, and the door to its journals.
class FFrance4 : public CardWindowBase {
    Q_OBJECT
public:
    explicit FFrance4(AppContext& ctx, QWidget* parent = nullptr);

    QLabel* Label5 = nullptr;            // status
    QLabel* Label13 = nullptr;           // "Marqueur"
    QLabel* Label14 = nullptr;           // photo flag: "O" waiting, "F" loaded
    QLabel* MemoFic = nullptr;           // position remembered while the lists are rebuilt
    QListWidget* List1 = nullptr;        // names, sorted
    QListWidget* List2 = nullptr;        // hidden: card numbers
    QListWidget* List3 = nullptr;        // hidden: sort entries
    QListWidget* List4 = nullptr;        // communes of the department
    QTimer* Timer1 = nullptr;            // photo timer, 4000 ms
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;

    // Menu entries.
    QMenuBar* menuBar = nullptr;
    QAction* Feuillexls = nullptr;
    QAction* notesconf = nullptr;
    QMenu* documents = nullptr;
    QAction* photo = nullptr;
    QMenu* doctxt1 = nullptr;
    QMenu* VoirTxt1 = nullptr;
    QAction* VoirTB1 = nullptr;
    QAction* VoirTT1 = nullptr;
    QAction* RechTxt1 = nullptr;
    QMenu* DocTxt2 = nullptr;
    QMenu* VoirTxt2 = nullptr;
    QAction* VoirTB2 = nullptr;
    QAction* VoirTT2 = nullptr;
    QAction* RechTxt2 = nullptr;
    QMenu* DocScan1 = nullptr;
    QMenu* VoirScan1 = nullptr;
    QAction* VoirTB3 = nullptr;
    QAction* VoiTI1 = nullptr;
    QAction* RechScan1 = nullptr;
    QAction* ScanDoc1 = nullptr;
    QMenu* DocScan2 = nullptr;
    QMenu* VoirScan2 = nullptr;
    QAction* VoirTB4 = nullptr;
    QAction* VoiTI2 = nullptr;
    QAction* RechScan2 = nullptr;
    QAction* ScanDoc2 = nullptr;
    QAction* Adresses = nullptr;
    QAction* Courrier = nullptr;
    QAction* Supprimer = nullptr;
    QMenu* Archiver = nullptr;
    QAction* ArchFfic = nullptr;
    QAction* DesarchiFic = nullptr;
    QMenu* Imprimer = nullptr;
    QAction* ImprimFic = nullptr;
    QAction* ImprimTout = nullptr;

    // Captions of fields 11 to 20 from the database's "StrFic.txt".
    void loadCaptions();
    // Empties Text1(0) to Text1(19).
    void clearFields();
    // Label2 = n and the record's fields into Text1 (nothing stored).
    void showRecord(long long n);
    // Rebuilds List1/List2/List3 from every card, in name order.
    void rebuildNameLists();
    // Selects row of List1 as a click does: stores the card shown, then moves.
    void selectNameRow(int row);
    // First row of List1 equal to text, or -1.
    int findNameRow(const QString& text) const;

    // The store routine: Text1 into record Label2, which becomes the working
    // copy; the pins are drawn again. Nothing when Label2 is below 1.
    void storeWindow();
    // The working copy: the card last loaded, fields 1 to 20.
    const std::array<QString, CardRecord::kFieldCount>& workingCopy() const { return m_work; }
    long long currentRecord() const { return m_record; }

    // Command handlers.
    void validateChange();   // Command2
    void calculateDebt();    // Command3
    void collectionsDetail();  // Command1
    // The photo timer's tick (tests fire it without waiting).
    void firePhotoTimer();
    // Photo flag "O" and the timer started, as every reading of a record does.
    void armPhotoTimer();
    // Reloads the photo of the card shown into the frame.
    void loadPhoto();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void loadWorkingCopy();
    void putWorkingCopy();
    void moveTo(int row);
    void refreshSwatches();

    long long m_record = 0;
    std::array<QString, CardRecord::kFieldCount> m_work;
    bool m_filling = false;  // the lists are being filled by the program
};
