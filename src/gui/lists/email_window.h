#pragma once
// "Courrier électronique": every card's name beside its e-mail address; the
// address chosen goes to the e-mail program as a new message.
#include "gui/app/app_context.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;

class Ffrance91 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance91(AppContext& ctx, QWidget* parent = nullptr);

    // Line k of both lists is card k + 1.
    void fill(const QStringList& names, const QStringList& addresses);

private:
    void choose(int row);
    void sendMail();
    void startAddressBook();

    QListWidget* m_names = nullptr;      // List1
    QListWidget* m_addresses = nullptr;  // List2
    QLabel* m_chosen = nullptr;          // Label1
    AppContext& m_ctx;
};
