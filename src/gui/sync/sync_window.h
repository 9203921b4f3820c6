#pragma once
// "Synchronisation CardDAV…": the server, the user and password, the address
// book chosen among those found, where new contacts' pins go on a map other
// than the default, when to sync, and how the last sync ended. The settings
// are kept in the database's state file, the password in the keyring.
#include "core/db/carddav_state.h"

#include <QWidget>
#include <optional>

struct AppContext;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class FSynchro : public QWidget {
    Q_OBJECT
public:
    FSynchro(AppContext& ctx, QWidget* parent);

    // The settings of the database in use.
    void load();
    // Writes the settings (and the password typed, to the keyring); the state
    // as written, or nothing when it could not be (said, the typed text kept).
    std::optional<tb::CardDavState> save();
    // The password typed here ("" when none).
    QString typedPassword() const;
    void setPoint(QPointF point);
    // While a sync runs: no second one, nor a search of address books.
    void setRunning(bool running);
    void showStatus(const QString& status);

signals:
    void syncRequested();
    void pointRequested();
    // The keyring refused the password: the desktop has none.
    void keyringMissing();

protected:
    // Settings changed and not kept: asked first.
    void closeEvent(QCloseEvent* event) override;

private:
    void findAddressBooks();  // Command1
    // What the user can change, to tell whether it was kept.
    QStringList typed() const;
    // True when the settings are kept, or the user lets them go.
    bool keepOrDropChanges();
    void showPoint();

    AppContext& m_ctx;
    std::optional<QPointF> m_point;
    QStringList m_kept;  // typed() as last loaded or written
    // A certificate accepted here (Command1) for the server of that host;
    // one accepted by a sync is in the state.
    QString m_acceptedCertificate;
    QString m_certificateHost;

    QLineEdit* Text1 = nullptr;  // server
    QLineEdit* Text2 = nullptr;  // user
    QLineEdit* Text3 = nullptr;  // password
    QComboBox* Combo1 = nullptr;  // address books found
    QLabel* LabelPoint = nullptr;
    QPushButton* Command2 = nullptr;  // choose the point
    QCheckBox* Check1 = nullptr;  // at opening
    QCheckBox* Check2 = nullptr;  // every N minutes
    QSpinBox* Text4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;  // sync now
    QLabel* Label1 = nullptr;  // status
};
