#include "gui/app/windows.h"

#include "core/lists/card_lists.h"
#include "gui/app/app_context.h"
#include "gui/app/dialogs.h"
#include "gui/app/database_chooser_window.h"
#include "gui/app/secondary_window.h"
#include "gui/cards/card_window.h"
#include "gui/external/program_chooser_window.h"
#include "gui/external/program_paths_window.h"
#include "gui/cards/creation_window.h"
#include "gui/cards/scan_viewer_window.h"
#include "gui/cards/text_viewer_window.h"
#include "gui/cards/structure_window.h"
#include "gui/journals/collections_journal_window.h"
#include "gui/journals/interest_journal_window.h"
#include "gui/journals/memento_window.h"
#include "gui/journals/reminders_window.h"
#include "gui/letters/letter_send_window.h"
#include "gui/lists/email_window.h"
#include "gui/lists/list_window.h"
#include "gui/app/main_window.h"
#include "gui/mail/envelopes_window.h"
#include "gui/mail/labels_window.h"
#include "gui/mail/sender_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/zone_window.h"
#include "gui/postal/postal_window.h"
#include "gui/tools/calendar_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/note_editor_window.h"
#include "gui/tools/iban_window.h"
#include "gui/tools/rib_window.h"

void Windows::setUp(AppContext* ctx, QWidget* parent)
{
    m_ctx = ctx;
    m_parent = parent;
}

template <typename W>
W* Windows::ensure(QPointer<W>& slot)
{
    if (isClosed(slot)) {
        slot = new W(*m_ctx, m_parent);
        connectRequests(slot.data());
    }
    return slot;
}

// Each window's requests, connected once when it is made; the window is the
// context, so a deleted window leaves no connection behind.
void Windows::connectRequests(FFrance3* list)
{
    QObject::connect(list, &FFrance3::cardChosen, list, [this](long long n) { openCard(n); });
    QObject::connect(list, &FFrance3::labelsRequested, list,
                     [this](const QList<long long>& selection, const QList<long long>& all) { openLabels(selection, all); });
    QObject::connect(list, &FFrance3::envelopesRequested, list,
                     [this](const QList<long long>& selection, const QList<long long>& all) { openEnvelopes(selection, all); });
    if (auto* main = qobject_cast<FFrance*>(m_parent))
        QObject::connect(list, &FFrance3::lettersRequested, main, &FFrance::openLetters);
}

void Windows::connectRequests(FFrance4* card)
{
    connectCardRequests(card);
    QObject::connect(card, &FFrance4::journalRequested, card,
                     [this](tb::JournalKind kind, long long n, const CardRecord& typed) { openJournal(kind, n, typed); });
    QObject::connect(card, &FFrance4::noteRequested, card,
                     [this](const QString& path, const QString& summary) { openNote(path, summary); });
    QObject::connect(card, &FFrance4::documentViewRequested, card,
                     [this](tb::Attachment kind, const QString& path) { viewDocument(kind, path); });
    QObject::connect(card, &FFrance4::lettersRequested, card,
                     [this](const QList<long long>& cards) { openLetters(cards); });
}

void Windows::connectRequests(FFrance11* creation)
{
    connectCardRequests(creation);
    QObject::connect(creation, &FFrance11::photoRequested, creation,
                     [this, creation](long long n) { choosePhoto(creation, n); });
}

void Windows::connectCardRequests(CardWindowBase* window)
{
    QObject::connect(window, &CardWindowBase::attachmentRequested, window,
                     [this](tb::Attachment kind, long long n) { chooseAttachment(kind, n); });
}

void Windows::connectRequests(Ffrance28* zones)
{
    QObject::connect(zones, &Ffrance28::listRequested, zones, [this](const tb::CardList& list) { showList(list, tb::ListShown::Zone); });
}

void Windows::connectRequests(FRappels* reminders)
{
    QObject::connect(reminders, &FRappels::cardChosen, reminders, [this](long long n) { openCard(n); });
}

void Windows::openCard(long long n)
{
    QPointer<FFrance4> card = ensure(m_card);
    card->openCard(n);
    m_ctx->dialogs.showModal(card);
}

void Windows::openFirstCard()
{
    QPointer<FFrance4> card = ensure(m_card);
    // Card 1 shows while the first name in name order is highlighted.
    card->openCard(1, FFrance4::kFirstName);
    m_ctx->dialogs.showModal(card);
}

void Windows::showList(tb::Result<tb::CardList> list, tb::ListShown shown)
{
    if (!list) {
        m_ctx->dialogs.showError(list.error());
        return;
    }
    FFrance3* window = ensure(m_list);
    window->setList(std::move(list).value(), shown);
    m_ctx->dialogs.showModal(window);
}

void Windows::showSortedList(tb::Result<std::shared_ptr<tb::ListFill>> list, tb::ListShown shown)
{
    if (!list) {
        m_ctx->dialogs.showError(list.error());
        return;
    }
    FFrance3* window = ensure(m_list);
    window->fillList(std::move(list).value(), shown);
    m_ctx->dialogs.showModal(window);
}

void Windows::forgetList()
{
    if (!isClosed(m_list))
        m_list->setList({}, tb::ListShown::Search);
}

void Windows::showEmails(const tb::EmailLists& lists)
{
    Ffrance91* window = ensure(m_email);
    window->fill(lists.names, lists.addresses);
    m_ctx->dialogs.showModal(window);
}

void Windows::openLabels(const QList<long long>& selection, const QList<long long>& list)
{
    FEtiquettes* window = ensure(m_labels);
    window->setCards(selection, list);
    m_ctx->dialogs.showModal(window);
}

void Windows::openEnvelopes(const QList<long long>& selection, const QList<long long>& list)
{
    FEnveloppes* window = ensure(m_envelopes);
    window->setCards(selection, list);
    m_ctx->dialogs.showModal(window);
}

void Windows::editSender()
{
    FExpediteur* window = ensure(m_sender);
    window->load();
    m_ctx->dialogs.showModal(window);
}

void Windows::editStructure()
{
    FFrance26* window = ensure(m_structure);
    window->prepare();
    m_ctx->dialogs.showModal(window);
}

void Windows::chooseProgram(int code)
{
    Ffrance25* chooser = ensure(m_programChooser);
    chooser->setProgramCode(code);
    m_ctx->dialogs.showModal(chooser);
}

void Windows::openJournal(tb::JournalKind kind, long long n, const CardRecord& typed)
{
    JournalWindowBase* journal = nullptr;
    switch (kind) {
    case tb::JournalKind::Collections: {
        Ffrance19* collections = ensure(m_collections);
        collections->setAmounts(typed);
        journal = collections;
        break;
    }
    case tb::JournalKind::Interest:
        journal = ensure(m_interest);
        break;
    case tb::JournalKind::Memento:
        journal = ensure(m_memento);
        break;
    }
    if (journal->openJournal(n, typed))
        m_ctx->dialogs.showModal(journal);
    else
        journal->close();
}

void Windows::openNote(const QString& path, const QString& summary)
{
    FFrance9* editor = ensure(m_noteEditor);
    editor->openNote(path, summary);
    m_ctx->dialogs.showModal(editor);
}

void Windows::openLetters(const QList<long long>& cards)
{
    m_ctx->dialogs.showModal(new FEnvoiLettres(*m_ctx, cards, m_parent));
}

void Windows::chooseAttachment(tb::Attachment kind, long long n)
{
    Ffrance23* browser = ensure(m_fileBrowser);
    browser->prepare(tb::attachmentPattern(kind), !tb::isPictureAttachment(kind), tb::attachmentBase(kind, n));
    m_ctx->dialogs.showModal(browser);
}

void Windows::choosePhoto(FFrance11* creation, long long n)
{
    Ffrance23* browser = ensure(m_fileBrowser);
    QObject::connect(browser, &Ffrance23::pictureChosen, creation, &FFrance11::takePhoto, Qt::UniqueConnection);
    browser->prepareChoice(tb::attachmentPattern(tb::Attachment::Photo), tb::attachmentBase(tb::Attachment::Photo, n));
    m_ctx->dialogs.showModal(browser);
}

void Windows::viewDocument(tb::Attachment kind, const QString& path)
{
    if (tb::isPictureAttachment(kind)) {
        Ffrance16* viewer = ensure(m_scanViewer);
        viewer->openDocument(path);
        m_ctx->dialogs.showModal(viewer);
    } else {
        Ffrancelic* viewer = ensure(m_textViewer);
        viewer->openDocument(path);
        m_ctx->dialogs.showModal(viewer);
    }
}

FFrance5* Windows::postalWindow() { return ensure(m_postal); }
FFrance11* Windows::creationWindow() { return ensure(m_creation); }
FFrance22* Windows::mapBrowser() { return ensure(m_mapBrowser); }
Ffrance29* Windows::databaseChooser() { return ensure(m_chooser); }
FFrance8* Windows::converter() { return ensure(m_converter); }
Ffrance17* Windows::ribWindow() { return ensure(m_rib); }
FIban* Windows::ibanWindow() { return ensure(m_iban); }
Ffrance7* Windows::calendar() { return ensure(m_calendar); }
Ffrance14* Windows::programPaths() { return ensure(m_programPaths); }
Ffrance28* Windows::zoneWindow() { return ensure(m_zones); }
FRappels* Windows::remindersWindow() { return ensure(m_reminders); }
FRappels* Windows::remindersWindowIfOpen() const { return isClosed(m_reminders) ? nullptr : m_reminders.data(); }
