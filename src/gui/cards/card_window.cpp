#include "gui/cards/card_window.h"

#include "core/exchange/person_data.h"

#include "core/base/number_text.h"
#include "core/cards/card_fields.h"
#include "core/cards/debt.h"
#include "core/db/session.h"
#include "core/external/start_folders.h"
#include "core/exchange/person_data.h"
#include "core/lists/card_lists.h"
#include "core/tools/note_text.h"
#include "gui/app/dialogs.h"
#include "gui/cards/card_documents.h"
#include "gui/widgets/card_list_view.h"
#include "gui/widgets/menu_builder.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace {
constexpr int kPhotoDelayMs = 4000;
constexpr int kUndoMs = 10000;

}  // namespace

FFrance4::FFrance4(AppContext& ctx, QWidget* parent)
    : CardWindowBase(ctx, parent, QStringLiteral("FFrance4"), QStringLiteral("Fiche"),
                     {6, QStringLiteral("List4"), QStringLiteral("Label13")})
{
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Label5"));
    m_status->setMinimumWidth(70);
    m_header->addWidget(m_status);

    m_names = new CardListView(this);
    m_names->setObjectName(QStringLiteral("List1"));
    m_names->setAccessibleName(QStringLiteral("Liste des fiches"));
    m_names->setMinimumWidth(QFontMetrics(m_names->font()).horizontalAdvance(QString(31, u'M')) + 24);

    QPushButton* command1 = makeButton(this, "Command1", QStringLiteral("Détail des recouvrements"));
    QPushButton* command2 = makeButton(this, "Command2", QStringLiteral("Valider la modification"));
    QPushButton* command3 = makeButton(this, "Command3", QStringLiteral("Fonction calcul de la dette"));
    QPushButton* command4 = makeButton(this, "Command4", QStringLiteral("Fonction calcul des intérêts"));
    QPushButton* command5 = makeButton(this, "Command5", QStringLiteral("Memento"));

    buildMenus();

    auto* body = new QHBoxLayout;
    body->addWidget(m_names);
    body->addSpacing(8);
    body->addWidget(m_form, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {command2, command3, command1, command4, command5})
        buttons->addWidget(b);
    buttons->addStretch();

    connect(m_names->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_selecting && current.isValid())
                    moveToRow(current.row());
            });
    // A click on the highlighted line moves too when it is not the card shown.
    connect(m_names, &CardListView::rowOpened, this, [this](int row) {
        if (!m_selecting && row >= 0 && m_names->cards()->numberAt(row) != shownNumber())
            moveToRow(row);
    });
    connect(command1, &QPushButton::clicked, this, &FFrance4::collectionsDetail);
    connect(command2, &QPushButton::clicked, this, &FFrance4::validateChange);
    connect(command3, &QPushButton::clicked, this, &FFrance4::calculateDebt);
    connect(command4, &QPushButton::clicked, this, [this] { openJournal(tb::JournalKind::Interest); });
    connect(command5, &QPushButton::clicked, this, [this] { openJournal(tb::JournalKind::Memento); });
    connect(m_form, &CardFormWidget::photoClicked, this, &FFrance4::loadPhoto);

    m_photoTimer = new QTimer(this);
    m_photoTimer->setObjectName(QStringLiteral("Timer1"));
    m_photoTimer->setInterval(kPhotoDelayMs);
    m_photoTimer->setSingleShot(true);
    connect(m_photoTimer, &QTimer::timeout, this, &FFrance4::firePhotoTimer);

    m_undoTimer = new QTimer(this);
    m_undoTimer->setObjectName(QStringLiteral("UndoTimer"));
    m_undoTimer->setInterval(kUndoMs);
    m_undoTimer->setSingleShot(true);
    connect(m_undoTimer, &QTimer::timeout, this, [this] { m_undoEntry = 0; });
    connect(m_statusLine, &QLabel::linkActivated, this, &FFrance4::undoDeletion);
    // A field undoes its own typing; elsewhere Ctrl+Z brings the deleted card back.
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    undo->setObjectName(QStringLiteral("Undo"));
    connect(undo, &QShortcut::activated, this, &FFrance4::undoDeletion);

    // The name list follows the cards wherever they change.
    connect(&m_ctx.session, &tb::Session::databaseChanged, this, &FFrance4::forgetNameList);
    if (tb::Database* db = m_ctx.session.database()) {
        connect(db, &tb::Database::cardStored, this, &FFrance4::followStored);
        connect(db, &tb::Database::cardsRenumbered, this, &FFrance4::forgetNameList);
    }

    finishLayout(m_menuBar, body, buttons, command2);
    // Reading order: the names, the form, then the buttons.
    setTabOrder(m_names, m_form->firstInTabOrder());
    setTabOrder(m_form->lastInTabOrder(), command2);
    setTabOrder(command2, command3);
    setTabOrder(command3, command1);
    setTabOrder(command1, command4);
    setTabOrder(command4, command5);
    m_form->loadCaptions();
    m_form->loadDepartments();
    armPhotoTimer();
}

void FFrance4::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    connect(addMenuEntry(m_menuBar, "Feuillexls", QStringLiteral("Feuille \"EXCEL\"")), &QAction::triggered, this,
            [this] { openSpreadsheet(m_ctx, shownNumber()); });
    connect(addMenuEntry(m_menuBar, "notesconf", QStringLiteral("Notes confidentielles")), &QAction::triggered, this,
            &FFrance4::openNoteEditor);
    QMenu* documents = addSubmenu(m_menuBar, "documents", QStringLiteral("Documents annexes"));
    connect(addMenuEntry(documents, "photo", QStringLiteral("Incorporer une photo")), &QAction::triggered, this,
            &FFrance4::attachPhoto);

    QMenu* doctxt1 = addSubmenu(documents, "doctxt1", QStringLiteral("Document Texte n°1"));
    QMenu* voirTxt1 = addSubmenu(doctxt1, "VoirTxt1", QStringLiteral("Voir"));
    viewOn(addMenuEntry(voirTxt1, "VoirTB1", QStringLiteral("Voir avec Tabulon")), tb::Attachment::TextA);
    onCard(addMenuEntry(voirTxt1, "VoirTT1", QStringLiteral("Voir avec le logiciel de traitement de texte")),
           openTextInWordProcessor, 1);
    attachOn(addMenuEntry(doctxt1, "RechTxt1", QStringLiteral("Rechercher")), tb::Attachment::TextA);

    QMenu* docTxt2 = addSubmenu(documents, "DocTxt2", QStringLiteral("Document Texte n°2"));
    QMenu* voirTxt2 = addSubmenu(docTxt2, "VoirTxt2", QStringLiteral("Voir"));
    viewOn(addMenuEntry(voirTxt2, "VoirTB2", QStringLiteral("Voir avec Tabulon")), tb::Attachment::TextB);
    onCard(addMenuEntry(voirTxt2, "VoirTT2", QStringLiteral("Voir avec le logiciel de traitement de texte")),
           openTextInWordProcessor, 2);
    attachOn(addMenuEntry(docTxt2, "RechTxt2", QStringLiteral("Rechercher")), tb::Attachment::TextB);

    QMenu* docScan1 = addSubmenu(documents, "DocScan1", QStringLiteral("Document scanné n°1"));
    QMenu* voirScan1 = addSubmenu(docScan1, "VoirScan1", QStringLiteral("Voir"));
    viewOn(addMenuEntry(voirScan1, "VoirTB3", QStringLiteral("Voir avec Tabulon")), tb::Attachment::ScanA);
    onCard(addMenuEntry(voirScan1, "VoiTI1", QStringLiteral("Voir avec le logiciel de traitement d'image")),
           openScanInImageProgram, 1);
    attachOn(addMenuEntry(docScan1, "RechScan1", QStringLiteral("Rechercher")), tb::Attachment::ScanA);
    onCard(addMenuEntry(docScan1, "ScanDoc1", QStringLiteral("Scanner le document n°1")), scanDocument, 1);

    QMenu* docScan2 = addSubmenu(documents, "DocScan2", QStringLiteral("Document scanné n°2"));
    QMenu* voirScan2 = addSubmenu(docScan2, "VoirScan2", QStringLiteral("Voir"));
    viewOn(addMenuEntry(voirScan2, "VoirTB4", QStringLiteral("Voir avec Tabulon")), tb::Attachment::ScanB);
    onCard(addMenuEntry(voirScan2, "VoiTI2", QStringLiteral("Voir avec le logiciel de traitement d'image")),
           openScanInImageProgram, 2);
    attachOn(addMenuEntry(docScan2, "RechScan2", QStringLiteral("Rechercher")), tb::Attachment::ScanB);
    onCard(addMenuEntry(docScan2, "ScanDoc2", QStringLiteral("Scanner le document n°2")), scanDocument, 2);

    connect(addMenuEntry(m_menuBar, "Adresses", QStringLiteral("Adresse avec traitement de texte")), &QAction::triggered,
            this, [this] { addressToWordProcessor(m_ctx, typedCard()); });
    connect(addMenuEntry(m_menuBar, "Courrier", QStringLiteral("Courrier électronique")), &QAction::triggered, this,
            [this] { writeEmail(m_ctx, m_form->text(tb::kFieldEmail)); });
    connect(addMenuEntry(m_menuBar, "Supprimer", QStringLiteral("Supprimer")), &QAction::triggered, this,
            &FFrance4::deleteShown);
    QMenu* personne = addSubmenu(m_menuBar, "Personne", QStringLiteral("Données personnelles"));
    connect(addMenuEntry(personne, "DonneesPerso", QStringLiteral("Données personnelles de la fiche")),
            &QAction::triggered, this, &FFrance4::exportPersonShown);
    connect(addMenuEntry(personne, "EffacerPersonne", QStringLiteral("Effacer définitivement cette personne")),
            &QAction::triggered, this, &FFrance4::erasePersonShown);
    QMenu* archiver = addSubmenu(m_menuBar, "Archiver", QStringLiteral("Archiver"));
    connect(addMenuEntry(archiver, "ArchFfic", QStringLiteral("Archiver la fiche")), &QAction::triggered, this,
            [this] { setShownArchived(true); });
    connect(addMenuEntry(archiver, "DesarchiFic", QStringLiteral("Désarchiver la fiche")), &QAction::triggered, this,
            [this] { setShownArchived(false); });
    QMenu* imprimer = addSubmenu(m_menuBar, "Imprimer", QStringLiteral("Imprimer"));
    QAction* printOne = addMenuEntry(imprimer, "ImprimFic", QStringLiteral("Imprimer la fiche"));
    printOne->setShortcut(QKeySequence::Print);
    connect(printOne, &QAction::triggered, this, [this] { printCard(m_ctx, shownNumber(), typedCard()); });
    connect(addMenuEntry(imprimer, "ImprimTout", QStringLiteral("Imprimer toutes les fiches")), &QAction::triggered,
            this, [this] { printAllCards(m_ctx); });
    connect(addMenuEntry(imprimer, "LettreType", QStringLiteral("Imprimer une lettre type…")), &QAction::triggered,
            this, [this] {
                if (shownNumber() > 0)
                    emit lettersRequested({shownNumber()});
            });
}

void FFrance4::openCard(long long n, long long highlighted)
{
    m_form->clearFields();
    m_form->loadCaptions();
    showCard(n, true);
    selectWhenListed(highlighted ? highlighted : n);
    // Typing starts in the card, never on a button that Return would press.
    m_form->firstField()->setFocus();
}

void FFrance4::selectWhenListed(long long n)
{
    if (m_namesBuilt) {
        selectNameRowOf(n);
        return;
    }
    // The card shows at once; the names of every card follow once it is painted.
    m_pendingNames = n;
    update();
}

void FFrance4::paintEvent(QPaintEvent* event)
{
    CardWindowBase::paintEvent(event);
    if (m_pendingNames != 0)
        QTimer::singleShot(0, this, [this] {
            const long long n = std::exchange(m_pendingNames, 0);
            if (n == kFirstName || (n > 0 && n == shownNumber()))
                selectNameRowOf(n);
        });
}

void FFrance4::showCard(long long n, bool capitalizedStatus)
{
    setShownNumber(n);
    const tb::Database* db = m_ctx.session.database();
    tb::Result<CardRecord> card = db ? db->card(n) : tb::Result<CardRecord>(CardRecord());
    if (!card) {
        showError(card.error());
        m_form->clearFields();
    } else {
        m_form->setTexts(card->fields);
    }
    m_status->setText(tb::statusWord(m_form->pin(), capitalizedStatus));
    m_form->clearPhoto();
    armPhotoTimer();
}

void FFrance4::ensureNameList()
{
    if (m_namesBuilt)
        return;
    const tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    m_ctx.dialogs.setBusy(true);
    tb::Result<tb::CardList> names = db->nameList();
    m_ctx.dialogs.setBusy(false);
    if (!names) {
        showError(names.error());
        return;
    }
    m_selecting = true;
    m_names->cards()->setList(std::move(names).value());
    m_selecting = false;
    m_namesBuilt = true;
}

void FFrance4::selectNameRowOf(long long n)
{
    ensureNameList();
    const tb::CardList& names = m_names->cards()->list();
    const int row = n == kFirstName ? (names.size() > 0 ? 0 : -1) : names.rowOf(n);
    m_selecting = true;
    if (row >= 0) {
        const QModelIndex index = m_names->cards()->index(row);
        m_names->setCurrentIndex(index);
        m_names->scrollTo(index, QAbstractItemView::PositionAtCenter);
    } else {
        m_names->clearSelection();
    }
    m_selecting = false;
}

bool FFrance4::hasUnsavedEdits() const
{
    const tb::Database* db = m_ctx.session.database();
    const long long n = shownNumber();
    if (!db || n < 1 || n > db->count())
        return false;
    const tb::Result<CardRecord> stored = db->card(n);
    return stored && stored->toBytes() != typedCard().toBytes();
}

bool FFrance4::settleEdits()
{
    switch (m_ctx.dialogs.question(QStringLiteral(" Enregistrer les modifications de la fiche ? "),
                                   QStringLiteral("Tabulon"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                   QMessageBox::Yes, QMessageBox::Question)) {
    case QMessageBox::Yes:
        // A store that fails keeps the window open with what was typed.
        return storeShown();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool FFrance4::storeShown()
{
    tb::Database* db = m_ctx.session.database();
    if (!db || shownNumber() < 1)
        return true;
    if (tb::Status s = db->storeCard(shownNumber(), typedCard()); !s) {
        showError(s.error());
        return false;
    }
    return true;
}

void FFrance4::moveToRow(int row)
{
    const long long n = m_names->cards()->numberAt(row);
    if (n < 1)
        return;
    // The card left is stored first; when that fails the user stays on it
    // with what was typed.
    if (!storeShown()) {
        selectNameRowOf(shownNumber());
        return;
    }
    showCard(n, false);
    // Storing the card left may have moved the selection back to it.
    if (m_names->cards()->numberAt(m_names->currentIndex().row()) != n)
        selectNameRowOf(n);
}

void FFrance4::followStored(long long n)
{
    // A journal stored the shown card: its debt fields follow.
    if (n == shownNumber()) {
        if (const tb::Result<CardRecord> card = m_ctx.session.database()->card(n))
            for (const tb::CardField k : tb::kDebtFields)
                m_form->setText(k, card->field(k).trimmed());
    }
    if (!m_namesBuilt)
        return;
    const tb::Database* db = m_ctx.session.database();
    const tb::Result<CardRecord> card = db->card(n);
    if (!card)
        return;
    m_selecting = true;
    const long long shown = shownNumber();
    m_names->cards()->replace(n, tb::nameEntry(*card));
    m_selecting = false;
    selectNameRowOf(shown);
}

void FFrance4::forgetNameList()
{
    m_namesBuilt = false;
    m_selecting = true;
    m_names->cards()->setList({});
    m_selecting = false;
    // A new database: follow its cards.
    if (tb::Database* db = m_ctx.session.database()) {
        connect(db, &tb::Database::cardStored, this, &FFrance4::followStored, Qt::UniqueConnection);
        connect(db, &tb::Database::cardsRenumbered, this, &FFrance4::forgetNameList, Qt::UniqueConnection);
    }
}

std::optional<long long> FFrance4::confirmShown(const QString& question, const QString& title, QMessageBox::Icon icon)
{
    const std::optional<CardRecord> shown =
        shownCard(QStringLiteral(" Aucune fiche n'est affichée : il n'y a rien à supprimer !"));
    if (!shown)
        return std::nullopt;
    const long long n = shownNumber();
    if (m_ctx.dialogs.question(question + tb::cardTitle(*shown, n), title, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No, icon)
        != QMessageBox::Yes)
        return std::nullopt;
    return n;
}

std::optional<CardRecord> FFrance4::shownCard(const QString& nothingText)
{
    tb::Database* db = m_ctx.session.database();
    const long long n = shownNumber();
    // Without a shown card the deletion would renumber the last card as 0.
    if (!db || n < 1 || n > db->count()) {
        m_ctx.dialogs.message(nothingText);
        return std::nullopt;
    }
    const tb::Result<CardRecord> shown = db->card(n);
    if (!shown) {
        showError(shown.error());
        return std::nullopt;
    }
    return *shown;
}

void FFrance4::deleteShown()
{
    const std::optional<long long> n = confirmShown(QStringLiteral("Confirmez-vous la suppression de la fiche ?\n"),
                                                    QStringLiteral("Suppression d'une fiche"), QMessageBox::Critical);
    if (!n)
        return;
    tb::Database* db = m_ctx.session.database();
    m_ctx.dialogs.message(QStringLiteral("La suppression d'une fiche peut demander quelques secondes !"));
    m_ctx.dialogs.setBusy(true);
    int entry = 0;
    const tb::Status s = db->deleteCard(*n, tb::CardDeletion::Keep::InTrash, &entry);
    m_ctx.dialogs.setBusy(false);
    if (!s)
        showError(s.error());
    // Numbers changed: the window never keeps showing the deleted card.
    showFirstByName();
    if (s)
        offerUndo(entry);
}

void FFrance4::exportPersonShown()
{
    const std::optional<CardRecord> shown = shownCard(QStringLiteral(" Aucune fiche n'est affichée."));
    if (!shown)
        return;
    tb::Database* db = m_ctx.session.database();
    const long long n = shownNumber();
    const QString title = QStringLiteral("Données personnelles de la fiche");
    const std::optional<QString> target = m_ctx.dialogs.chooseFile(
        title,
        tb::startFolder(tb::ChooserKind::Export) + u'/' + tb::cardTitle(*shown, n).section(QStringLiteral(" — "), 0, 0)
            + QStringLiteral(".zip"),
        QStringLiteral("Archive zip (*.zip);;Dossier (*)"), true);
    if (!target)
        return;
    tb::rememberChosen(tb::ChooserKind::Export, *target);
    QString key;
    if (!db->findSideFile(tb::SideFile::Note, n).isEmpty()) {
        const std::optional<QString> given = m_ctx.dialogs.input(
            QStringLiteral("Clé de la note confidentielle, pour la joindre déchiffrée (laisser vide pour la note "
                           "telle qu'enregistrée) :"),
            title, QString());
        if (!given)
            return;
        key = *given;
    }
    m_ctx.dialogs.setBusy(true);
    const tb::Result<tb::PersonData> written =
        tb::exportPersonData(*db, n, *target, tb::backupsHolding(*db, n, m_ctx.session.programFolder()), key);
    m_ctx.dialogs.setBusy(false);
    if (!written) {
        showError(written.error());
        return;
    }
    m_ctx.dialogs.message(QStringLiteral(" Les données de la fiche sont écrites dans ") + *target
                          + QStringLiteral(" (") + QString::number(written->items.size())
                          + QStringLiteral(" fichiers, dont le résumé « resume.pdf »)."));
}

void FFrance4::erasePersonShown()
{
    const std::optional<long long> n =
        confirmShown(QStringLiteral(" Effacer définitivement cette personne et tout ce qui la concerne ? \n"),
                     QStringLiteral("Effacement d'une personne"), QMessageBox::Warning);
    if (!n)
        return;
    tb::Database* db = m_ctx.session.database();
    const QStringList backups = tb::backupsHolding(*db, *n, m_ctx.session.programFolder());
    m_ctx.dialogs.setBusy(true);
    const tb::Status s = db->deleteCard(*n, tb::CardDeletion::Keep::Nothing);
    m_ctx.dialogs.setBusy(false);
    showFirstByName();
    if (!s) {
        showError(s.error());
        return;
    }
    m_ctx.dialogs.message(backups.isEmpty()
                              ? QStringLiteral(" La personne est effacée. Aucune sauvegarde connue ne la contient.")
                              : QStringLiteral(" La personne est effacée. Ces sauvegardes la contiennent encore :\n")
                                    + backups.join(u'\n'));
}

void FFrance4::offerUndo(int trashEntry)
{
    m_undoEntry = trashEntry;
    m_undoTimer->start();
    acknowledge(QStringLiteral(" Fiche supprimée. <a href=\"annuler\">Annuler</a>"), kUndoMs);
}

void FFrance4::undoDeletion()
{
    tb::Database* db = m_ctx.session.database();
    const int entry = std::exchange(m_undoEntry, 0);
    if (!db || entry < 1 || !m_undoTimer->isActive())
        return;
    m_undoTimer->stop();
    const tb::Result<long long> n = db->restoreFromTrash(entry);
    if (!n) {
        showError(n.error());
        return;
    }
    forgetNameList();
    showCard(*n, false);
    selectNameRowOf(*n);
    acknowledge(QStringLiteral(" Fiche n° ") + tb::plainNumber(*n) + QStringLiteral(" restaurée."));
}

void FFrance4::setShownArchived(bool archived)
{
    tb::Database* db = m_ctx.session.database();
    if (!db || shownNumber() < 1 || shownNumber() > db->count())
        return;
    m_ctx.session.setMarker(archived ? 0 : 1);
    // What was typed is stored with the new marker, as a store of the window does.
    if (!storeShown())
        return;
    const long long n = shownNumber();
    if (tb::Status s = db->setArchived(n, archived); !s) {
        showError(s.error());
        return;
    }
    // The window stays on this card: a following command is about it.
    showCard(n, false);
    selectNameRowOf(n);
    m_ctx.dialogs.beep();
}

void FFrance4::showFirstByName()
{
    m_form->clearFields();
    ensureNameList();
    const long long first = m_names->cards()->numberAt(0);
    if (first < 1) {
        setShownNumber(0);
        m_status->clear();
        m_form->clearPhoto();
        return;
    }
    showCard(first, false);
    selectNameRowOf(first);
}

void FFrance4::validateChange()
{
    if (shownNumber() < 1) {
        m_ctx.dialogs.message(
            QStringLiteral(" Vous ne pouvez pas modifier une fiche qui n'a pas été créée au préalable..."));
        return;
    }
    tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    const tb::Result<CardRecord> stored = db->validateCard(shownNumber(), typedCard());
    if (!stored) {
        showError(stored.error());
        return;
    }
    m_form->setText(tb::kFieldSurname, stored->field(tb::kFieldSurname));
    m_status->setText(tb::statusWord(m_form->pin()));
    acknowledge(QStringLiteral(" Fiche n° ") + tb::plainNumber(shownNumber()) + QStringLiteral(" enregistrée."));
}

void FFrance4::calculateDebt()
{
    m_form->computeDebt(true);
    storeShown();
}

void FFrance4::collectionsDetail()
{
    if (!m_ctx.session.database() || shownNumber() < 1)
        return;
    m_form->computeDebt(true);
    openJournal(tb::JournalKind::Collections);
}

void FFrance4::openJournal(tb::JournalKind kind)
{
    // No card shown: there is no journal to open.
    if (!m_ctx.session.database() || shownNumber() < 1)
        return;
    // The journals store the card as typed here, as this window would.
    emit journalRequested(kind, shownNumber(), typedCard());
}

void FFrance4::armPhotoTimer()
{
    // The photo follows a few seconds later, once the window has settled.
    m_photoPending = true;
    m_photoTimer->start();
}

void FFrance4::firePhotoTimer()
{
    if (m_photoPending)
        loadPhoto();
    m_photoPending = false;
}

void FFrance4::loadPhoto()
{
    // A photo that cannot be shown is said in the status line: the timer
    // loads it on every card, a box each time would be in the way.
    if (const QString refusal = m_form->loadCardPhoto(shownNumber()); !refusal.isEmpty())
        acknowledge(refusal);
}

void FFrance4::attachPhoto()
{
    requestAttachment(tb::Attachment::Photo);
    loadPhoto();
}

void FFrance4::onCard(QAction* action, void (*command)(AppContext&, int, long long), int document)
{
    connect(action, &QAction::triggered, this, [this, command, document] { command(m_ctx, document, shownNumber()); });
}

void FFrance4::attachOn(QAction* action, tb::Attachment kind)
{
    connect(action, &QAction::triggered, this, [this, kind] { requestAttachment(kind); });
}

void FFrance4::viewOn(QAction* action, tb::Attachment kind)
{
    connect(action, &QAction::triggered, this, [this, kind] {
        if (const QString path = documentToView(m_ctx, kind, shownNumber()); !path.isEmpty())
            emit documentViewRequested(kind, path);
    });
}

void FFrance4::openNoteEditor()
{
    // No card shown: there is no note to open.
    const tb::Database* db = m_ctx.session.database();
    if (!db || shownNumber() < 1)
        return;
    emit noteRequested(db->findSideFile(tb::SideFile::Note, shownNumber()),
                       tb::noteSummary(m_form->texts()));
}
