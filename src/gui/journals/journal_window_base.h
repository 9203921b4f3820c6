#pragma once
// What the three journal windows of a card share: the list of entries, the
// deletion question, printing, "Date du jour" and the card stored on closing.
// Every change goes through the journal engine, which writes the file and the
// card together.
#include "core/journals/journal.h"
#include "gui/app/app_context.h"

#include <QWidget>
#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class JournalWindowBase : public QWidget {
    Q_OBJECT
public:
    // The journal of card n, card as the card window holds it. False (the
    // error shown) when the journal cannot be read.
    bool openJournal(long long n, const CardRecord& card);

protected:
    struct Texts {
        const char* objectName;
        QString caption, listHeading, recordCaption, deleteCaption, deletionTitle;
        bool today;  // a "Date du jour" button
    };
    JournalWindowBase(AppContext& ctx, QWidget* parent, tb::JournalKind kind, const Texts& texts);

    // An entry field on the next row of the fields grid: caption label, line edit.
    QLineEdit* addField(const char* labelName, const char* editName, const QString& caption);
    // A display on the next row of the displays grid: caption label, value label.
    QLabel* addDisplay(const char* labelName, const char* valueName, const QString& caption);
    // Lays the window out once the fields are added; dateField is what "Date du jour" fills.
    void finishLayout(QLineEdit* dateField);

    // Command1: check the fields, then addEntry.
    virtual void record() = 0;
    // The displays after the entries changed.
    virtual void showTotals() {}
    // Adds line to the journal; false (the error shown) when nothing was written.
    bool addEntry(const QString& line);
    // A check or a write failed: the message, what was typed stays.
    void refuse(const tb::Error& error);
    double total() const { return m_journal ? m_journal->total() : 0; }

    void closeEvent(QCloseEvent* event) override;

    AppContext& m_ctx;

private:
    void deleteSelected();  // Command2
    void print();           // Command3
    void fillToday();       // Command4
    void showEntries();

    tb::JournalKind m_kind;
    Texts m_texts;
    std::optional<tb::Journal> m_journal;
    QGridLayout* m_fields = nullptr;
    QGridLayout* m_displays = nullptr;
    QListWidget* m_list = nullptr;  // List1
    QLineEdit* m_dateField = nullptr;
    QList<QPushButton*> m_buttons;
    QList<QWidget*> m_edits;
};
