#pragma once
// What the card window and the creation window share: the card form, the
// heading with the card number, the status line, their placement and the
// keyboard (Return presses the window's confirm button).
#include "core/base/error.h"
#include "core/cards/attachments.h"
#include "gui/app/app_context.h"
#include "gui/widgets/card_form.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollArea;
class QTimer;
class QVBoxLayout;

class CardWindowBase : public QWidget {
    Q_OBJECT
signals:
    // The file browser, to copy the chosen file as card n's document kind.
    void attachmentRequested(tb::Attachment kind, long long n);

protected:
    CardWindowBase(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& heading,
                   const CardFormWidget::Names& names);

    // Lays out heading, body (scrolled when the screen is too small) and
    // buttons, then places the window on the screen.
    void finishLayout(QWidget* menuBar, QLayout* body, QLayout* buttons, QPushButton* confirm);
    static QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption);

    long long shownNumber() const { return m_number; }
    void setShownNumber(long long n);
    // The form's texts as a record.
    CardRecord typedCard() const;
    // A short acknowledgement in the status line, gone after a few seconds
    // (rich text: its links are followed with the mouse or the keyboard).
    void acknowledge(const QString& text, int ms = 4000);
    // Shows the error; what the user typed stays.
    void showError(const tb::Error& error);
    // Asks for the browser on the shown card's document kind, when a card of
    // the database in use is shown.
    void requestAttachment(tb::Attachment kind);

    void keyPressEvent(QKeyEvent* event) override;
    // Closing (close box or Escape) with unsaved edits asks first.
    void closeEvent(QCloseEvent* event) override;

    // What the form shows differs from the stored card (or an empty one).
    virtual bool hasUnsavedEdits() const = 0;
    // Asks what to do with the unsaved edits; true when the window may close.
    virtual bool settleEdits() = 0;
    // The status line says whether the edits are stored.
    void followEdits();

    AppContext& m_ctx;
    CardFormWidget* m_form = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_numberCaption = nullptr;  // "N°"
    QLabel* m_numberLabel = nullptr;    // Label2
    QLabel* m_statusLine = nullptr;
    QHBoxLayout* m_header = nullptr;

private:
    QPushButton* m_confirm = nullptr;
    QTimer* m_statusTimer = nullptr;
    long long m_number = 0;
};
