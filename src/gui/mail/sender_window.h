#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// "Expéditeur": the sender's address printed on envelopes, one line per
// address line, kept in the program folder.
class FExpediteur : public QWidget {
    Q_OBJECT
public:
    explicit FExpediteur(AppContext& ctx, QWidget* parent = nullptr);
    // The address as kept, in the box.
    void load();

private:
    void save();

    AppContext& m_ctx;
    QPlainTextEdit* m_text;   // Text1
    QPushButton* m_save;      // Command1
    QPushButton* m_cancel;    // Command2
};
