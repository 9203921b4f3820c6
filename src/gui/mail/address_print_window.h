#pragma once
// What the "Étiquettes" and "Enveloppes" windows share: the cards (the
// selection or the whole list, archived ones only when asked), the report of
// the lines cut, and the print through the preview.
#include "core/base/error.h"
#include "core/mail/address_print.h"
#include "gui/app/app_context.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QFormLayout;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

class AddressPrintWindow : public QWidget {
    Q_OBJECT
public:
    // The cards offered: those of the lines selected and those of every line.
    void setCards(const QList<long long>& selection, const QList<long long>& list);

protected:
    AddressPrintWindow(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& caption);
    // The window's own choices go in form, above the cards' choice.
    QFormLayout* form() const { return m_form; }
    void finishLayout();
    // Why the window's choices cannot print ("" when they can).
    virtual QString problem() const { return {}; }
    // Pages set on printer before the preview; what its edges would cut.
    virtual void setPage(QPrinter& printer) const = 0;
    virtual QString edgeReport(const QMarginsF& unprintable) const = 0;
    virtual tb::Result<int> paint(QPrinter& printer, const std::vector<QStringList>& blocks) const = 0;

    AppContext& m_ctx;

private:
    void print();

    QFormLayout* m_form;
    QRadioButton* m_selection;  // Option1
    QRadioButton* m_whole;      // Option2
    QCheckBox* m_archived;      // Check1
    QPlainTextEdit* m_report;   // Text1
    QPushButton* m_print;       // Command1
    QPushButton* m_close;       // Command2
    QList<long long> m_selected, m_listed;
};
