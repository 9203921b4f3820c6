#include "cli/cli.h"
#include "cli/arguments.h"
#include "cli/search_command.h"

#include "core/base/number_text.h"
#include "core/base/paths.h"
#include "core/db/database.h"
#include "core/db/demo_database.h"
#include "core/db/program_folder.h"
#include "core/base/masks.h"
#include "core/base/numeric.h"
#include "core/cards/debt.h"
#include "core/journals/debtors.h"
#include "core/letters/letter_merge.h"
#include "core/letters/letters.h"
#include "core/journals/journal.h"
#include "core/journals/reminders.h"
#include "core/base/safe_write.h"
#include "core/db/backups.h"
#include "core/db/carddav_settings.h"
#include "core/exchange/card_import.h"
#include "core/exchange/csv.h"
#include "core/exchange/ods.h"
#include "core/exchange/vcard.h"
#include "core/lists/exports.h"
#include "core/lists/searches.h"
#include "core/mail/address_print.h"
#include "core/mail/sender_address.h"
#include "core/tools/amount_words.h"
#include "core/tools/iban.h"
#include "core/tools/rib_key.h"
#include "sync/card_sync.h"
#include "sync/password_store.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace cli {

namespace {

QString usageText();

int usage(const QString& problem)
{
    printError(problem);
    std::fputs(usageText().toUtf8().constData(), stderr);
    return kUsage;
}

// The entry of table that option names, or fallback when the option is
// absent. Nothing, with *problem said, when it names no entry (wrong + the
// word given) or is absent without a fallback (missing).
template <class T>
std::optional<T> namedOption(const Arguments& a, const QString& option, const std::map<QString, T>& table,
                             std::optional<T> fallback, const QString& wrong, QString* problem,
                             const QString& missing = {})
{
    const auto it = a.options.find(option);
    if (it == a.options.end()) {
        if (!fallback)
            *problem = missing;
        return fallback;
    }
    const auto entry = table.find(it->second);
    if (entry == table.end()) {
        *problem = wrong + it->second;
        return std::nullopt;
    }
    return entry->second;
}

// The whole number (0 or more, at most most) that option gives, as namedOption.
std::optional<quint64> wholeOption(const Arguments& a, const QString& option, std::optional<quint64> fallback,
                                   quint64 most, const QString& wrong, QString* problem, const QString& missing = {})
{
    const auto it = a.options.find(option);
    if (it == a.options.end()) {
        if (!fallback)
            *problem = missing;
        return fallback;
    }
    bool ok = false;
    const quint64 value = it->second.toULongLong(&ok);
    if (!ok || value > most || it->second.trimmed().startsWith(u'-')) {
        *problem = wrong + it->second;
        return std::nullopt;
    }
    return value;
}

// The text of an option, or "" when it is absent.
QString textOption(const Arguments& a, const QString& option)
{
    const auto it = a.options.find(option);
    return it == a.options.end() ? QString() : it->second;
}

QString databaseFolder(const QString& text)
{
    return tb::folderText(text);
}

// Commands that only read neither lock the database nor repair it; those that
// write take the lock, as Tabulon does.
tb::Result<std::unique_ptr<tb::Database>> openDatabase(const QString& text, tb::Database::Access access)
{
    auto db = tb::Database::open(databaseFolder(text), access);
    if (db && !db.value()->countCorrection().isEmpty())
        printError(QStringLiteral("Attention :") + db.value()->countCorrection());
    return db;
}

tb::Result<std::unique_ptr<tb::Database>> openReadOnly(const QString& text)
{
    return openDatabase(text, tb::Database::Access::ReadOnly);
}

// The amount due, a tab, the card's line as list shows it, a tab, its number;
// then the total.
int debtorsCommand(const Arguments& a)
{
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    const tb::Result<tb::DebtorList> list = tb::debtorList(*db.value());
    if (!list)
        return failed(list.error());
    Output out;
    for (const tb::Debtor& d : list->debtors)
        out << tb::pointForm(d.due) << "\t" << d.line << "\t" << tb::plainNumber(d.number) << "\n";
    out << "Total : " << tb::pointForm(list->total) << "\n";
    return kDone;
}

// The numbers of a list's cards, in its order.
tb::Result<QList<long long>> listNumbers(const tb::Result<tb::CardList>& list)
{
    if (!list)
        return list.error();
    QList<long long> out;
    out.reserve(list->size());
    for (int row = 0; row < list->size(); ++row)
        out.append(list->number(row));
    return out;
}

// "3,7,12" as card numbers; nothing, with *bad the word, when one is not a
// number from 1 to most.
std::optional<QList<long long>> cardNumbers(const QString& text, QString* bad,
                                            long long most = std::numeric_limits<long long>::max())
{
    QList<long long> out;
    for (const QString& word : text.split(u',')) {
        bool ok = false;
        const long long n = word.trimmed().toLongLong(&ok);
        if (!ok || n < 1 || n > most) {
            *bad = word;
            return std::nullopt;
        }
        out.append(n);
    }
    return out;
}

// One form letter per card into a PDF file: every active card in the
// alphabetical order, the cards named, or the debtors largest first. The
// fields a card lacks are said first, on the error output.
int lettersCommand(const Arguments& a)
{
    const QString name = textOption(a, QStringLiteral("--lettre"));
    const QString output = textOption(a, QStringLiteral("--output"));
    if (name.isEmpty() || output.isEmpty())
        return usage(QStringLiteral("--lettre et --output sont nécessaires"));
    const bool debtors = a.flags.contains(QStringLiteral("--debiteurs"));
    if (debtors && a.options.count(QStringLiteral("--numeros")))
        return usage(QStringLiteral("--numeros ou --debiteurs, pas les deux"));
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    QList<long long> cards;
    if (a.options.count(QStringLiteral("--numeros"))) {
        QString bad;
        const std::optional<QList<long long>> numbers =
            cardNumbers(textOption(a, QStringLiteral("--numeros")), &bad, db.value()->count());
        if (!numbers)
            return usage(QStringLiteral("numéro de fiche incorrect : ") + bad);
        cards = *numbers;
    } else if (debtors) {
        const tb::Result<tb::DebtorList> list = tb::debtorList(*db.value());
        if (!list)
            return failed(list.error());
        for (const tb::Debtor& d : list->debtors)
            cards.append(d.number);
    } else {
        const tb::Result<QList<long long>> all = listNumbers(db.value()->list(tb::ListKind::Alphabetical));
        if (!all)
            return failed(all.error());
        cards = *all;
    }
    const QString program = tb::resolveProgramFolder(textOption(a, QStringLiteral("--program-folder")), a.executableFolder);
    const tb::Result<QString> html = tb::loadLetter(program, name);
    if (!html)
        return failed(html.error());
    const tb::Result<tb::LetterMerge> merged = tb::mergeLetter(*db.value(), *html, cards);
    if (!merged)
        return failed(merged.error());
    for (const QString& line : tb::letterReport(*merged))
        printError(QStringLiteral("Attention : ") + line);
    if (tb::Status s = tb::writeLettersPdf(output, *merged); !s)
        return failed(s.error());
    Output out;
    out << tb::plainNumber(qsizetype(merged->letters.size())) << " lettre(s) écrite(s) dans " << output << "\n";
    return kDone;
}

int countCommand(const Arguments& a)
{
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    Output out;
    out << tb::plainNumber(db.value()->count()) << " fiche(s)\n";
    return kDone;
}

int listCommand(const Arguments& a)
{
    static const std::map<QString, tb::ListKind> kinds = {
        {QStringLiteral("alpha"), tb::ListKind::Alphabetical},
        {QStringLiteral("villes"), tb::ListKind::ByCity},
        {QStringLiteral("cp"), tb::ListKind::ByPostalCode},
        {QStringLiteral("archives"), tb::ListKind::Archived},
    };
    QString problem;
    const std::optional<tb::ListKind> kind = namedOption(a, QStringLiteral("--order"), kinds, {tb::ListKind::Alphabetical},
                                                         QStringLiteral("ordre inconnu : "), &problem);
    if (!kind)
        return usage(problem);
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    return printList(db.value()->list(*kind));
}

int searchCommand(const Arguments& a)
{
    QString problem;
    const std::optional<tb::SearchField> field =
        namedOption(a, QStringLiteral("--by"), searchFields(), {}, QStringLiteral("champ de recherche inconnu : "),
                    &problem, QStringLiteral("--by nom|cp|ville|fixe|portable est obligatoire"));
    if (!field)
        return usage(problem);
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    return printSearch(db.value()->store(), db.value()->count(), *field, a.positional[1]);
}

int zoneCommand(const Arguments& a)
{
    double corner[4] = {};
    for (int k = 0; k < 4; ++k) {
        bool ok = false;
        corner[k] = a.positional[k + 1].toDouble(&ok);
        if (!ok || !std::isfinite(corner[k]))
            return usage(QStringLiteral("coordonnée incorrecte : ") + a.positional[k + 1]);
    }
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    return printList(db.value()->cardsIn(tb::rectBetween(corner[0], corner[1], corner[2], corner[3])));
}

// vCard, CSV and spreadsheet files for other programs, written where the user says.
using ExchangeWriter = tb::Result<long long> (*)(const tb::Database&, const QString&, const tb::CardChoice&);

int exchangeExport(const Arguments& a, ExchangeWriter write)
{
    static const std::map<QString, bool> cards = {{QStringLiteral("actives"), false}, {QStringLiteral("toutes"), true}};
    const QString output = textOption(a, QStringLiteral("--output"));
    if (output.isEmpty())
        return usage(QStringLiteral("--output FICHIER est obligatoire pour ce format"));
    QString problem;
    const std::optional<bool> all = namedOption(a, QStringLiteral("--fiches"), cards, {false}, QString(), &problem);
    if (!all)
        return usage(QStringLiteral("--fiches actives|toutes"));
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    const QString path = QFileInfo(output).absoluteFilePath();
    const tb::Result<long long> written = write(*db.value(), path, *all);
    if (!written)
        return failed(written.error());
    Output out;
    out << tb::plainNumber(*written) << " fiche(s) écrite(s) dans " << path << "\n";
    return kDone;
}

int findCommand(const Arguments& a)
{
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    auto found = db.value()->search(a.positional.mid(1).join(u' '));
    if (!found)
        return failed(found.error());
    return printList(std::move(found->list));
}

int exportCommand(const Arguments& a)
{
    // The database's own text exports, or a file for other programs.
    enum class Format { Text, Addresses, VCard, Csv, Ods };
    static const std::map<QString, Format> formats = {
        {QStringLiteral("texte"), Format::Text},
        {QStringLiteral("adresses"), Format::Addresses},
        {QStringLiteral("vcard"), Format::VCard},
        {QStringLiteral("csv"), Format::Csv},
        {QStringLiteral("ods"), Format::Ods},
    };
    static const std::map<Format, ExchangeWriter> writers = {
        {Format::VCard, &tb::writeVCardFile}, {Format::Csv, &tb::writeCsvFile}, {Format::Ods, &tb::writeOdsFile}};
    QString problem;
    const std::optional<Format> chosen =
        namedOption(a, QStringLiteral("--format"), formats, {Format::Text}, QStringLiteral("format inconnu : "), &problem);
    if (!chosen)
        return usage(problem);
    if (const auto writer = writers.find(*chosen); writer != writers.end())
        return exchangeExport(a, writer->second);
    if (a.options.count(QStringLiteral("--output")) || a.options.count(QStringLiteral("--fiches")))
        return usage(QStringLiteral("--output et --fiches ne vont qu'avec --format vcard, csv ou ods"));
    const tb::ExportFormat format = *chosen == Format::Addresses ? tb::ExportFormat::Addresses : tb::ExportFormat::Fields;
    auto db = openDatabase(a.positional[0], tb::Database::Access::ReadWrite);
    if (!db)
        return failed(db.error());
    // As the menu: an empty database writes nothing.
    if (db.value()->count() == 0)
        return failed(tb::Error{tb::kNoErrorNumber, QStringLiteral(" Il n'y a aucune fiche dans la base de données !")});
    const tb::Result<QString> written = tb::writeExport(db.value()->store(), db.value()->count(), format);
    if (!written)
        return failed(written.error());
    Output out;
    out << *written << "\n";
    return kDone;
}

int importCommand(const Arguments& a)
{
    static const std::map<QString, tb::DuplicateChoice> choices = {
        {QStringLiteral("skip"), tb::DuplicateChoice::Skip},
        {QStringLiteral("create"), tb::DuplicateChoice::Create},
        {QStringLiteral("fill"), tb::DuplicateChoice::Fill},
    };
    QString problem;
    const std::optional<tb::DuplicateChoice> choice =
        namedOption(a, QStringLiteral("--duplicates"), choices, {tb::DuplicateChoice::Skip},
                    QStringLiteral("choix inconnu pour les doublons : "), &problem);
    if (!choice)
        return usage(problem);
    const QString file = a.positional[1];
    const bool vcard = file.endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive)
                       || file.endsWith(QStringLiteral(".vcard"), Qt::CaseInsensitive);
    if (!vcard && !file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return usage(QStringLiteral("fichier .vcf ou .csv attendu : ") + file);
    tb::ImportOptions options;
    if (auto p = a.options.find(QStringLiteral("--point")); p != a.options.end()) {
        const QStringList xy = p->second.split(u',');
        bool okX = false, okY = false;
        options.placement = {false, QPointF(xy.value(0).toDouble(&okX), xy.value(1).toDouble(&okY))};
        if (xy.size() != 2 || !okX || !okY)
            return usage(QStringLiteral("point incorrect (X,Y attendu) : ") + p->second);
    }
    auto opened = openDatabase(a.positional[0], tb::Database::Access::ReadWrite);
    if (!opened)
        return failed(opened.error());
    tb::Database& db = *opened.value();
    if (options.placement.byDepartment && !tb::usesDefaultMap(db))
        return usage(QStringLiteral("la base n'utilise pas la carte par défaut : --point X,Y est obligatoire"));
    const QString program = textOption(a, QStringLiteral("--program-folder"));
    options.programFolder = tb::folderText(a.options.count(QStringLiteral("--program-folder"))
                                               ? program
                                               : QDir::cleanPath(db.folder() + QStringLiteral("..")));
    const QStringList captions = tb::exchangeCaptions(db.captions());
    std::vector<tb::Contact> contacts;
    QStringList notes;
    if (vcard) {
        tb::VCardReading reading = tb::readVCardPath(file, captions);
        if (reading.error)
            return failed(*reading.error);
        contacts = std::move(reading.contacts);
        notes = std::move(reading.notes);
    } else {
        const tb::Result<QByteArray> bytes = tb::readFile(file);
        if (!bytes)
            return failed(bytes.error());
        auto read = tb::csvContacts(*bytes, captions, textOption(a, QStringLiteral("--columns")), &notes);
        if (!read)
            return failed(read.error());
        contacts = std::move(read).value();
    }
    const tb::ImportReport report = tb::importContacts(db, contacts, options, tb::alwaysAnswer(*choice));
    Output out;
    for (const QString& line : notes + report.notes)
        out << line << "\n";
    out << report.summary() << "\n";
    out.flush();
    if (report.error)
        return failed(*report.error);
    return kDone;
}

// Conflicts are left for the window to decide: a command line asks nothing.
int syncCommand(const Arguments& a)
{
    const QString prefix = QStringLiteral("Erreur de synchronisation : ");
    auto opened = openDatabase(a.positional[0], tb::Database::Access::ReadWrite);
    if (!opened)
        return failed(opened.error());
    tb::Database& db = *opened.value();
    tb::Result<tb::CardDavState> read = tb::readCardDavState(db.folder());
    if (!read)
        return failed(read.error());
    tb::CardDavState state = std::move(read).value();
    const bool newUrl = a.options.count(QStringLiteral("--url")), newUser = a.options.count(QStringLiteral("--user"));
    if (newUrl)
        tb::pointStateAt(state, textOption(a, QStringLiteral("--url")), QString());
    if (newUser)
        state.user = textOption(a, QStringLiteral("--user"));
    if (a.options.count(QStringLiteral("--insecure-certificate")))
        state.acceptedCertificate = textOption(a, QStringLiteral("--insecure-certificate")).remove(u':').toLower();
    if (!state.configured())
        return usage(QStringLiteral("aucun serveur n'est connu pour cette base : --url URL --user NOM"));
    if (newUrl || newUser || a.options.count(QStringLiteral("--insecure-certificate")))
        if (tb::Status s = tb::writeCardDavState(db.folder(), state); !s)
            return failed(s.error());

    tb::SyncOptions options;
    if (!tb::usesDefaultMap(db)) {
        if (!state.newContactsPoint)
            return failed(tb::Error{tb::kNoErrorNumber,
                                    prefix + QStringLiteral("la base n'utilise pas la carte par défaut : choisissez dans "
                                                            "Tabulon le point où épingler les nouveaux contacts")});
        options.placement = {false, *state.newContactsPoint};
    }
    QString password = qEnvironmentVariable("TABULON_CARDDAV_PASSWORD");
    if (password.isEmpty()) {
        const tb::Result<QString> kept = tb::readSyncPassword(state.server, state.user);
        if (!kept)
            return failed(tb::Error{tb::kNoErrorNumber,
                                    prefix + QStringLiteral("pas de mot de passe (TABULON_CARDDAV_PASSWORD ou trousseau) : ")
                                        + kept.error().message()});
        password = *kept;
    }
    options.server = {QUrl::fromUserInput(state.addressBook.isEmpty() ? state.server : state.addressBook), state.user,
                      password, state.acceptedCertificate};
    options.programFolder = tb::folderText(QDir::cleanPath(db.folder() + QStringLiteral("..")));
    const tb::SyncReport report = tb::synchronize(db, options);
    Output out;
    for (const QString& line : report.notes)
        out << line << "\n";
    QString status;
    if (report.error) {
        status = report.error->message();
        if (!status.startsWith(prefix))
            status = prefix + status;
    } else {
        out << tb::countText(report.sent) << " fiche(s) envoyée(s)\n"
            << tb::countText(report.received) << " reçue(s) (dont " << tb::countText(report.created)
            << " nouvelle(s))\n"
            << tb::countText(report.trashed) << " mise(s) à la corbeille\n"
            << tb::countText(report.deletedThere) << " supprimée(s) sur le serveur\n"
            << tb::countText(report.conflicts) << " en conflit\n";
    }
    out.flush();
    if (report.error)
        return failed(tb::Error{tb::kNoErrorNumber, status});
    if (report.conflicts > 0) {
        printError(tb::countText(report.conflicts)
                   + QStringLiteral(" fiche(s) modifiée(s) des deux côtés : à décider dans Tabulon (Fichier, "
                                    "Synchronisation CardDAV…)"));
        return kFailed;
    }
    return kDone;
}

int backupCommand(const Arguments& a)
{
    // Under the lock, so that no other program writes while the folder is copied.
    auto db = openDatabase(a.positional[0], tb::Database::Access::ReadWrite);
    if (!db)
        return failed(db.error());
    const tb::Result<QString> made =
        tb::backupToDatedFolder(*db.value(), QFileInfo(a.positional[1]).absoluteFilePath(), QDateTime::currentDateTime());
    if (!made)
        return failed(made.error());
    Output out;
    out << *made << "\n";
    return kDone;
}

int trashCommand(const Arguments& a)
{
    const auto restore = a.options.find(QStringLiteral("--restore"));
    if (restore == a.options.end()) {
        auto db = openReadOnly(a.positional[0]);
        if (!db)
            return failed(db.error());
        const auto entries = db.value()->trash().entries();
        if (!entries)
            return failed(entries.error());
        Output out;
        for (const tb::TrashEntry& e : *entries)
            out << tb::trashListLine(e) << "\n";
        return kDone;
    }
    bool ok = false;
    const int entry = restore->second.toInt(&ok);
    if (!ok || entry < 1)
        return usage(QStringLiteral("numéro d'entrée incorrect : ") + restore->second);
    auto db = openDatabase(a.positional[0], tb::Database::Access::ReadWrite);
    if (!db)
        return failed(db.error());
    const tb::Result<long long> n = db.value()->restoreFromTrash(entry);
    if (!n)
        return failed(n.error());
    Output out;
    out << tb::plainNumber(*n) << "\n";
    return kDone;
}

int showCommand(const Arguments& a)
{
    bool ok = false;
    const long long n = a.positional[1].toLongLong(&ok);
    if (!ok)
        return usage(QStringLiteral("numéro de fiche incorrect : ") + a.positional[1]);
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    const long long count = db.value()->count();
    if (n < 1 || n > count)
        return failed(tb::Error{tb::kErrorPathAccess, QStringLiteral("la fiche n° ") + tb::plainNumber(n)
                                                          + QStringLiteral(" n'existe pas (la base contient ")
                                                          + tb::plainNumber(count) + QStringLiteral(" fiche(s))")});
    const tb::Result<CardRecord> card = db.value()->card(n);
    if (!card)
        return failed(card.error());
    Output out;
    for (tb::CardField k = tb::kFieldFirst; k <= tb::kFieldLast; ++k)
        out << QString::number(k) << "\t" << card->field(k) << "\n";
    return kDone;
}

int demoCommand(const Arguments& a)
{
    QString problem;
    const std::optional<quint64> cards =
        wholeOption(a, QStringLiteral("--cards"), {}, quint64(std::numeric_limits<long long>::max()),
                    QStringLiteral("nombre de fiches incorrect : "), &problem,
                    QStringLiteral("--cards N est obligatoire"));
    if (!cards)
        return usage(problem);
    const std::optional<quint64> seed = wholeOption(a, QStringLiteral("--seed"), {1}, std::numeric_limits<quint64>::max(),
                                                    QStringLiteral("graine incorrecte : "), &problem);
    if (!seed)
        return usage(problem);
    const bool programGiven = a.options.count(QStringLiteral("--program-folder"));
    const QString& executableFolder = a.executableFolder;
    QString target = a.positional[0];
    QString programFolder;
    QString name;
    if (target.contains(u'/')) {
        if (programGiven)
            return usage(QStringLiteral("--program-folder ne va qu'avec un nom de base, pas avec un chemin"));
        while (target.size() > 1 && target.endsWith(u'/'))
            target.chop(1);
        const QFileInfo info(QDir::cleanPath(QDir(target).absolutePath()));
        name = info.fileName();
        programFolder = tb::resolveProgramFolder(info.absolutePath(), executableFolder);
    } else {
        name = target;
        programFolder = tb::resolveProgramFolder(textOption(a, QStringLiteral("--program-folder")), executableFolder);
    }
    QList<tb::Error> templateErrors;
    auto db = tb::createDemoDatabase(programFolder, name, static_cast<long long>(*cards), *seed, &templateErrors);
    if (!db)
        return failed(db.error());
    for (const tb::Error& e : templateErrors)
        printError(QStringLiteral("Attention : ") + e.message());
    Output out;
    out << db.value()->folder() << "\t" << tb::plainNumber(db.value()->count()) << " fiche(s)\n";
    return kDone;
}

const QStringList kJournalFlags = {QStringLiteral("--recouvrements"), QStringLiteral("--interets"),
                                   QStringLiteral("--memento")};

int journalCommand(const Arguments& a)
{
    // The journal is chosen by its option alone, in the order of kJournalFlags.
    static const tb::JournalKind kinds[] = {tb::JournalKind::Collections, tb::JournalKind::Interest,
                                            tb::JournalKind::Memento};
    if (a.flags.size() > 1)
        return usage(QStringLiteral("un seul journal à la fois"));
    if (a.flags.isEmpty())
        return usage(QStringLiteral("journal manquant : --recouvrements, --interets ou --memento"));
    const std::optional<tb::JournalKind> kind = kinds[kJournalFlags.indexOf(a.flags[0])];
    const QStringList& positional = a.positional;
    bool ok = false;
    const long long n = positional[1].toLongLong(&ok);
    if (!ok)
        return usage(QStringLiteral("numéro de fiche incorrect : ") + positional[1]);
    auto db = openReadOnly(positional[0]);
    if (!db)
        return failed(db.error());
    const long long count = db.value()->count();
    if (n < 1 || n > count)
        return failed(tb::Error{tb::kErrorPathAccess, QStringLiteral("la fiche n° ") + tb::plainNumber(n)
                                                          + QStringLiteral(" n'existe pas (la base contient ")
                                                          + tb::plainNumber(count) + QStringLiteral(" fiche(s))")});
    const tb::Result<tb::Journal> journal = tb::Journal::open(*db.value(), n, *kind);
    if (!journal)
        return failed(journal.error());
    Output out;
    for (const QString& line : journal->entries())
        out << line << "\n";
    const auto shown = [](double v) { return tb::formatMask(v, QStringLiteral("##################.00")); };
    const double total = journal->total();
    if (*kind == tb::JournalKind::Collections) {
        // The amount to collect as the card window hands it over: after the debt calculation.
        const CardRecord& card = journal->card();
        const double toCollect =
            tb::numericValue(tb::debtCalculation(card.field(tb::kFieldOwed), card.field(tb::kFieldInterestOwed), card.field(tb::kFieldThirdOwed), card.field(tb::kFieldCollected))[3]);
        // Shown in point form, as the card window hands it over.
        out << "Montant à recouvrer\t" << tb::pointForm(toCollect) << "\n";
        out << "Total des recouvrements\t" << shown(total) << "\n";
        out << "Montant restant dû\t" << shown(toCollect - total) << "\n";
    } else if (*kind == tb::JournalKind::Interest) {
        out << "Total des intérêts\t" << shown(total) << "\n";
    }
    return kDone;
}

int remindersCommand(const Arguments& a)
{
    QString problem;
    const tb::ReminderSettings defaults;
    const auto days = [&](const char* option, int fallback) {
        return wholeOption(a, QString::fromLatin1(option), {quint64(fallback)}, tb::ReminderSettings::kMostDays,
                           QStringLiteral("nombre de jours incorrect : "), &problem);
    };
    const std::optional<quint64> ahead = days("--ahead", defaults.ahead);
    const std::optional<quint64> back = ahead ? days("--back", defaults.back) : std::nullopt;
    if (!ahead || !back)
        return usage(problem);
    QDate today = QDate::currentDate();
    if (a.options.count(QStringLiteral("--today"))) {
        const QString given = textOption(a, QStringLiteral("--today"));
        today = QDate::fromString(given, QStringLiteral("dd/MM/yyyy"));
        if (!today.isValid())
            return usage(QStringLiteral("date incorrecte (jj/mm/aaaa attendu) : ") + given);
    }
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    const tb::Database& base = *db.value();
    const auto found = tb::gatherReminders(base.store(), base.count(), base.captions(), today,
                                           {int(*ahead), int(*back)});
    if (!found)
        return failed(found.error());
    Output out;
    for (const tb::Reminder& r : *found)
        out << r.date.toString(QStringLiteral("dd/MM/yyyy")) << "\t" << tb::plainNumber(r.card) << "\t" << r.text
            << "\n";
    return kDone;
}

int wordsCommand(const Arguments& a)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(a.positional[0]).hasMatch())
        return usage(QStringLiteral("nombre entier incorrect : ") + a.positional[0]);
    const QString words = tb::SomLettr(QStringView(a.positional[0]));
    if (words == QLatin1String("Une Erreur !")) {
        printError(words);
        return kFailed;
    }
    Output out;
    out << words << "\n";
    return kDone;
}

int ribCommand(const Arguments& a)
{
    const auto key = tb::ribKey(a.positional[0], a.positional[1], a.positional[2]);
    if (!key)
        return failed(key.error());
    // The window shows nothing then; a command must say why it gives no key.
    if (!key.value())
        return failed(tb::Error{tb::kNoErrorNumber, QStringLiteral("Pas de clé pour un code banque ou guichet nul")});
    Output out;
    out << QString::number(*key.value()) << "\n";
    return kDone;
}

const QString kProgramFolder = QStringLiteral("--program-folder");

// The cards a labels command prints: those numbered, found or in a zone, or
// every active card in name order.
tb::Result<QList<long long>> labelCards(const Arguments& a, const tb::Database& db, QString* problem)
{
    const QString numbers = textOption(a, QStringLiteral("--numeros"));
    const QString words = textOption(a, QStringLiteral("--find"));
    const QString zone = textOption(a, QStringLiteral("--zone"));
    if (int(!numbers.isEmpty()) + int(!words.isEmpty()) + int(!zone.isEmpty()) > 1) {
        *problem = QStringLiteral("--numeros, --find et --zone ne vont pas ensemble");
        return QList<long long>();
    }
    if (!numbers.isEmpty()) {
        const std::optional<QList<long long>> out = cardNumbers(numbers, problem);
        if (!out) {
            *problem = QStringLiteral("numéro de fiche incorrect : ") + *problem;
            return QList<long long>();
        }
        for (long long n : *out)
            if (n > db.count())
                return tb::Error{tb::kErrorPathAccess, QStringLiteral("la fiche n° ") + tb::plainNumber(n)
                                                           + QStringLiteral(" n'existe pas (la base contient ")
                                                           + tb::plainNumber(db.count()) + QStringLiteral(" fiche(s))")};
        return *out;
    }
    if (!words.isEmpty()) {
        auto found = db.search(words);
        if (!found)
            return found.error();
        return listNumbers(found->list);
    }
    if (!zone.isEmpty()) {
        const QStringList t = zone.split(u',');
        double c[4] = {};
        bool ok = t.size() == 4;
        for (int k = 0; ok && k < 4; ++k)
            c[k] = t[k].toDouble(&ok);
        if (!ok) {
            *problem = QStringLiteral("zone incorrecte (X1,Y1,X2,Y2 attendu) : ") + zone;
            return QList<long long>();
        }
        return listNumbers(db.cardsIn(tb::rectBetween(c[0], c[1], c[2], c[3])));
    }
    return listNumbers(db.list(tb::ListKind::Alphabetical));
}

// The database and the address blocks of the cards a labels or envelopes
// command prints, its remarks on the error output; nothing, with *exit set,
// when it cannot run.
struct Printed {
    std::unique_ptr<tb::Database> db;
    tb::AddressBlocks blocks;
};
std::optional<Printed> printedBlocks(const Arguments& a, int* exit)
{
    auto opened = openReadOnly(a.positional[0]);
    if (!opened) {
        *exit = failed(opened.error());
        return std::nullopt;
    }
    const tb::Database& db = *opened.value();
    QString problem;
    const tb::Result<QList<long long>> cards = labelCards(a, db, &problem);
    if (!problem.isEmpty()) {
        *exit = usage(problem);
        return std::nullopt;
    }
    if (!cards) {
        *exit = failed(cards.error());
        return std::nullopt;
    }
    tb::Result<tb::AddressBlocks> blocks = tb::addressBlocks(db, *cards, a.flags.contains(QStringLiteral("--archivees")));
    if (!blocks) {
        *exit = failed(blocks.error());
        return std::nullopt;
    }
    for (const QString& line : blocks->report)
        printError(QStringLiteral("Attention : ") + line);
    if (blocks->blocks.empty()) {
        *exit = failed(tb::Error{tb::kNoErrorNumber, QStringLiteral("Aucune adresse à imprimer")});
        return std::nullopt;
    }
    return Printed{std::move(opened).value(), std::move(blocks).value()};
}

// Writes the pages of blocks into the --output file and says how many.
int writePages(const QString& output, const QString& title, const tb::AddressBlocks& blocks, const char* what,
               const std::function<tb::Result<int>(QPagedPaintDevice&)>& print)
{
    const QString path = QFileInfo(output).absoluteFilePath();
    const tb::Result<int> pages = tb::writePdf(path, title, print);
    if (!pages)
        return failed(pages.error());
    Output out;
    out << tb::plainNumber(qsizetype(blocks.blocks.size())) << " " << what << " sur " << QString::number(*pages)
        << " page(s) dans " << path << "\n";
    return kDone;
}

int labelsCommand(const Arguments& a)
{
    const QString output = textOption(a, QStringLiteral("--output"));
    if (output.isEmpty())
        return usage(QStringLiteral("--output FICHIER.pdf est obligatoire"));
    const auto sheetId = a.options.find(QStringLiteral("--sheet"));
    const tb::LabelSheet* sheet =
        tb::labelSheetById(sheetId == a.options.end() ? QStringLiteral("L7160") : sheetId->second);
    if (!sheet)
        return usage(QStringLiteral("planche inconnue : ") + sheetId->second);
    QString problem;
    const std::optional<quint64> start = wholeOption(a, QStringLiteral("--start"), {1}, quint64(sheet->perSheet()),
                                                     QStringLiteral("n° d'étiquette incorrect : "), &problem);
    if (!start || *start < 1)
        return usage(problem.isEmpty() ? QStringLiteral("n° d'étiquette incorrect : 0") : problem);
    int exit = kDone;
    const std::optional<Printed> printed = printedBlocks(a, &exit);
    if (!printed)
        return exit;
    const tb::AddressBlocks& blocks = printed->blocks;
    return writePages(output, QStringLiteral("Étiquettes"), blocks, "étiquette(s)", [&](QPagedPaintDevice& device) {
        return tb::printLabels(device, *sheet, int(*start), blocks.blocks);
    });
}

int envelopesCommand(const Arguments& a)
{
    const QString output = textOption(a, QStringLiteral("--output"));
    if (output.isEmpty())
        return usage(QStringLiteral("--output FICHIER.pdf est obligatoire"));
    const auto format = a.options.find(QStringLiteral("--format"));
    const tb::Envelope* envelope = tb::envelopeByName(format == a.options.end() ? QStringLiteral("DL") : format->second);
    if (!envelope)
        return usage(QStringLiteral("format d'enveloppe inconnu : ") + format->second);
    int exit = kDone;
    const std::optional<Printed> printed = printedBlocks(a, &exit);
    if (!printed)
        return exit;
    const tb::AddressBlocks& blocks = printed->blocks;
    QStringList sender;
    if (a.flags.contains(QStringLiteral("--expediteur"))) {
        const QString program = a.options.count(kProgramFolder) ? tb::folderText(textOption(a, kProgramFolder))
                                                                : tb::folderText(QDir::cleanPath(printed->db->folder() + QStringLiteral("..")));
        sender = tb::readSenderAddress(program);
        if (sender.isEmpty())
            return failed(tb::Error{tb::kNoErrorNumber, QStringLiteral("Pas d'expéditeur : ") + tb::senderFile(program)
                                                            + QStringLiteral(" est absent ou vide")});
    }
    return writePages(output, QStringLiteral("Enveloppes"), blocks, "enveloppe(s)", [&](QPagedPaintDevice& device) {
        return tb::printEnvelopes(device, *envelope, sender, blocks.blocks);
    });
}

// One row per command: what it takes, its lines in the usage text (the
// synopsis after its name, then its help; "\n" starts a new line) and what runs it.
struct Command {
    QString name;
    Syntax syntax;
    bool database;  // its first argument is a database folder
    const char* synopsis;
    const char* help;
    int (*handler)(const Arguments&);
};

// The groups of four may come as separate arguments.
int ibanCommand(const Arguments& a)
{
    const tb::Result<tb::IbanCheck> check = tb::checkIban(a.positional.join(u' '));
    if (!check)
        return failed(check.error());
    Output out;
    out << "IBAN valide\n";
    if (check->french)
        out << tb::frenchIbanParts(*check) << "\n";
    return kDone;
}

int checkCommand(const Arguments& a)
{
    Output out;
    return checkDatabase(databaseFolder(a.positional[0]),
                         tb::folderText(a.options.count(QStringLiteral("--program-folder"))
                                            ? textOption(a, QStringLiteral("--program-folder"))
                                            : a.executableFolder),
                         out);
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {QStringLiteral("count"), {1, {}}, true, "BASE", "nombre de fiches (« 12 fiche(s) »)", countCommand},
        {QStringLiteral("list"), {1, {QStringLiteral("--order")}}, true, "BASE [--order alpha|villes|cp|archives]",
         "les lignes de la liste dans son ordre (alpha par défaut) :\n"
         "la ligne affichée, une tabulation, le numéro de la fiche",
         listCommand},
        {QStringLiteral("debtors"), {1, {}}, true, "BASE",
         "les fiches actives dont le reste dû (champ 20) est positif, du plus\n"
         "grand au plus petit : le reste dû, une tabulation, la ligne comme\n"
         "list l'affiche, une tabulation, le numéro ; puis \"Total : \" et la somme",
         debtorsCommand},
        {QStringLiteral("letters"),
         {1, {QStringLiteral("--lettre"), QStringLiteral("--output"), QStringLiteral("--numeros"), kProgramFolder},
          {QStringLiteral("--debiteurs")}},
         true, "BASE --lettre NOM --output FICHIER.pdf\n[--numeros 3,7,12 | --debiteurs] [--program-folder DOSSIER]",
         "la lettre type NOM (dossier « Lettres » du programme) pour chaque\n"
         "fiche active dans l'ordre alphabétique, pour les fiches N ou pour\n"
         "les débiteurs, une par page A4 dans FICHIER.pdf ; les champs vides\n"
         "d'une fiche sont signalés sur la sortie d'erreur",
         lettersCommand},
        {QStringLiteral("search"), searchSyntax(), true, "BASE --by nom|cp|ville|fixe|portable TEXTE",
         "les fiches dont le champ commence par TEXTE (tel qu'il est écrit,\n"
         "majuscules comprises ; \"\" pour toutes), comme list les affiche",
         searchCommand},
        {QStringLiteral("find"), {kOneOrMore, {}}, true, "BASE MOTS...",
         "les fiches qui contiennent chacun des mots dans l'un de leurs champs,\n"
         "sans tenir compte des accents ni des majuscules (chiffres lus sans\n"
         "les blancs qui les séparent), comme la boîte de recherche les liste",
         findCommand},
        {QStringLiteral("zone"), {5, {}}, true, "BASE X1 Y1 X2 Y2",
         "les fiches actives épinglées strictement à l'intérieur du rectangle\n"
         "de coins (X1, Y1) et (X2, Y2), donnés dans n'importe quel ordre\n"
         "(pixels de la carte), par numéro croissant, comme list les affiche",
         zoneCommand},
        {QStringLiteral("export"), {1, {QStringLiteral("--format"), QStringLiteral("--output"), QStringLiteral("--fiches")}},
         true, "BASE [--format texte|adresses|vcard|csv|ods]\n[--output FICHIER] [--fiches actives|toutes]",
         "texte (par défaut) ou adresses : écrit « export.txt » ou « adresses.txt »\n"
         "dans la base, comme le menu, et affiche son chemin ;\n"
         "vcard, csv ou ods : écrit les fiches actives (ou toutes) dans FICHIER\n"
         "(obligatoire) en vCard 3.0, en CSV (UTF-8, une ligne d'intitulés) ou en\n"
         "classeur OpenDocument (codes postaux et téléphones en texte, montants\n"
         "en nombres) et affiche le nombre de fiches",
         exportCommand},
        {QStringLiteral("import"), {2, {QStringLiteral("--duplicates"), QStringLiteral("--point"), kProgramFolder, QStringLiteral("--columns")}},
         true,
         "BASE FICHIER.vcf|FICHIER.csv [--duplicates skip|create|fill] [--point X,Y]\n"
         "[--program-folder DOSSIER] [--columns CHAMP=COLONNE,...]",
         "crée une fiche par contact ; un doublon d'une fiche déjà là (même nom,\n"
         "prénoms et code postal, même e-mail ou même portable) est ignoré\n"
         "(skip, par défaut), créé quand même (create) ou complète les champs\n"
         "vides de la fiche existante (fill). Les épingles\n"
         "vont près du département sur la carte par défaut, sinon au point X,Y\n"
         "(obligatoire). La base est d'abord sauvegardée dans\n"
         "DOSSIER/Sauvegardes/ (DOSSIER : celui qui contient la base par défaut).\n"
         "Un CSV sans intitulé connu demande --columns : le champ de fiche (2 à\n"
         "20) que remplit chaque colonne (à partir de 1), ex. --columns 3=1,10=2",
         importCommand},
        {QStringLiteral("sync"),
         {1, {QStringLiteral("--url"), QStringLiteral("--user"), QStringLiteral("--insecure-certificate")}},
         true, "BASE [--url URL --user NOM] [--insecure-certificate SHA256]",
         "synchronise la base avec son carnet d'adresses CardDAV : URL (le\n"
         "carnet, ou le serveur où le trouver) et NOM sont gardés avec la base ;\n"
         "le mot de passe vient de TABULON_CARDDAV_PASSWORD ou du trousseau ;\n"
         "--insecure-certificate accepte ce certificat (empreinte SHA-256).\n"
         "Affiche ce qui est envoyé, reçu, mis à la corbeille, en conflit ; code 1\n"
         "en cas d'échec ou de fiche modifiée des deux côtés (laissée en conflit)",
         syncCommand},
        {QStringLiteral("backup"), {2, {}}, true, "BASE DOSSIER",
         "copie la base dans un sous-dossier daté de DOSSIER, affiche son chemin", backupCommand},
        {QStringLiteral("trash"), {1, {QStringLiteral("--restore")}}, true, "BASE [--restore N]",
         "les fiches de la corbeille, une par ligne : numéro de l'entrée,\n"
         "tabulation, date de suppression (jj/mm/aaaa), tabulation, la ligne\n"
         "de la fiche comme list l'affiche ; avec --restore, l'entrée N revient\n"
         "comme fiche suivante et son numéro est affiché",
         trashCommand},
        {QStringLiteral("show"), {2, {}}, true, "BASE N",
         "les 20 champs de la fiche N : numéro du champ, tabulation, champ", showCommand},
        {QStringLiteral("check"), {1, {kProgramFolder}}, true, "BASE [--program-folder DOSSIER]",
         "contrôle de la base, sans rien y écrire ; code 1 s'il y a des erreurs", checkCommand},
        {QStringLiteral("demo"), {1, {QStringLiteral("--cards"), QStringLiteral("--seed"), kProgramFolder}}, true,
         "BASE --cards N [--seed S] [--program-folder DOSSIER]",
         "crée une base de démonstration de N fiches comme « Création d'une\n"
         "nouvelle base de données », toujours la même pour une même graine\n"
         "(S, 1 par défaut). Sans \"/\", BASE est un nom : la base est créée dans\n"
         "le dossier du programme (DOSSIER, ou celui du programme installé).\n"
         "Avec \"/\", BASE est un chemin : son dossier parent sert de dossier du\n"
         "programme et reçoit les fichiers du programme qui lui manquent (carte,\n"
         "modèles, annuaire) ; --program-folder n'est alors pas permis.\n"
         "Aucun fichier annexe n'est créé pour les fiches.",
         demoCommand},
        {QStringLiteral("journal"), {2, {}, kJournalFlags}, true, "BASE N --recouvrements|--interets|--memento",
         "les lignes du journal de la fiche N comme la fenêtre les liste,\n"
         "puis les totaux qu'elle affiche (montants du journal de la fiche)",
         journalCommand},
        {QStringLiteral("labels"),
         {1, {QStringLiteral("--sheet"), QStringLiteral("--output"), QStringLiteral("--numeros"), QStringLiteral("--find"),
              QStringLiteral("--zone"), QStringLiteral("--start")},
          {QStringLiteral("--archivees")}},
         true,
         "BASE --output FICHIER.pdf [--sheet L7160|L7161|L7162|L7163|70x37|70x42.3]\n"
         "[--numeros 3,7,12 | --find \"MOTS\" | --zone X1,Y1,X2,Y2] [--start N] [--archivees]",
         "étiquettes d'adresse sur planches A4 (L7160 par défaut) : les fiches\n"
         "numérotées, trouvées comme find ou épinglées dans la zone, toutes les\n"
         "fiches actives sinon ; les archivées seulement avec --archivees ;\n"
         "la première à l'étiquette N de la planche. Les lignes trop longues\n"
         "(plus de 38 caractères) sont coupées et signalées",
         labelsCommand},
        {QStringLiteral("envelopes"),
         {1, {QStringLiteral("--format"), QStringLiteral("--output"), QStringLiteral("--numeros"), QStringLiteral("--find"),
              QStringLiteral("--zone"), kProgramFolder},
          {QStringLiteral("--archivees"), QStringLiteral("--expediteur")}},
         true,
         "BASE --output FICHIER.pdf [--format DL|C5|C6] [--numeros 3,7,12 |\n"
         "--find \"MOTS\" | --zone X1,Y1,X2,Y2] [--archivees] [--expediteur]\n"
         "[--program-folder DOSSIER]",
         "une enveloppe par fiche (DL par défaut), choisies comme pour labels ;\n"
         "avec --expediteur, l'adresse de « expediteur.txt » du dossier du\n"
         "programme (DOSSIER, ou celui qui contient la base) en haut à gauche",
         envelopesCommand},
        {QStringLiteral("reminders"), {1, {QStringLiteral("--ahead"), QStringLiteral("--back"), QStringLiteral("--today")}},
         true, "BASE [--ahead N] [--back N] [--today jj/mm/aaaa]",
         "les rappels du jour (aujourd'hui ou la date --today) : les lignes\n"
         "du mémento des fiches actives datées des N jours à venir (7 par défaut)\n"
         "et des N jours passés (0 par défaut), et les anniversaires quand une\n"
         "rubrique est « Date de naissance » ; une ligne par rappel, du plus\n"
         "ancien au plus récent : la date (jj/mm/aaaa), une tabulation, le\n"
         "numéro de la fiche, une tabulation, l'annotation (ou « Anniversaire »)",
         remindersCommand},
        {QStringLiteral("words"), {1, {}}, false, "N", "le nombre entier N en toutes lettres (« Vingt un »)",
         wordsCommand},
        {QStringLiteral("rib"), {3, {}}, false, "BANQUE GUICHET COMPTE",
         "la clé RIB d'un code banque (5), d'un code guichet (5)\n"
         "et d'un numéro de compte (11 caractères)",
         ribCommand},
        {QStringLiteral("iban"), {kOneOrMore, {}}, false, "IBAN",
         "contrôle d'un IBAN (blancs permis) ; pour un IBAN français, affiche\n"
         "aussi la banque, le guichet, le compte et la clé RIB",
         ibanCommand},
    };
    return table;
}

// A command's lines: its synopsis, then its help from the help column on
// (on the next line when the synopsis reaches it).
QString usageLines(const Command& c)
{
    constexpr int kHelpColumn = 30;
    const QString indent(kHelpColumn, u' ');
    const QStringList synopsis = QString::fromUtf8(c.synopsis).split(u'\n');
    const QStringList help = QString::fromUtf8(c.help).split(u'\n');
    QString out = QStringLiteral("  ") + c.name + u' ' + synopsis[0];
    for (qsizetype i = 1; i < synopsis.size(); ++i)
        out += u'\n' + indent + synopsis[i];
    if (synopsis.size() == 1 && out.size() < kHelpColumn)
        out = out.leftJustified(kHelpColumn) + help[0];
    else
        out += u'\n' + indent + help[0];
    for (qsizetype i = 1; i < help.size(); ++i)
        out += u'\n' + indent + help[i];
    return out + u'\n';
}

QString usageText()
{
    QString text = QStringLiteral("Usage : tabulon-cli COMMANDE BASE [options]\n"
                                  "BASE est le dossier d'une base de données (avec ou sans \"/\" final).\n"
                                  "tabulon-cli --help (ou -h) affiche cette aide ; tabulon-cli COMMANDE --help, "
                                  "celle de la commande.\n\n");
    for (const Command& c : commands())
        text += usageLines(c);
    return text + QStringLiteral(
               "\nCodes de sortie : 0 réussite, 1 échec (message sur la sortie d'erreur), 2 erreur d'utilisation.\n");
}

bool asksForHelp(const QString& arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

}  // namespace

bool drawsPages(const QStringList& args)
{
    return !args.isEmpty() && (args[0] == QLatin1String("labels") || args[0] == QLatin1String("envelopes")
                               || args[0] == QLatin1String("letters"))
           && !std::any_of(args.begin(), args.end(), asksForHelp);
}

int run(const QStringList& args, const QString& executableFolder)
{
    if (args.isEmpty())
        return usage(QStringLiteral("commande manquante"));
    const QString& name = args[0];
    if (asksForHelp(name)) {
        Output() << usageText();
        return kDone;
    }
    const std::vector<Command>& table = commands();
    const auto command = std::find_if(table.begin(), table.end(), [&](const Command& c) { return c.name == name; });
    if (command == table.end())
        return usage(QStringLiteral("commande inconnue : ") + name);
    if (args.size() == 2 && asksForHelp(args[1])) {
        Output() << usageLines(*command);
        return kDone;
    }
    Arguments a;
    a.executableFolder = executableFolder;
    if (const QString problem = parse(args.mid(1), command->syntax, &a); !problem.isEmpty())
        return usage(problem);
    const int wanted = command->syntax.arguments;
    if (wanted == kOneOrMore ? a.positional.isEmpty() : a.positional.size() != wanted)
        return usage(QStringLiteral("nombre d'arguments incorrect pour ") + name);
    if (command->database && a.positional[0].isEmpty())
        return usage(QStringLiteral("base de données manquante"));
    return command->handler(a);
}

}  // namespace cli
