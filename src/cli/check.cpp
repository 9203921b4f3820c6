#include "cli/cli.h"

#include "core/base/codepage.h"
#include "core/base/folder_index.h"
#include "core/base/number_text.h"
#include "core/cards/card_record.h"
#include "core/db/card_restoration.h"
#include "core/db/database.h"
#include "core/db/database_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <map>

namespace cli {

namespace {

// Lines of one kind beyond this are counted, not printed: a broken million-card
// database would otherwise bury the summary.
constexpr int kShownPerKind = 50;

class Report {
public:
    explicit Report(Output& out) : m_out(out) {}
    void error(const QString& kind, const QString& text) { add(kind, QStringLiteral("Erreur : ") + text, &m_errors); }
    void warning(const QString& kind, const QString& text)
    {
        add(kind, QStringLiteral("Avertissement : ") + text, &m_warnings);
    }
    // "... et N autre(s)" for the kinds cut short.
    void closeKinds()
    {
        for (const auto& [kind, seen] : m_perKind)
            if (seen > kShownPerKind)
                m_out << "… et " << tb::plainNumber(seen - kShownPerKind) << " autre(s) : " << kind << "\n";
    }
    long long errors() const { return m_errors; }
    long long warnings() const { return m_warnings; }

private:
    void add(const QString& kind, const QString& line, long long* counter)
    {
        ++*counter;
        if (++m_perKind[kind] <= kShownPerKind)
            m_out << line << "\n";
    }
    Output& m_out;
    long long m_errors = 0, m_warnings = 0;
    std::map<QString, long long> m_perKind;
};

// The map named by "carte.txt": as written, else beside the database folder
// (where the program makes databases) or in the program folder.
QString mapFile(const QString& named, const QString& databaseFolder, const QString& programFolder)
{
    if (named.isEmpty() || QFileInfo(named).isAbsolute())
        return named;
    const QString beside = QFileInfo(databaseFolder + QStringLiteral("../") + named).absoluteFilePath();
    if (QFileInfo::exists(beside))
        return beside;
    return programFolder + named;
}

}  // namespace

int checkDatabase(const QString& folder, const QString& programFolder, Output& out)
{
    auto opened = tb::Database::open(folder, tb::Database::Access::ReadOnly);
    if (!opened) {
        printError(opened.error().message());
        return kFailed;
    }
    const tb::Database& db = *opened.value();
    const CardStore& store = db.store();
    Report report(out);

    // The count against the whole records.
    const CardStore::CountReading reading = store.readCount();
    const long long records = store.recordsInFile();
    const qint64 bytes = QFileInfo(store.recordFile()).size();
    if (bytes % CardRecord::kSize != 0)
        report.error(QStringLiteral("taille"),
                     QStringLiteral("lesfiches.dat fait ") + tb::plainNumber(bytes)
                         + QStringLiteral(" octets, pas un multiple de 630 : la dernière fiche est incomplète."));
    if (!reading.valid)
        report.error(QStringLiteral("nombre"), QStringLiteral("NBFiches.dat ne contient pas un nombre de fiches."));
    else if (reading.value > records)
        report.error(QStringLiteral("nombre"), QStringLiteral("NBFiches.dat annonce ") + tb::plainNumber(reading.value)
                                                   + QStringLiteral(" fiche(s), lesfiches.dat n'en contient que ")
                                                   + tb::plainNumber(records) + QStringLiteral("."));
    else if (reading.value < records) {
        // A deletion blanks the record it frees beyond the count: nothing is lost there.
        const tb::Result<long long> used = store.lastUsedRecord(records);
        if (!used || *used > reading.value)
            report.error(QStringLiteral("nombre"),
                         tb::plainNumber((used ? *used : records) - reading.value)
                             + QStringLiteral(" fiche(s) de lesfiches.dat au-delà du nombre de fiches (")
                             + tb::plainNumber(reading.value) + QStringLiteral(") ne sont pas comptées."));
    }
    // Until Tabulon opens the database again, a card may be there twice or
    // without its side files.
    if (tb::Database::deletionPending(folder))
        report.error(QStringLiteral("suppression"),
                     QStringLiteral("suppression.txt : une suppression de fiche est inachevée ; Tabulon la "
                                    "terminera à la prochaine ouverture de la base."));
    if (tb::CardRestoration::pending(folder))
        report.error(QStringLiteral("restauration"),
                     QStringLiteral("restauration.txt : une restauration de fiche est inachevée ; Tabulon la "
                                    "terminera ou l'annulera à la prochaine ouverture de la base."));
    // The trash: whole entries are counted, anything else is shown.
    const tb::Trash trash = db.trash();
    for (const QString& name : trash.strays())
        report.warning(QStringLiteral("corbeille"), QStringLiteral("Corbeille/") + name
                                                        + QStringLiteral(" n'est pas une fiche entière de la corbeille."));
    if (const auto entries = trash.entries(); entries && !entries->empty())
        out << "Corbeille : " << tb::plainNumber((long long)entries->size()) << " fiche(s).\n";
    if (!db.countCorrection().isEmpty())
        out << "Correction à l'ouverture :" << db.countCorrection() << "\n";

    // The map's size, read without decoding the picture.
    const QString named = db.mapPath();
    const QString map = mapFile(named, folder, programFolder);
    // Only a file is read: a pipe under the map's name would never answer.
    const QSize size = !QFileInfo(map).isFile() ? QSize() : QImageReader(map).size();
    if (!size.isValid())
        report.warning(QStringLiteral("carte"), QStringLiteral("la carte « ") + named
                                                    + QStringLiteral(" » ne peut pas être lue : positions non contrôlées."));

    // Markers and positions, in one pass over the records.
    const long long count = db.count();
    const tb::Status pass = store.forEachRaw(count, [&](long long n, QByteArrayView record) {
        const char marker = record[0];
        // A blank marker is an archived card, as "0" is.
        if (marker != ' ' && (marker < '0' || marker > '7')) {
            report.error(QStringLiteral("marqueur"), QStringLiteral("fiche n° ") + tb::plainNumber(n)
                                                         + QStringLiteral(" : marqueur « ")
                                                         + QString(tb::cp1252Char(uchar(marker)))
                                                         + QStringLiteral(" » au lieu d'un chiffre de 0 à 7."));
            return;
        }
        if (marker == '0' || marker == ' ' || !size.isValid())
            return;
        const tb::PinSpot spot = tb::pinSpotOf(record.first(30));
        if (spot.x < 0 || spot.y < 0 || spot.x >= size.width() || spot.y >= size.height())
            report.error(QStringLiteral("position"),
                         QStringLiteral("fiche n° ") + tb::plainNumber(n) + QStringLiteral(" : position (")
                             + tb::numberText(spot.x).trimmed() + QStringLiteral(", ")
                             + tb::numberText(spot.y).trimmed() + QStringLiteral(") hors de la carte (")
                             + QString::number(size.width()) + QStringLiteral(" x ") + QString::number(size.height())
                             + QStringLiteral(")."));
    });
    if (!pass) {
        printError(pass.error().message());
        return kFailed;
    }

    // Side files of cards that do not exist (left by a deletion or a copy).
    static const QRegularExpression sideName(QStringLiteral("^[a-z]+0*(\\d{1,15})\\.[a-z0-9]+$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = sideName.match(name);
        if (m.hasMatch() && m.captured(1).toLongLong() > count)
            report.warning(QStringLiteral("annexe"), QStringLiteral("fichier annexe ") + name
                                                         + QStringLiteral(" d'une fiche qui n'existe pas (")
                                                         + tb::plainNumber(count) + QStringLiteral(" fiche(s))."));
    }
    // Templates of the database: new cards copy them.
    const tb::FolderIndex index(folder);
    for (const QString& file : tb::databaseTemplateFiles()) {
        if (!index.contains(file))
            report.warning(QStringLiteral("modèle"), QStringLiteral("modèle manquant : ") + file + QStringLiteral("."));
    }

    report.closeKinds();
    out << "Contrôle terminé : " << tb::plainNumber(count) << " fiche(s), " << tb::plainNumber(report.errors())
        << " erreur(s), " << tb::plainNumber(report.warnings()) << " avertissement(s).\n";
    return report.errors() > 0 ? kFailed : kDone;
}

}  // namespace cli
