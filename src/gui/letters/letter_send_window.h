#pragma once
#include "gui/app/app_context.h"

#include <QList>
#include <QWidget>

class QListWidget;
class QLabel;

// "Envoi de lettres": one form letter merged for each card given, the fields
// a card lacks said before anything is printed, then the preview and the
// printer (or a PDF file).
class FEnvoiLettres : public QWidget {
    Q_OBJECT
public:
    FEnvoiLettres(AppContext& ctx, const QList<long long>& cards, QWidget* parent = nullptr);

private:
    void print();  // Command1

    AppContext& m_ctx;
    QList<long long> m_cards;
    QLabel* m_count = nullptr;         // Label1
    QListWidget* m_letters = nullptr;  // List1
};
