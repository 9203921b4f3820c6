#include "gui/exchange/exchange_commands.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/db/database_files.h"
#include "core/db/session.h"
#include "core/exchange/csv.h"
#include "core/exchange/ods.h"
#include "core/exchange/vcard.h"
#include "core/external/start_folders.h"
#include "gui/app/app_context.h"
#include "gui/app/dialogs.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui/map/map_point_wait.h"
#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <algorithm>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <map>

namespace {

const QString kNoDatabase = QStringLiteral(
    " Vous devez au préalable créer une nouvelle base de données ou ouvrir une base de données existante !");
const QString kNoCards = QStringLiteral(" Il n'y a aucune fiche dans la base de données !");

QString quoted(const QString& text)
{
    return QStringLiteral("« ") + text + QStringLiteral(" »");
}

}  // namespace

ExchangeCommands::ExchangeCommands(AppContext& ctx, QWidget* owner, MapPointWait& pointWait)
    : QObject(owner), m_ctx(ctx), m_owner(owner), m_pointWait(pointWait)
{
}

void ExchangeCommands::addTo(QMenu* menu)
{
    const auto add = [&](const char* name, const QString& caption, void (ExchangeCommands::*slot)()) {
        connect(addMenuEntry(menu, name, caption), &QAction::triggered, this, slot);
    };
    add("ExportVcard", QStringLiteral("Exporter les fiches en vCard"), &ExchangeCommands::exportVCard);
    add("ImportVcard", QStringLiteral("Importer des fiches vCard"), &ExchangeCommands::importVCard);
    add("ExportCsv", QStringLiteral("Exporter en CSV"), &ExchangeCommands::exportCsv);
    add("ImportCsv", QStringLiteral("Importer un fichier CSV"), &ExchangeCommands::importCsv);
    add("ExportOds", QStringLiteral("Exporter pour un tableur (.ods)"), &ExchangeCommands::exportOds);
    menu->addSeparator();
    add("Sauvegarde", QStringLiteral("Sauvegarder la base de données"), &ExchangeCommands::backup);
    add("Restauration", QStringLiteral("Restaurer une sauvegarde"), &ExchangeCommands::restore);
}

bool ExchangeCommands::refuse(bool needCards)
{
    const tb::Database* db = m_ctx.session.database();
    if (!db) {
        m_ctx.dialogs.message(kNoDatabase);
        return true;
    }
    if (needCards && db->count() == 0) {
        m_ctx.dialogs.message(kNoCards);
        return true;
    }
    return false;
}

void ExchangeCommands::exportVCard()
{
    exportFile(ExchangeFormat::VCard);
}

void ExchangeCommands::exportCsv()
{
    exportFile(ExchangeFormat::Csv);
}

void ExchangeCommands::exportOds()
{
    exportFile(ExchangeFormat::Ods);
}

void exportCardsTo(AppContext& ctx, ExchangeFormat format, const std::optional<QSet<long long>>& selection)
{
    struct Kind {
        QString title, suffix, filter;
        tb::Result<long long> (*write)(const tb::Database&, const QString&, const tb::CardChoice&);
    };
    static const std::map<ExchangeFormat, Kind> kinds = {
        {ExchangeFormat::VCard,
         {QStringLiteral("Exporter les fiches en vCard"), QStringLiteral(".vcf"), QStringLiteral("Fichiers vCard (*.vcf)"),
          &tb::writeVCardFile}},
        {ExchangeFormat::Csv,
         {QStringLiteral("Exporter en CSV"), QStringLiteral(".csv"), QStringLiteral("Fichiers CSV (*.csv)"),
          &tb::writeCsvFile}},
        {ExchangeFormat::Ods,
         {QStringLiteral("Exporter pour un tableur (.ods)"), QStringLiteral(".ods"),
          QStringLiteral("Classeurs OpenDocument (*.ods)"), &tb::writeOdsFile}},
    };
    const Kind& kind = kinds.at(format);
    if (!ctx.session.database())
        return;
    const tb::Database& db = *ctx.session.database();
    const QMessageBox::StandardButton all = ctx.dialogs.question(
        QStringLiteral("Exporter aussi les fiches archivées ?"), QStringLiteral("Exportation"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (all == QMessageBox::Cancel)
        return;
    const std::optional<QString> path = ctx.dialogs.chooseFile(
        kind.title, tb::startFolder(tb::ChooserKind::Export) + u'/' + db.name() + kind.suffix, kind.filter, true);
    if (!path)
        return;
    tb::rememberChosen(tb::ChooserKind::Export, *path);
    ctx.dialogs.setBusy(true);
    const bool archived = all == QMessageBox::Yes;
    const tb::Result<long long> written =
        kind.write(db, *path, selection ? tb::CardChoice(archived, *selection) : tb::CardChoice(archived));
    ctx.dialogs.setBusy(false);
    if (!written) {
        ctx.dialogs.showError(written.error());
        return;
    }
    ctx.dialogs.message(tb::countText(*written) + QStringLiteral(" fiche(s) exportée(s) dans ") + quoted(*path)
                          + u'.');
}

void ExchangeCommands::exportFile(ExchangeFormat format)
{
    if (!refuse(true))
        exportCardsTo(m_ctx, format);
}

std::optional<QString> ExchangeCommands::choosePathToImport(const QString& title, const QString& filter)
{
    if (refuse(false))
        return std::nullopt;
    const std::optional<QString> path = m_ctx.dialogs.chooseFile(
        title, tb::startFolder(tb::ChooserKind::Import), filter + QStringLiteral(";;Tous les fichiers (*)"), false);
    if (path)
        tb::rememberChosen(tb::ChooserKind::Import, *path);
    return path;
}

std::optional<std::pair<QString, QByteArray>> ExchangeCommands::chooseFileToImport(const QString& title,
                                                                                 const QString& filter)
{
    const std::optional<QString> path = choosePathToImport(title, filter);
    if (!path)
        return std::nullopt;
    tb::Result<QByteArray> bytes = tb::readFile(*path);
    if (!bytes) {
        m_ctx.dialogs.showError(bytes.error());
        return std::nullopt;
    }
    return std::pair{*path, std::move(bytes).value()};
}

void ExchangeCommands::importVCard()
{
    const std::optional<QString> path =
        choosePathToImport(QStringLiteral("Importer des fiches vCard"), QStringLiteral("Fichiers vCard (*.vcf *.vcard)"));
    if (!path)
        return;
    tb::VCardReading reading = tb::readVCardPath(*path, tb::exchangeCaptions(m_ctx.session.database()->captions()));
    if (reading.error) {
        m_ctx.dialogs.showError(*reading.error);
        return;
    }
    if (reading.contacts.empty()) {
        m_ctx.dialogs.message(QStringLiteral("Ce fichier ne contient aucune fiche vCard."));
        return;
    }
    startImport(std::move(reading.contacts), std::move(reading.notes));
}

void ExchangeCommands::importCsv()
{
    const auto file =
        chooseFileToImport(QStringLiteral("Importer un fichier CSV"), QStringLiteral("Fichiers CSV (*.csv *.txt)"));
    if (!file)
        return;
    if (!m_csvWindow)
        m_csvWindow = new FImportCsv(m_ctx, m_owner);
    m_csvWindow->setFile(file->first, file->second, tb::exchangeCaptions(m_ctx.session.database()->captions()));
    if (m_csvWindow->error()) {
        m_ctx.dialogs.showError(*m_csvWindow->error());
        return;
    }
    m_ctx.dialogs.showModal(m_csvWindow);
    if (!m_csvWindow || !m_csvWindow->accepted())
        return;
    if (m_csvWindow->error()) {
        m_ctx.dialogs.showError(*m_csvWindow->error());
        return;
    }
    const tb::CsvTable table = m_csvWindow->table();
    const QList<int> columns = m_csvWindow->columns();
    if (std::all_of(columns.begin(), columns.end(), [](int k) { return k == 0; })) {
        m_ctx.dialogs.message(QStringLiteral("Aucune colonne n'est reprise : choisissez le champ de fiche que remplit au "
                                             "moins une colonne."));
        return;
    }
    QStringList notes;
    std::vector<tb::Contact> contacts = tb::contactsFromCsv(table, columns, &notes);
    if (contacts.empty()) {
        m_ctx.dialogs.message(QStringLiteral("Ce fichier ne contient aucune ligne de fiche."));
        return;
    }
    startImport(std::move(contacts), notes);
}

void ExchangeCommands::startImport(std::vector<tb::Contact> contacts, QStringList notes)
{
    if (tb::usesDefaultMap(*m_ctx.session.database())) {
        runImport(contacts, {}, notes);
        return;
    }
    // Another map: no department to go by, the user shows the place.
    const QString text = QStringLiteral("Cliquez sur la carte à l'endroit où épingler les ")
                         + tb::countText(qint64(contacts.size())) + QStringLiteral(" fiche(s) importée(s).");
    m_pointWait.ask(m_ctx.dialogs, text, [this, contacts = std::move(contacts), notes = std::move(notes)](QPointF at) {
        if (!refuse(false))
            runImport(contacts, {false, at}, notes);
    });
}

void ExchangeCommands::runImport(const std::vector<tb::Contact>& contacts, const tb::Placement& placement,
                                 QStringList notes)
{
    tb::Database& db = *m_ctx.session.database();
    tb::ImportOptions options;
    options.placement = placement;
    options.marker = m_ctx.session.markerForNewCard();
    options.programFolder = m_ctx.session.programFolder();
    const auto ask = [this](const CardRecord& incoming, long long n, const CardRecord& existing, tb::DuplicateRule rule) {
        if (!m_duplicateWindow)
            m_duplicateWindow = new FDoublon(m_ctx, m_owner);
        m_duplicateWindow->setCards(incoming, n, existing, rule);
        m_ctx.dialogs.setBusy(false);
        m_ctx.dialogs.showModal(m_duplicateWindow);
        m_ctx.dialogs.setBusy(true);
        return m_duplicateWindow ? m_duplicateWindow->decision() : tb::DuplicateDecision{};
    };
    m_ctx.dialogs.setBusy(true);
    const tb::ImportReport report = tb::importContacts(db, contacts, options, ask);
    m_ctx.dialogs.setBusy(false);
    if (report.error)
        m_ctx.dialogs.showError(*report.error);
    if (!m_reportWindow)
        m_reportWindow = new FRapportImport(m_ctx, m_owner);
    QString summary = report.summary();
    if (report.error)
        summary += QStringLiteral("\nL'importation s'est arrêtée sur l'erreur ; la base telle qu'elle était avant est "
                                  "dans ") + quoted(tb::automaticBackupFolder(options.programFolder, db)) + u'.';
    m_reportWindow->setReport(summary, notes + report.notes);
    m_ctx.dialogs.showModal(m_reportWindow);
}

void ExchangeCommands::backup()
{
    if (refuse(false))
        return;
    const std::optional<QString> folder = m_ctx.dialogs.chooseFolder(
        QStringLiteral("Dossier où sauvegarder la base de données"), tb::startFolder(tb::ChooserKind::Backup));
    if (!folder)
        return;
    tb::rememberChosen(tb::ChooserKind::Backup, *folder);
    m_ctx.dialogs.setBusy(true);
    const tb::Result<QString> made =
        tb::backupToDatedFolder(*m_ctx.session.database(), *folder, QDateTime::currentDateTime());
    m_ctx.dialogs.setBusy(false);
    if (!made) {
        m_ctx.dialogs.showError(made.error());
        return;
    }
    m_ctx.dialogs.message(QStringLiteral("La base de données est sauvegardée dans ") + quoted(made->chopped(1)) + u'.');
}

void ExchangeCommands::restore()
{
    const QString program = m_ctx.session.programFolder();
    // Where the user saved lately, else the automatic backups.
    QString start = tb::lastFolder(tb::ChooserKind::Backup);
    if (start.isEmpty())
        start = QFileInfo::exists(program + QStringLiteral("Sauvegardes")) ? program + QStringLiteral("Sauvegardes")
                                                                           : tb::documentsFolder();
    const std::optional<QString> folder =
        m_ctx.dialogs.chooseFolder(QStringLiteral("Sauvegarde à restaurer"), start);
    if (!folder)
        return;
    if (!tb::isDatabaseFolder(*folder + u'/')) {
        m_ctx.dialogs.message(QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !"));
        return;
    }
    const QMessageBox::StandardButton answer = m_ctx.dialogs.question(
        QStringLiteral("Ouvrir la sauvegarde ") + quoted(QDir(*folder).dirName())
            + QStringLiteral(" ? Elle est copiée comme nouvelle base de données dans le dossier du programme ; la base "
                             "en cours et la sauvegarde elle-même restent telles quelles."),
        QStringLiteral("Restaurer une sauvegarde"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    const tb::Result<QString> restored = tb::restoreBackup(*folder, program);
    if (!restored) {
        m_ctx.dialogs.showError(restored.error());
        return;
    }
    tb::Result<std::unique_ptr<tb::Database>> opened = tb::Database::open(*restored);
    if (!opened) {
        m_ctx.dialogs.showError(opened.error());
        return;
    }
    const QString name = opened.value()->name();
    const QString correction = opened.value()->countCorrection();
    m_ctx.session.setDatabase(std::move(opened).value());
    m_ctx.dialogs.message(QStringLiteral("La sauvegarde est ouverte comme base de données ") + quoted(name) + u'.');
    if (!correction.isEmpty())
        m_ctx.dialogs.message(correction);
}
