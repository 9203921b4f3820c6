#include "gui/sync/sync_commands.h"

#include "core/db/carddav_settings.h"
#include "core/db/database.h"
#include "core/db/session.h"
#include "core/exchange/card_import.h"
#include "core/exchange/contact.h"
#include "gui/app/app_context.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/map/map_point_wait.h"
#include "gui/sync/certificate_question.h"
#include "gui/sync/conflict_window.h"
#include "gui/sync/sync_window.h"
#include "gui/widgets/menu_builder.h"
#include "sync/card_sync.h"
#include "sync/password_store.h"

#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QTimer>

namespace {

const QString kFailurePrefix = QStringLiteral("Erreur de synchronisation : ");

QString failureText(const tb::Error& error)
{
    const QString text = error.message();
    return text.startsWith(kFailurePrefix) ? text : kFailurePrefix + text;
}

}  // namespace

SyncCommands::SyncCommands(AppContext& ctx, QWidget* owner, MapPointWait& pointWait)
    : QObject(owner), m_ctx(ctx), m_owner(owner), m_pointWait(pointWait)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("SyncTimer"));
    connect(m_timer, &QTimer::timeout, this, [this] { syncNow(false); });
    connect(&m_ctx.session, &tb::Session::databaseChanged, this, &SyncCommands::followDatabase);
}

void SyncCommands::addTo(QMenu* menu)
{
    m_action = addMenuEntry(menu, "Synchro", QStringLiteral("Synchronisation CardDAV…"), u'y');
    connect(m_action, &QAction::triggered, this, &SyncCommands::openSettings);
}

void SyncCommands::followDatabase()
{
    m_timer->stop();
    // Its settings and password were the other database's: gone without a question.
    delete m_window.data();
    const tb::Database* db = m_ctx.session.database();
    if (!db) {
        emit statusChanged(QString());
        return;
    }
    const tb::Result<tb::CardDavState> state = tb::readCardDavState(db->folder());
    if (!state) {
        emit statusChanged(failureText(state.error()));
        return;
    }
    emit statusChanged(state->lastStatus);
    applySchedule();
    if (state->configured() && state->atOpening)
        // Once the opening is over (its messages, its map).
        QTimer::singleShot(0, this, [this] { syncNow(false); });
}

void SyncCommands::applySchedule()
{
    m_timer->stop();
    const tb::Database* db = m_ctx.session.database();
    const tb::Result<tb::CardDavState> state = db ? tb::readCardDavState(db->folder()) : tb::Result<tb::CardDavState>(tb::CardDavState{});
    if (state && state->configured() && state->everyMinutes > 0)
        m_timer->start(state->everyMinutes * 60 * 1000);
}

void SyncCommands::openSettings()
{
    if (!m_ctx.session.hasDatabase()) {
        m_ctx.dialogs.message(QStringLiteral(" Vous devez au préalable créer une nouvelle base de données ou ouvrir une "
                                             "base de données existante !"));
        return;
    }
    if (isClosed(m_window)) {
        m_window = new FSynchro(m_ctx, m_owner);
        connect(m_window, &FSynchro::syncRequested, this, [this] {
            applySchedule();
            syncNow(true);
        });
        connect(m_window, &FSynchro::keyringMissing, this, &SyncCommands::tellKeyringMissing);
        connect(m_window, &FSynchro::pointRequested, this, [this] {
            // The map takes the click once this window is out of the way.
            m_window->hide();
            m_pointWait.ask(m_ctx.dialogs,
                            QStringLiteral("Cliquez sur la carte à l'endroit où épingler les nouveaux contacts du serveur."),
                            [this](QPointF at) {
                                if (isClosed(m_window))
                                    return;
                                m_window->setPoint(at);
                                m_ctx.dialogs.showModal(m_window);
                            });
        });
        m_window->load();
    }
    m_window->setRunning(m_running);
    m_ctx.dialogs.showModal(m_window);
    applySchedule();
}

void SyncCommands::tellKeyringMissing()
{
    if (std::exchange(m_keyringTold, true))
        return;
    m_ctx.dialogs.message(tb::keyringMissingText());
}

void SyncCommands::setRunning(bool running)
{
    m_running = running;
    if (m_action)
        m_action->setEnabled(!running);
    if (m_window)
        m_window->setRunning(running);
    if (running)
        emit statusChanged(QStringLiteral(" Synchronisation en cours…"));
    emit runningChanged(running);
}

void SyncCommands::keepStatus(const QString& status)
{
    if (const tb::Database* db = m_ctx.session.database())
        if (tb::Status s = tb::keepLastStatus(db->folder(), status); !s)
            m_ctx.session.announce(s.error().message());
    showStatus(status);
}

void SyncCommands::showStatus(const QString& status)
{
    if (m_window)
        m_window->showStatus(status);
    emit statusChanged(status);
}

void SyncCommands::syncNow(bool asked)
{
    tb::Database* db = m_ctx.session.database();
    if (m_running || !db)
        return;
    const tb::Result<tb::CardDavState> read = tb::readCardDavState(db->folder());
    if (!read) {
        if (asked)
            m_ctx.dialogs.showError(read.error());
        return;
    }
    tb::CardDavState state = *read;
    if (!state.configured()) {
        if (asked)
            m_ctx.dialogs.message(QStringLiteral("Indiquez l'adresse du serveur CardDAV."));
        return;
    }
    tb::SyncOptions options;
    if (!tb::usesDefaultMap(*db)) {
        if (!state.newContactsPoint) {
            const QString text = kFailurePrefix + QStringLiteral("choisissez dans « Synchronisation CardDAV… » le point "
                                                                 "de cette carte où épingler les nouveaux contacts.");
            if (asked)
                m_ctx.dialogs.message(text);
            keepStatus(text);
            return;
        }
        options.placement = {false, *state.newContactsPoint};
    }
    const QString who = state.user + u'@' + state.server;
    // Typed in the window: kept for the session as if typed at the question.
    QString password = m_window ? m_window->typedPassword() : QString();
    if (!password.isEmpty())
        m_typedPasswords.insert(who, password);
    else
        password = m_typedPasswords.value(who);
    if (password.isEmpty()) {
        tb::Result<QString> kept = m_refused.contains(who) ? tb::Result<QString>(QString())
                                                           : tb::readSyncPassword(state.server, state.user);
        if (kept && !kept->isEmpty())
            password = *kept;
        else {
            if (tb::keyringMissing())
                tellKeyringMissing();
            const std::optional<QString> typed = m_ctx.dialogs.password(
                QStringLiteral("Mot de passe de ") + state.user + QStringLiteral(" sur ") + state.server + u':',
                QStringLiteral("Synchronisation CardDAV"));
            if (!typed)
                return;
            password = *typed;
            m_typedPasswords.insert(who, password);
            m_refused.remove(who);
        }
    }
    const QUrl url = QUrl::fromUserInput(state.addressBook.isEmpty() ? state.server : state.addressBook);
    options.server = {url, state.user, password, state.acceptedCertificate};
    options.programFolder = m_ctx.session.programFolder();
    const QStringList captions = tb::exchangeCaptions(db->captions());
    options.resolve = [this, captions](const tb::SyncConflict& conflict) {
        if (isClosed(m_conflicts))
            m_conflicts = new FConflits(m_ctx, m_owner);
        m_conflicts->setConflict(conflict, captions);
        m_ctx.dialogs.showModal(m_conflicts);
        return m_conflicts ? m_conflicts->decision() : tb::ConflictDecision{};
    };

    setRunning(true);
    tb::SyncReport report = tb::synchronize(*db, options);
    if (report.error) {
        // Not trusted? Its fingerprint for the user to judge, then once more.
        tb::CardDavClient probe(options.server);
        (void)probe.discover();
        const QString fingerprint = probe.untrustedCertificate();
        if (!fingerprint.isEmpty() && fingerprint != state.acceptedCertificate
            && acceptCertificate(m_ctx.dialogs, url.host(), fingerprint)) {
            tb::Result<tb::CardDavState> now = tb::readCardDavState(db->folder());
            tb::Status kept = now.status();
            if (now) {
                now->acceptedCertificate = fingerprint;
                kept = tb::writeCardDavState(db->folder(), *now);
            }
            if (!kept)
                m_ctx.dialogs.showError(kept.error());
            options.server.acceptedCertificate = fingerprint;
            report = tb::synchronize(*db, options);
        }
    }
    setRunning(false);
    if (report.passwordRefused) {
        m_typedPasswords.remove(who);
        m_refused.insert(who);
    } else if (!report.error) {
        m_refused.remove(who);
    }
    // The sync keeps its own ending in the state.
    if (report.error) {
        const QString text = failureText(*report.error);
        showStatus(text);
        if (asked)
            m_ctx.dialogs.message(text);
        return;
    }
    showStatus(report.statusLine(QDateTime::currentDateTime()));
    if (asked && !report.notes.isEmpty())
        m_ctx.dialogs.message(report.notes.mid(0, 30).join(u'\n'), QStringLiteral("Synchronisation CardDAV"));
}
