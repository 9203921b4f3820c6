#include "core/exchange/person_data.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/cards/card_fields.h"
#include "core/cards/card_store.h"
#include "core/db/backups.h"
#include "core/db/card_deletion.h"
#include "core/db/database.h"
#include "core/db/database_files.h"
#include "core/db/recent_databases.h"
#include "core/exchange/contact.h"
#include "core/exchange/vcard.h"
#include "core/tools/note_cipher.h"
#include "core/tools/note_text.h"

#include <QBuffer>
#include <cerrno>
#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace tb {

namespace {

// What each side file holds, by its name for card 0.
QString sideFileWhat(const QString& name, long long n)
{
    const std::optional<SideFile> kind = sideFileKind(name, n);
    if (!kind)
        return QStringLiteral("Fichier annexe");
    switch (*kind) {
    case SideFile::Note: return QStringLiteral("Note confidentielle, telle qu'enregistrée");
    case SideFile::Sheet: return QStringLiteral("Feuille de calcul");
    case SideFile::Collections: return QStringLiteral("Journal des recouvrements");
    case SideFile::Interest: return QStringLiteral("Journal des intérêts");
    case SideFile::Memento: return QStringLiteral("Memento");
    case SideFile::TextA: return QStringLiteral("Document texte n° 1");
    case SideFile::TextB: return QStringLiteral("Document texte n° 2");
    case SideFile::ScanA: return QStringLiteral("Document scanné n° 1");
    case SideFile::ScanB: return QStringLiteral("Document scanné n° 2");
    case SideFile::Photo: break;
    }
    return QStringLiteral("Photo");
}

QByteArray fieldsText(const Database& db, long long n, const CardRecord& card)
{
    const QStringList captions = exchangeCaptions(db.captions());
    QString text = QStringLiteral("Fiche n° ") + plainNumber(n) + QStringLiteral(" (")
                   + statusWord(PinField::of(card)) + QStringLiteral(")\r\n");
    text += QStringLiteral("Position sur la carte : ") + numberText(card.x()).trimmed() + QStringLiteral(", ")
            + numberText(card.y()).trimmed() + QStringLiteral("\r\n");
    for (CardField k = kFieldCivility; k <= kFieldLast; ++k)
        text += captions.value(k - 2).trimmed() + QStringLiteral(" : ") + storedText(card.field(k))
                + QStringLiteral("\r\n");
    return text.toUtf8();
}

QByteArray summaryPdf(const QString& title, const QString& source, const std::vector<PersonDataItem>& items,
                      const QStringList& backups)
{
    QStringList lines{QStringLiteral("Extrait le ") + QDateTime::currentDateTime().toString(QStringLiteral(
                                                          "dd/MM/yyyy 'à' HH:mm"))
                          + QStringLiteral(" de la base ") + source,
                      QString(), QStringLiteral("Contenu de l'envoi :")};
    for (const PersonDataItem& item : items)
        lines << QStringLiteral("  ") + item.name + QStringLiteral(" : ") + item.what
                     + (item.from.isEmpty() ? QString() : QStringLiteral(" (trouvé dans ") + item.from + u')');
    lines << QString() << QStringLiteral("Sauvegardes qui contiennent encore ces données :");
    if (backups.isEmpty())
        lines << QStringLiteral("  aucune");
    for (const QString& b : backups)
        lines << QStringLiteral("  ") + b;

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Tabulon"));
    QPainter painter(&pdf);
    const QRectF page(0, 0, pdf.width(), pdf.height());
    // One page: the size that lets every line fit, 11 points at most.
    for (double points = 11; points >= 4; points -= 0.5) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(points);
        const QFontMetricsF fm(font, &pdf);
        double widest = 0;
        for (const QString& l : lines)
            widest = std::max(widest, fm.horizontalAdvance(l));
        if ((lines.size() + 2) * fm.lineSpacing() <= page.height() && widest <= page.width()) {
            QFont bold = font;
            bold.setBold(true);
            painter.setFont(bold);
            double y = fm.ascent();
            painter.drawText(QPointF(0, y), QStringLiteral("Données personnelles : ") + title);
            painter.setFont(font);
            for (const QString& l : lines)
                painter.drawText(QPointF(0, y += fm.lineSpacing()), l);
            break;
        }
    }
    painter.end();
    return buffer.data();
}

Status writeZip(const QString& target, const QList<std::pair<QString, QByteArray>>& files)
{
    QBuffer bytes;
    bytes.open(QIODevice::ReadWrite);
    {
        QuaZip zip(&bytes);
        if (!zip.open(QuaZip::mdCreate))
            return Error{kErrorPathAccess, QStringLiteral("archive zip impossible à créer : ") + target};
        for (const auto& [name, content] : files) {
            QuaZipFile out(&zip);
            QuaZipNewInfo info(name);
            if (!out.open(QIODevice::WriteOnly, info) || out.write(content) != content.size()) {
                out.close();
                return Error{kErrorPathAccess, QStringLiteral("archive zip impossible à écrire : ") + target};
            }
            out.close();
        }
        zip.close();
        if (zip.getZipError() != 0)
            return Error{kErrorPathAccess, QStringLiteral("archive zip impossible à écrire : ") + target};
    }
    return writeFileAtomic(target, bytes.data());
}

// Who a card is about, to find them in another copy of the database.
QString personKey(const CardRecord& card)
{
    return (card.field(kFieldSurname).trimmed() + u'\t' + card.field(kFieldFirstNames).trimmed() + u'\t' + card.field(kFieldCity).trimmed()).toCaseFolded();
}

bool holdsPerson(const QString& folder, const QString& key)
{
    const CardStore store(folder);
    const long long count = store.readCount().value;
    for (long long i = 1; i <= count; ++i)
        if (const Result<CardRecord> c = store.read(i); c && !c->field(kFieldSurname).trimmed().isEmpty() && personKey(*c) == key)
            return true;
    return false;
}

}  // namespace

QStringList backupsHolding(const Database& db, long long n, const QString& programFolder)
{
    const Result<CardRecord> card = db.card(n);
    if (!card)
        return {};
    QStringList candidates;
    const QString automatic = automaticBackupFolder(programFolder, db);
    candidates << automatic;
    for (const QString& name : QDir(automatic).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        candidates << automatic + name + u'/';
    candidates << RememberedBackups::folders();
    candidates.removeDuplicates();
    const QString key = personKey(*card);
    QStringList holding;
    for (const QString& folder : candidates)
        if (isDatabaseFolder(folder) && holdsPerson(folder, key))
            holding << folder;
    return holding;
}

Result<PersonData> exportPersonData(const Database& db, long long n, const QString& target,
                                    const QStringList& backups, const QString& noteKey)
{
    if (n < 1 || n > db.count())
        return Error{kErrorPathAccess, QStringLiteral("la fiche n° ") + plainNumber(n) + QStringLiteral(" n'existe pas")};
    const Result<CardRecord> card = db.card(n);
    if (!card)
        return card.error();
    PersonData data;
    QList<std::pair<QString, QByteArray>> files;
    const auto add = [&](const QString& name, const QString& what, const QString& from, const QByteArray& bytes) {
        files.append({name, bytes});
        data.items.push_back({name, what, from});
    };
    const QString recordPlace = QStringLiteral("lesfiches.dat, fiche n° ") + plainNumber(n);
    add(QStringLiteral("fiche.txt"), QStringLiteral("Les champs de la fiche en texte"), recordPlace,
        fieldsText(db, n, *card));
    QStringList sides = sideFilesOnDisk(db.folder(), n);
    sides.sort(Qt::CaseInsensitive);
    QByteArray photo;
    for (const QString& name : sides) {
        const Result<QByteArray> bytes = readFile(db.file(name));
        if (!bytes)
            return bytes.error();
        if (sideFileKind(name, n) == SideFile::Photo)
            photo = *bytes;
        add(name, sideFileWhat(name, n), db.file(name), *bytes);
    }
    files.insert(1, {QStringLiteral("fiche.vcf"), vCardOf(*card, exchangeCaptions(db.captions()), photo)});
    data.items.insert(data.items.begin() + 1,
                      {QStringLiteral("fiche.vcf"), QStringLiteral("Les champs de la fiche en vCard"), recordPlace});
    if (!noteKey.isEmpty()) {
        const QString notePath = db.findSideFile(SideFile::Note, n);
        const std::optional<QString> clear = cipherNote(loadNote(notePath), noteKey);
        if (!clear)
            return Error{kNoErrorNumber, QStringLiteral(" La clé ne contient aucun caractère utilisable.")};
        add(QStringLiteral("note_dechiffree.txt"), QStringLiteral("Note confidentielle déchiffrée avec la clé donnée"),
            notePath, clear->toUtf8());
    }
    data.items.push_back({QStringLiteral("resume.pdf"), QStringLiteral("Ce résumé"), QString()});
    files.append({QStringLiteral("resume.pdf"),
                  summaryPdf(cardTitle(*card, n), db.folder(), data.items, backups)});

    if (target.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
        if (Status s = writeZip(target, files); !s)
            return s.error();
        return data;
    }
    const QString folder = target.endsWith(u'/') ? target : target + u'/';
    if (!QDir().mkpath(folder))
        return Error::fromErrno(errno ? errno : EACCES, folder);
    for (const auto& [name, bytes] : files)
        if (Status s = writeFileAtomic(folder + name, bytes); !s)
            return s.error();
    return data;
}

}  // namespace tb
