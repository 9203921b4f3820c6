#include "cli/cli.h"

#include "core/base/number_text.h"
#include "core/base/paths.h"
#include "core/db/database.h"
#include "core/db/demo_database.h"
#include "core/db/program_folder.h"
#include "core/base/masks.h"
#include "core/base/numeric.h"
#include "core/cards/debt.h"
#include "core/journals/journal.h"
#include "core/base/safe_write.h"
#include "core/db/backups.h"
#include "core/exchange/card_import.h"
#include "core/exchange/csv.h"
#include "core/exchange/ods.h"
#include "core/exchange/vcard.h"
#include "core/lists/exports.h"
#include "core/lists/searches.h"
#include "core/tools/amount_words.h"
#include "core/tools/rib_key.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace cli {

namespace {

const char* const kUsageText =
    "Usage : tabulon-cli COMMANDE BASE [options]\n"
    "BASE est le dossier d'une base de données (avec ou sans \"/\" final).\n"
    "\n"
    "  count BASE                  nombre de fiches (« 12 fiche(s) »)\n"
    "  list BASE [--order alpha|villes|cp|archives]\n"
    "                              les lignes de la liste dans son ordre (alpha par défaut) :\n"
    "                              la ligne affichée, une tabulation, le numéro de la fiche\n"
    "  search BASE --by nom|cp|ville|fixe|portable TEXTE\n"
    "                              les fiches dont le champ commence par TEXTE (tel qu'il est écrit,\n"
    "                              majuscules comprises ; \"\" pour toutes), comme list les affiche\n"
    "  find BASE MOTS...            les fiches qui contiennent chacun des mots dans l'un de leurs champs,\n"
    "                              sans tenir compte des accents ni des majuscules (chiffres lus sans\n"
    "                              les blancs qui les séparent), comme la boîte de recherche les liste\n"
    "  zone BASE X1 Y1 X2 Y2       les fiches actives épinglées strictement à l'intérieur du rectangle\n"
    "                              de coins (X1, Y1) et (X2, Y2), donnés dans n'importe quel ordre\n"
    "                              (pixels de la carte), par numéro croissant, comme list les affiche\n"
    "  export BASE [--format texte|adresses]\n"
    "                              écrit « export.txt » (texte, par défaut) ou « adresses.txt » dans\n"
    "                              la base, comme le menu, et affiche son chemin\n"
    "  export BASE --format vcard|csv|ods --output FICHIER [--fiches actives|toutes]\n"
    "                              écrit les fiches actives (ou toutes) dans FICHIER en vCard 3.0 ou en\n"
    "                              CSV (UTF-8, une ligne d'intitulés) ou en classeur OpenDocument (ods :\n"
    "                              codes postaux et téléphones en texte, montants en nombres) et\n"
    "                              affiche le nombre de fiches\n"
    "  import BASE FICHIER.vcf|FICHIER.csv [--duplicates skip|create|fill] [--point X,Y]\n"
    "                              [--program-folder DOSSIER] [--columns CHAMP=COLONNE,...]\n"
    "                              crée une fiche par contact ; un doublon (même nom, prénoms et code\n"
    "                              postal) est ignoré (skip, par défaut), créé quand même (create) ou\n"
    "                              complète les champs vides de la fiche existante (fill). Les épingles\n"
    "                              vont près du département sur la carte par défaut, sinon au point X,Y\n"
    "                              (obligatoire). La base est d'abord sauvegardée dans\n"
    "                              DOSSIER/Sauvegardes/ (DOSSIER : celui qui contient la base par défaut).\n"
    "                              Un CSV sans intitulé connu demande --columns : le champ de fiche (2 à\n"
    "                              20) que remplit chaque colonne (à partir de 1), ex. --columns 3=1,10=2\n"
    "  backup BASE DOSSIER         copie la base dans un sous-dossier daté de DOSSIER, affiche son chemin\n"
    "  show BASE N                 les 20 champs de la fiche N : numéro du champ, tabulation, champ\n"
    "  check BASE [--program-folder DOSSIER]\n"
    "                              contrôle de la base, sans rien y écrire ; code 1 s'il y a des erreurs\n"
    "  demo BASE --cards N [--seed S] [--program-folder DOSSIER]\n"
    "                              crée une base de démonstration de N fiches comme « Création d'une\n"
    "                              nouvelle base de données », toujours la même pour une même graine\n"
    "                              (S, 1 par défaut). Sans \"/\", BASE est un nom : la base est créée dans\n"
    "                              le dossier du programme (DOSSIER, ou celui du programme installé).\n"
    "                              Avec \"/\", BASE est un chemin : son dossier parent sert de dossier du\n"
    "                              programme et reçoit les fichiers du programme qui lui manquent (carte,\n"
    "                              modèles, annuaire) ; --program-folder n'est alors pas permis.\n"
    "                              Aucun fichier annexe n'est créé pour les fiches.\n"
    "  journal BASE N --recouvrements|--interets|--memento\n"
    "                              les lignes du journal de la fiche N comme la fenêtre les liste,\n"
    "                              puis les totaux qu'elle affiche (montants du journal de la fiche)\n"
    "  words N                     le nombre entier N en toutes lettres (« Vingt un »)\n"
    "  rib BANQUE GUICHET COMPTE   la clé RIB d'un code banque (5), d'un code guichet (5)\n"
    "                              et d'un numéro de compte (11 caractères)\n"
    "\n"
    "Codes de sortie : 0 réussite, 1 échec (message sur la sortie d'erreur), 2 erreur d'utilisation.\n";

int usage(const QString& problem)
{
    printError(problem);
    std::fputs(kUsageText, stderr);
    return kUsage;
}

int failed(const tb::Error& error)
{
    printError(error.message());
    return kFailed;
}

// Positional arguments and "--name value" options of a command.
struct Arguments {
    QStringList positional;
    std::map<QString, QString> options;
};

// Returns an empty text, or what is wrong with the arguments.
QString parse(const QStringList& args, const QStringList& allowed, Arguments* out)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QStringLiteral("--"))) {
            if (!allowed.contains(a))
                return QStringLiteral("option inconnue : ") + a;
            if (i + 1 >= args.size())
                return QStringLiteral("valeur manquante après ") + a;
            if (out->options.count(a))
                return QStringLiteral("option donnée deux fois : ") + a;
            out->options[a] = args[++i];
        } else {
            out->positional.append(a);
        }
    }
    return {};
}

// The entry of table an option names: fallback when the option is absent,
// nothing when it names no entry (the caller says which word was wrong).
template <class T>
std::optional<T> namedOption(const Arguments& a, const QString& option, const std::map<QString, T>& table, T fallback)
{
    const auto it = a.options.find(option);
    if (it == a.options.end())
        return fallback;
    const auto entry = table.find(it->second);
    if (entry == table.end())
        return std::nullopt;
    return entry->second;
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

// Each line of the list as the list window shows it, a tab, the card number.
int printList(const tb::Result<tb::CardList>& list)
{
    if (!list)
        return failed(list.error());
    Output out;
    for (int row = 0; row < list->size(); ++row)
        out << list->display(row) << "\t" << tb::plainNumber(list->number(row)) << "\n";
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
    const std::optional<tb::ListKind> kind = namedOption(a, QStringLiteral("--order"), kinds, tb::ListKind::Alphabetical);
    if (!kind)
        return usage(QStringLiteral("ordre inconnu : ") + a.options.at(QStringLiteral("--order")));
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    return printList(db.value()->list(*kind));
}

int searchCommand(const Arguments& a)
{
    static const std::map<QString, tb::SearchField> fields = {
        {QStringLiteral("nom"), tb::SearchField::Surname},   {QStringLiteral("cp"), tb::SearchField::PostalCode},
        {QStringLiteral("ville"), tb::SearchField::City},    {QStringLiteral("fixe"), tb::SearchField::Landline},
        {QStringLiteral("portable"), tb::SearchField::Mobile},
    };
    const auto by = a.options.find(QStringLiteral("--by"));
    if (by == a.options.end())
        return usage(QStringLiteral("--by nom|cp|ville|fixe|portable est obligatoire"));
    const auto field = fields.find(by->second);
    if (field == fields.end())
        return usage(QStringLiteral("champ de recherche inconnu : ") + by->second);
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    return printList(tb::searchCards(db.value()->store(), db.value()->count(), field->second, a.positional[1]));
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

// vCard and CSV files for other programs, written where the user says.
int exchangeExport(const Arguments& a, const QString& format)
{
    const auto output = a.options.find(QStringLiteral("--output"));
    if (output == a.options.end() || output->second.isEmpty())
        return usage(QStringLiteral("--output FICHIER est obligatoire pour ce format"));
    bool all = false;
    if (auto f = a.options.find(QStringLiteral("--fiches")); f != a.options.end()) {
        if (f->second != QLatin1String("actives") && f->second != QLatin1String("toutes"))
            return usage(QStringLiteral("--fiches actives|toutes"));
        all = f->second == QLatin1String("toutes");
    }
    auto db = openReadOnly(a.positional[0]);
    if (!db)
        return failed(db.error());
    const QString path = QFileInfo(output->second).absoluteFilePath();
    const tb::Result<long long> written = format == QLatin1String("vcard") ? tb::writeVCardFile(*db.value(), path, all)
                                          : format == QLatin1String("ods")   ? tb::writeOdsFile(*db.value(), path, all)
                                                                             : tb::writeCsvFile(*db.value(), path, all);
    if (!written)
        return failed(written.error());
    Output out;
    out << tb::plainNumber(*written) << " fiche(s) écrite(s) dans " << path << "\n";
    return kDone;
}

int findCommand(const QStringList& args)
{
    if (args.isEmpty() || args[0].isEmpty())
        return usage(QStringLiteral("base de données manquante"));
    auto db = openReadOnly(args[0]);
    if (!db)
        return failed(db.error());
    auto found = db.value()->search(args.mid(1).join(u' '));
    if (!found)
        return failed(found.error());
    return printList(std::move(found->list));
}

int exportCommand(const Arguments& a)
{
    tb::ExportFormat format = tb::ExportFormat::Fields;
    if (auto f = a.options.find(QStringLiteral("--format")); f != a.options.end()) {
        if (f->second == QLatin1String("vcard") || f->second == QLatin1String("csv") || f->second == QLatin1String("ods"))
            return exchangeExport(a, f->second);
        if (a.options.count(QStringLiteral("--output")) || a.options.count(QStringLiteral("--fiches")))
            return usage(QStringLiteral("--output et --fiches ne vont qu'avec --format vcard, csv ou ods"));
        if (f->second == QLatin1String("adresses"))
            format = tb::ExportFormat::Addresses;
        else if (f->second != QLatin1String("texte"))
            return usage(QStringLiteral("format inconnu : ") + f->second);
    }
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
    const std::optional<tb::DuplicateChoice> choice =
        namedOption(a, QStringLiteral("--duplicates"), choices, tb::DuplicateChoice::Skip);
    if (!choice)
        return usage(QStringLiteral("choix inconnu pour les doublons : ") + a.options.at(QStringLiteral("--duplicates")));
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
    const auto program = a.options.find(QStringLiteral("--program-folder"));
    options.programFolder = tb::folderText(program != a.options.end() ? program->second
                                                                      : QDir::cleanPath(db.folder() + QStringLiteral("..")));
    const tb::Result<QByteArray> bytes = tb::readFile(file);
    if (!bytes)
        return failed(bytes.error());
    const QStringList captions = tb::exchangeCaptions(db.captions());
    std::vector<tb::Contact> contacts;
    QStringList notes;
    if (vcard) {
        contacts = tb::readVCards(*bytes, captions);
    } else {
        const auto given = a.options.find(QStringLiteral("--columns"));
        auto read = tb::csvContacts(*bytes, captions, given != a.options.end() ? given->second : QString(), &notes);
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
    for (int k = 1; k <= CardRecord::kFieldCount; ++k)
        out << QString::number(k) << "\t" << card->field(k) << "\n";
    return kDone;
}

int demoCommand(const Arguments& a, const QString& executableFolder)
{
    bool ok = false;
    const auto cardsOption = a.options.find(QStringLiteral("--cards"));
    if (cardsOption == a.options.end())
        return usage(QStringLiteral("--cards N est obligatoire"));
    const long long cards = cardsOption->second.toLongLong(&ok);
    if (!ok || cards < 0)
        return usage(QStringLiteral("nombre de fiches incorrect : ") + cardsOption->second);
    quint64 seed = 1;
    if (auto s = a.options.find(QStringLiteral("--seed")); s != a.options.end()) {
        seed = s->second.toULongLong(&ok);
        if (!ok)
            return usage(QStringLiteral("graine incorrecte : ") + s->second);
    }
    const auto programOption = a.options.find(QStringLiteral("--program-folder"));
    QString target = a.positional[0];
    QString programFolder;
    QString name;
    if (target.contains(u'/')) {
        if (programOption != a.options.end())
            return usage(QStringLiteral("--program-folder ne va qu'avec un nom de base, pas avec un chemin"));
        while (target.size() > 1 && target.endsWith(u'/'))
            target.chop(1);
        const QFileInfo info(QDir::cleanPath(QDir(target).absolutePath()));
        name = info.fileName();
        programFolder = tb::resolveProgramFolder(info.absolutePath(), executableFolder);
    } else {
        name = target;
        programFolder = tb::resolveProgramFolder(
            programOption != a.options.end() ? programOption->second : QString(), executableFolder);
    }
    QList<tb::Error> templateErrors;
    auto db = tb::createDemoDatabase(programFolder, name, cards, seed, &templateErrors);
    if (!db)
        return failed(db.error());
    for (const tb::Error& e : templateErrors)
        printError(QStringLiteral("Attention : ") + e.message());
    Output out;
    out << db.value()->folder() << "\t" << tb::plainNumber(db.value()->count()) << " fiche(s)\n";
    return kDone;
}

int journalCommand(const QStringList& args)
{
    static const std::map<QString, tb::JournalKind> kinds = {
        {QStringLiteral("--recouvrements"), tb::JournalKind::Collections},
        {QStringLiteral("--interets"), tb::JournalKind::Interest},
        {QStringLiteral("--memento"), tb::JournalKind::Memento},
    };
    QStringList positional;
    std::optional<tb::JournalKind> kind;
    for (const QString& a : args) {
        if (!a.startsWith(QStringLiteral("--"))) {
            positional.append(a);
            continue;
        }
        const auto k = kinds.find(a);
        if (k == kinds.end())
            return usage(QStringLiteral("option inconnue : ") + a);
        if (kind)
            return usage(QStringLiteral("un seul journal à la fois"));
        kind = k->second;
    }
    if (positional.size() != 2 || positional[0].isEmpty())
        return usage(QStringLiteral("nombre d'arguments incorrect pour journal"));
    if (!kind)
        return usage(QStringLiteral("journal manquant : --recouvrements, --interets ou --memento"));
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
            tb::numericValue(tb::debtCalculation(card.field(15), card.field(16), card.field(17), card.field(19))[3]);
        // Shown in point form, as the card window hands it over.
        out << "Montant à recouvrer\t" << tb::pointForm(toCollect) << "\n";
        out << "Total des recouvrements\t" << shown(total) << "\n";
        out << "Montant restant dû\t" << shown(toCollect - total) << "\n";
    } else if (*kind == tb::JournalKind::Interest) {
        out << "Total des intérêts\t" << shown(total) << "\n";
    }
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

}  // namespace

Output& Output::operator<<(const QString& text)
{
    m_buffer += text.toUtf8();
    if (m_buffer.size() > (1 << 20))
        flush();
    return *this;
}

Output& Output::operator<<(const char* text)
{
    m_buffer += text;
    return *this;
}

void Output::flush()
{
    if (!m_buffer.isEmpty())
        std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), stdout);
    m_buffer.clear();
    std::fflush(stdout);
}

void printError(const QString& text)
{
    std::fputs((text + u'\n').toUtf8().constData(), stderr);
}

int run(const QStringList& args, const QString& executableFolder)
{
    if (args.isEmpty())
        return usage(QStringLiteral("commande manquante"));
    struct Command {
        int positional;
        QStringList options;
    };
    static const std::map<QString, Command> commands = {
        {QStringLiteral("count"), {1, {}}},
        {QStringLiteral("list"), {1, {QStringLiteral("--order")}}},
        {QStringLiteral("show"), {2, {}}},
        {QStringLiteral("search"), {2, {QStringLiteral("--by")}}},
        {QStringLiteral("zone"), {5, {}}},
        {QStringLiteral("export"),
         {1, {QStringLiteral("--format"), QStringLiteral("--output"), QStringLiteral("--fiches")}}},
        {QStringLiteral("import"),
         {2,
          {QStringLiteral("--duplicates"), QStringLiteral("--point"), QStringLiteral("--program-folder"),
           QStringLiteral("--columns")}}},
        {QStringLiteral("backup"), {2, {}}},
        {QStringLiteral("check"), {1, {QStringLiteral("--program-folder")}}},
        {QStringLiteral("demo"),
         {1, {QStringLiteral("--cards"), QStringLiteral("--seed"), QStringLiteral("--program-folder")}}},
        {QStringLiteral("words"), {1, {}}},
        {QStringLiteral("rib"), {3, {}}},
    };
    const QString name = args[0];
    // Its journal is chosen by an option without value.
    if (name == QLatin1String("journal"))
        return journalCommand(args.mid(1));
    // Its words are any number of arguments.
    if (name == QLatin1String("find"))
        return findCommand(args.mid(1));
    const auto command = commands.find(name);
    if (command == commands.end())
        return usage(QStringLiteral("commande inconnue : ") + name);
    Arguments a;
    if (const QString problem = parse(args.mid(1), command->second.options, &a); !problem.isEmpty())
        return usage(problem);
    if (a.positional.size() != command->second.positional)
        return usage(QStringLiteral("nombre d'arguments incorrect pour ") + name);
    // The office tools need no database.
    if (name == QLatin1String("words"))
        return wordsCommand(a);
    if (name == QLatin1String("rib"))
        return ribCommand(a);
    if (a.positional[0].isEmpty())
        return usage(QStringLiteral("base de données manquante"));

    if (name == QLatin1String("count"))
        return countCommand(a);
    if (name == QLatin1String("list"))
        return listCommand(a);
    if (name == QLatin1String("show"))
        return showCommand(a);
    if (name == QLatin1String("search"))
        return searchCommand(a);
    if (name == QLatin1String("zone"))
        return zoneCommand(a);
    if (name == QLatin1String("export"))
        return exportCommand(a);
    if (name == QLatin1String("import"))
        return importCommand(a);
    if (name == QLatin1String("backup"))
        return backupCommand(a);
    if (name == QLatin1String("demo"))
        return demoCommand(a, executableFolder);
    const auto program = a.options.find(QStringLiteral("--program-folder"));
    Output out;
    return checkDatabase(databaseFolder(a.positional[0]),
                         tb::folderText(program != a.options.end() ? program->second : executableFolder), out);
}

}  // namespace cli
