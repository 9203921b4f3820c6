#pragma once
// The CardDAV sync of the database in use: its settings window, "Synchroniser
// maintenant", the sync at opening and every N minutes while the database is
// open, the conflicts asked about, and the status line. One sync at a time;
// it waits in local event loops, so the windows keep answering meanwhile.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

struct AppContext;
class FConflits;
class FSynchro;
class MapPointWait;
class QAction;
class QMenu;
class QTimer;
class QWidget;

class SyncCommands : public QObject {
    Q_OBJECT
public:
    SyncCommands(AppContext& ctx, QWidget* owner, MapPointWait& pointWait);

    // "Synchronisation CardDAV…" (Synchro), added to menu.
    void addTo(QMenu* menu);
    bool running() const { return m_running; }

    void openSettings();
    // asked: by the user (failures in a message box), else automatic (in the status only).
    void syncNow(bool asked);

signals:
    // " Dernière synchronisation : …", a failure, or "" when the database has no sync.
    void statusChanged(const QString& status);
    void runningChanged(bool running);

private:
    void followDatabase();
    void applySchedule();
    void setRunning(bool running);
    void tellKeyringMissing();
    // A sync refused before it began: written into the state, and shown.
    void keepStatus(const QString& status);
    void showStatus(const QString& status);

    AppContext& m_ctx;
    QWidget* m_owner;
    MapPointWait& m_pointWait;
    QAction* m_action = nullptr;
    QTimer* m_timer = nullptr;  // SyncTimer
    QPointer<FSynchro> m_window;
    QPointer<FConflits> m_conflicts;
    // Passwords typed at a sync's question, by user@server: kept in memory
    // for the session where no keyring keeps them, dropped on a 401.
    QHash<QString, QString> m_typedPasswords;
    QSet<QString> m_refused;  // the keyring's password was refused: asked instead
    bool m_running = false;
    bool m_keyringTold = false;
};
