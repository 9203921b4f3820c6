#include "gui/sync/sync_window.h"

#include "core/base/number_text.h"
#include "core/db/carddav_settings.h"
#include "core/db/session.h"
#include "core/exchange/card_import.h"
#include "gui/app/app_context.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/sync/certificate_question.h"
#include "gui/widgets/menu_builder.h"
#include "sync/carddav_client.h"
#include "sync/password_store.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit* textBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(caption);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(caption);
    return box;
}

}  // namespace

FSynchro::FSynchro(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FSynchro"), QStringLiteral("Synchronisation CardDAV"));
    Text1 = textBox(this, "Text1", QStringLiteral("Adresse du serveur"));
    Text1->setPlaceholderText(QStringLiteral("https://serveur.exemple.fr/ (ou l'adresse du carnet)"));
    Text2 = textBox(this, "Text2", QStringLiteral("Nom d'utilisateur"));
    Text3 = textBox(this, "Text3", QStringLiteral("Mot de passe"));
    Text3->setEchoMode(QLineEdit::Password);
    Text3->setPlaceholderText(QStringLiteral("laissé vide : celui du trousseau"));
    Command1 = makeWindowButton(this, "Command1", QStringLiteral("Trouver les carnets"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("Carnet d'adresses"));
    LabelPoint = new QLabel(this);
    LabelPoint->setObjectName(QStringLiteral("LabelPoint"));
    Command2 = makeWindowButton(this, "Command2", QStringLiteral("Choisir le point sur la carte…"));
    Check1 = checkBox(this, "Check1", QStringLiteral("Synchroniser à l'ouverture de la base"));
    Check2 = checkBox(this, "Check2", QStringLiteral("Synchroniser toutes les"));
    Text4 = new QSpinBox(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setAccessibleName(QStringLiteral("Minutes entre deux synchronisations"));
    Text4->setRange(1, 24 * 60);
    Text4->setValue(15);
    Text4->setSuffix(QStringLiteral(" minutes"));
    Command3 = makeWindowButton(this, "Command3", QStringLiteral("Synchroniser maintenant"));
    QPushButton* keep = makeWindowButton(this, "Command4", QStringLiteral("Enregistrer"));
    QPushButton* close = makeWindowButton(this, "Command5", QStringLiteral("Fermer"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    const auto row = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(QStringLiteral("Adresse du serveur :"), Text1);
    row(QStringLiteral("Nom d'utilisateur :"), Text2);
    row(QStringLiteral("Mot de passe :"), Text3);
    auto* books = new QHBoxLayout;
    books->addWidget(Combo1, 1);
    books->addWidget(Command1);
    auto* booksLabel = new QLabel(QStringLiteral("Carnet d'adresses :"), this);
    booksLabel->setBuddy(Combo1);
    form->addRow(booksLabel, books);
    auto* pins = new QHBoxLayout;
    pins->addWidget(LabelPoint, 1);
    pins->addWidget(Command2);
    form->addRow(new QLabel(QStringLiteral("Nouveaux contacts :"), this), pins);
    auto* every = new QHBoxLayout;
    every->addWidget(Check2);
    every->addWidget(Text4);
    every->addStretch();
    form->addRow(QString(), Check1);
    form->addRow(QString(), every);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addWidget(keep);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Label1);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &FSynchro::findAddressBooks);
    connect(Command2, &QPushButton::clicked, this, &FSynchro::pointRequested);
    connect(Command3, &QPushButton::clicked, this, [this] {
        if (save())
            emit syncRequested();
    });
    connect(keep, &QPushButton::clicked, this, [this] {
        if (save())
            m_ctx.session.announce(QStringLiteral(" Réglages de synchronisation enregistrés."));
    });
    connect(close, &QPushButton::clicked, this, [this] {
        if (keepOrDropChanges())
            hide();
    });
    connect(Check2, &QCheckBox::toggled, Text4, &QWidget::setEnabled);
    // A book found on another server is not that server's.
    connect(Text1, &QLineEdit::textEdited, Combo1, &QComboBox::clear);
    giveButtonsLetters(this);
    Label1->setMinimumHeight(2 * Label1->fontMetrics().lineSpacing());
    resize(640, sizeHint().height());
    placeOnScreen(this);
}

void FSynchro::load()
{
    const tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    const tb::Result<tb::CardDavState> state = tb::readCardDavState(db->folder());
    if (!state) {
        m_ctx.dialogs.showError(state.error());
        return;
    }
    Text1->setText(state->server);
    Text2->setText(state->user);
    Text3->clear();
    Combo1->clear();
    if (!state->addressBook.isEmpty())
        Combo1->addItem(state->addressBook, state->addressBook);
    Check1->setChecked(state->atOpening);
    Check2->setChecked(state->everyMinutes > 0);
    Text4->setEnabled(state->everyMinutes > 0);
    if (state->everyMinutes > 0)
        Text4->setValue(state->everyMinutes);
    m_point = state->newContactsPoint;
    m_acceptedCertificate.clear();
    m_certificateHost.clear();
    showPoint();
    showStatus(state->lastStatus);
    m_kept = typed();
    Text1->setFocus();
}

QStringList FSynchro::typed() const
{
    const QString point = m_point ? QString::number(m_point->x()) + u',' + QString::number(m_point->y()) : QString();
    return {Text1->text().trimmed(), Text2->text().trimmed(), Text3->text(), Combo1->currentData().toString(), point,
            QString::number(Check1->isChecked()), QString::number(Check2->isChecked() ? Text4->value() : 0)};
}

bool FSynchro::keepOrDropChanges()
{
    if (typed() == m_kept)
        return true;
    switch (m_ctx.dialogs.question(QStringLiteral("Enregistrer les réglages de synchronisation ?"),
                                   QStringLiteral("Synchronisation CardDAV"),
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return save().has_value();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void FSynchro::closeEvent(QCloseEvent* event)
{
    if (!keepOrDropChanges()) {
        setProperty(kClosedProperty, false);
        event->ignore();
        return;
    }
    event->accept();
}

void FSynchro::showPoint()
{
    const tb::Database* db = m_ctx.session.database();
    const bool defaultMap = db && tb::usesDefaultMap(*db);
    Command2->setEnabled(!defaultMap);
    if (defaultMap)
        LabelPoint->setText(QStringLiteral("épinglés près de leur département"));
    else if (m_point)
        LabelPoint->setText(QStringLiteral("épinglés au point") + tb::numberText(m_point->x()) + u','
                            + tb::numberText(m_point->y()) + QStringLiteral(" de la carte"));
    else
        LabelPoint->setText(QStringLiteral("point à choisir sur cette carte"));
}

void FSynchro::setPoint(QPointF point)
{
    m_point = point;
    showPoint();
}

std::optional<tb::CardDavState> FSynchro::save()
{
    const tb::Database* db = m_ctx.session.database();
    if (!db)
        return std::nullopt;
    const QString server = Text1->text().trimmed();
    if (server.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("Indiquez l'adresse du serveur CardDAV."));
        Text1->setFocus();
        return std::nullopt;
    }
    // Read again: the sync keeps its own part of the file up to date.
    tb::Result<tb::CardDavState> read = tb::readCardDavState(db->folder());
    if (!read) {
        m_ctx.dialogs.showError(read.error());
        return std::nullopt;
    }
    tb::CardDavState state = std::move(read).value();
    tb::pointStateAt(state, server, Combo1->currentData().toString());
    if (!m_acceptedCertificate.isEmpty() && QUrl::fromUserInput(server).host() == m_certificateHost)
        state.acceptedCertificate = m_acceptedCertificate;
    state.user = Text2->text().trimmed();
    state.atOpening = Check1->isChecked();
    state.everyMinutes = Check2->isChecked() ? Text4->value() : 0;
    state.newContactsPoint = m_point;
    if (tb::Status s = tb::writeCardDavState(db->folder(), state); !s) {
        m_ctx.dialogs.showError(s.error());
        return std::nullopt;
    }
    if (!Text3->text().isEmpty()) {
        // Without a keyring the password typed here serves while the window is open.
        if (tb::Status s = tb::keepSyncPassword(server, state.user, Text3->text()); !s) {
            if (tb::keyringMissing())
                emit keyringMissing();
            else
                m_ctx.dialogs.showError(s.error());
        }
    }
    m_kept = typed();
    return state;
}

QString FSynchro::typedPassword() const
{
    return Text3->text();
}

void FSynchro::findAddressBooks()
{
    const QUrl url = QUrl::fromUserInput(Text1->text().trimmed());
    if (Text1->text().trimmed().isEmpty() || !url.isValid()) {
        m_ctx.dialogs.message(QStringLiteral("Indiquez l'adresse du serveur CardDAV."));
        Text1->setFocus();
        return;
    }
    QString password = Text3->text();
    if (password.isEmpty())
        if (tb::Result<QString> kept = tb::readSyncPassword(Text1->text().trimmed(), Text2->text().trimmed()))
            password = *kept;
    setRunning(true);
    QString accepted = url.host() == m_certificateHost ? m_acceptedCertificate : QString();
    const tb::Database* db = m_ctx.session.database();
    if (accepted.isEmpty() && db)
        if (const tb::Result<tb::CardDavState> state = tb::readCardDavState(db->folder());
            state && QUrl::fromUserInput(state->server).host() == url.host())
            accepted = state->acceptedCertificate;
    tb::CardDavServer server{url, Text2->text().trimmed(), password, accepted};
    tb::CardDavClient client(server);
    tb::Result<std::vector<tb::AddressBookInfo>> found = client.discover();
    if (!found && !client.untrustedCertificate().isEmpty()
        && acceptCertificate(m_ctx.dialogs, url.host(), client.untrustedCertificate())) {
        m_acceptedCertificate = server.acceptedCertificate = client.untrustedCertificate();
        m_certificateHost = url.host();
        tb::CardDavClient trusting(server);
        found = trusting.discover();
    }
    setRunning(false);
    if (!found) {
        m_ctx.dialogs.showError(found.error());
        return;
    }
    if (found->empty()) {
        m_ctx.dialogs.message(QStringLiteral("Aucun carnet d'adresses n'a été trouvé à cette adresse."));
        return;
    }
    const QString current = Combo1->currentData().toString();
    Combo1->clear();
    for (const tb::AddressBookInfo& book : *found)
        Combo1->addItem(book.name + QStringLiteral(" — ") + book.url.toString(), book.url.toString());
    Combo1->setCurrentIndex(std::max(0, Combo1->findData(current)));
    Combo1->setFocus();
}

void FSynchro::setRunning(bool running)
{
    Command1->setEnabled(!running);
    Command3->setEnabled(!running);
}

void FSynchro::showStatus(const QString& status)
{
    Label1->setText(status);
}
