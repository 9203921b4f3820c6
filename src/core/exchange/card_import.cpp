#include "core/exchange/card_import.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/db/demo_database.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <cmath>

namespace tb {

namespace {

// Cards made at once: large enough for one flush to serve many cards, small
// enough that a failure takes back little.
constexpr size_t kBatchSize = 500;

// In the sea off Brittany, clear of every department.
constexpr QPointF kNoDepartmentPoint(50, 380);

QString quoted(const QString& text)
{
    return QStringLiteral("« ") + text + QStringLiteral(" »");
}

// "+33 6 12 34 56 78" is too long for the field: written the French way, then
// without blanks, before anything is cut.
QString phoneFitted(QString number, int width)
{
    if (number.size() <= width)
        return number;
    static const QRegularExpression separators(QStringLiteral("[\\s.\\-]"));
    if (number.startsWith(QStringLiteral("+33"))) {
        QString digits = number.mid(3);
        digits.remove(QStringLiteral("(0)"));
        digits.remove(separators);
        static const QRegularExpression nine(QStringLiteral("^\\d{9}$"));
        // Nine digits after the country code: "0X XX XX XX XX" whatever the separators.
        if (nine.match(digits).hasMatch()) {
            number = u'0' + digits.left(1);
            for (int i = 1; i < 9; i += 2)
                number += u' ' + digits.mid(i, 2);
        } else {
            number = u'0' + digits;
        }
    }
    if (number.size() > width)
        number.remove(separators);
    return number;
}

QString folded(const QString& text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_KD))
        if (!c.isMark())
            out += c;
    return out.toCaseFolded().simplified();
}

// The photo as the program shows it: a JPEG file.
QByteArray jpegOf(const QByteArray& photo)
{
    if (photo.startsWith("\xFF\xD8"))
        return photo;
    QImage image;
    if (!image.loadFromData(photo))
        return {};
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return out;
}

bool hasPhoto(const Database& db, long long n)
{
    return QFileInfo::exists(db.findSideFile(QStringLiteral("photo"), n, QStringLiteral(".jpg")));
}

}  // namespace

bool usesDefaultMap(const Database& db)
{
    return QFileInfo(db.mapPath()).fileName().compare(QStringLiteral("frc.gif"), Qt::CaseInsensitive) == 0;
}

QPointF departmentPoint(const QString& postalCode, long long index, bool* found)
{
    const QString code = postalCode.trimmed();
    int department = 0;
    if (code.size() == 5 && code[0].isDigit() && code[1].isDigit())
        department = code.left(2).toInt();
    else if (code.startsWith(QStringLiteral("2A"), Qt::CaseInsensitive)
             || code.startsWith(QStringLiteral("2B"), Qt::CaseInsensitive))
        department = 20;
    const DepartmentSpot* spot = department ? departmentSpot(department) : nullptr;
    if (found)
        *found = spot != nullptr;
    if (!spot)
        return kNoDepartmentPoint;
    // Spread on a sunflower pattern so that the pins of one department do
    // not hide each other.
    const double angle = double(index) * 2.399963;
    const double r = spot->radius * 0.8 * std::sqrt((double(index % 64) + 0.5) / 64.0);
    return QPointF(std::round(spot->x + r * std::cos(angle)), std::round(spot->y + r * std::sin(angle)));
}

CardRecord cardOfContact(const Contact& contact, const QStringList& captions, const Placement& placement, int marker,
                         long long index, QStringList* notes)
{
    const QString who = contact.label() + QStringLiteral(" : ");
    CardRecord card;
    for (int k = kFieldCivility; k <= CardRecord::kFieldCount; ++k) {
        QString value = contact.field(k);
        for (QChar& c : value)
            if (c.category() == QChar::Other_Control)
                c = u' ';
        const int width = CardRecord::kWidths[size_t(k - 1)];
        if (k == kFieldLandline || k == kFieldMobile)
            value = phoneFitted(value.trimmed(), width);
        QString replaced;
        const QString fitted = nearestCp1252(value, &replaced);
        if (!replaced.isEmpty() && notes)
            *notes << who + quoted(value) + QStringLiteral(" écrit ") + quoted(fitted);
        value = fitted;
        if (value.size() > width) {
            if (notes)
                *notes << who + quoted(captions.value(k - 2)) + QStringLiteral(" coupé à ") + QString::number(width)
                              + QStringLiteral(" caractères, perdu : ") + quoted(value.mid(width));
            value.truncate(width);
        }
        card.fields[size_t(k - 1)] = padField(value, width);
    }
    bool found = true;
    const QPointF point = placement.byDepartment ? departmentPoint(contact.field(kFieldPostalCode), index, &found)
                                                 : placement.point;
    if (!found && notes)
        *notes << who + QStringLiteral("pas de département sur la carte pour le code postal ")
                      + quoted(contact.field(kFieldPostalCode).trimmed())
                      + QStringLiteral(", épinglée au large de la Bretagne");
    card.fields[0] = padField(QString::number(marker) + positionText(point.x(), point.y()), CardRecord::kWidths[0]);
    if (notes)
        for (const QString& what : contact.notKept)
            *notes << who + QStringLiteral("non repris, ") + what;
    return card;
}

QString duplicateKey(const CardRecord& card)
{
    const QString surname = folded(card.field(kFieldSurname)), first = folded(card.field(kFieldFirstNames));
    if (surname.isEmpty() && first.isEmpty())
        return {};
    return surname + u'\x1f' + first + u'\x1f' + folded(card.field(kFieldPostalCode));
}

DuplicateResolver alwaysAnswer(DuplicateChoice choice)
{
    return [choice](const CardRecord&, long long, const CardRecord&) { return DuplicateDecision{choice, true}; };
}

CardRecord filledCard(const CardRecord& card, const CardRecord& incoming)
{
    CardRecord out = card;
    for (int k = kFieldCivility; k <= CardRecord::kFieldCount; ++k)
        if (card.field(k).trimmed().isEmpty())
            out.fields[size_t(k - 1)] = incoming.field(k);
    return out;
}

QString ImportReport::summary() const
{
    return plainNumber(created) + QStringLiteral(" fiche(s) créée(s), ") + plainNumber(filled)
           + QStringLiteral(" complétée(s), ") + plainNumber(skipped) + QStringLiteral(" ignorée(s).");
}

ImportReport importContacts(Database& db, const std::vector<Contact>& contacts, const ImportOptions& options,
                            const DuplicateResolver& resolve)
{
    ImportReport report;
    const auto stop = [&](const Error& e) {
        report.error = e;
        return report;
    };
    if (!options.programFolder.isEmpty())
        if (Result<QString> kept = replaceAutomaticBackup(db, options.programFolder); !kept)
            return stop(kept.error());
    const QStringList captions = exchangeCaptions(db.captions());
    // The cards already there, by their names and postal code, in one pass.
    QHash<QString, long long> known;
    const Status read = db.store().forEachRaw(db.count(), [&](long long n, QByteArrayView bytes) {
        const QString key = duplicateKey(CardRecord::fromBytes(bytes));
        if (!key.isEmpty() && !known.contains(key))
            known.insert(key, n);
    });
    if (!read)
        return stop(read.error());
    std::optional<DuplicateDecision> forAll;
    // New cards go in batches, each made whole or not at all, their photos
    // with them.
    std::vector<CardRecord> batch;
    std::vector<QByteArray> batchPhotos;
    const auto flush = [&]() -> Status {
        if (batch.empty())
            return {};
        const Result<long long> made = db.createCards(batch, batchPhotos);
        if (!made)
            return made.error();
        report.created += qsizetype(batch.size());
        batch.clear();
        batchPhotos.clear();
        return {};
    };
    long long index = 0;
    for (const Contact& contact : contacts) {
        // Listed unless the contact is skipped: then nothing of it is kept.
        QStringList notes;
        const CardRecord card = cardOfContact(contact, captions, options.placement, options.marker, index++, &notes);
        const QString who = contact.label() + QStringLiteral(" : ");
        const QString key = duplicateKey(card);
        const QByteArray photo = contact.photo.isEmpty() ? QByteArray() : jpegOf(contact.photo);
        if (!contact.photo.isEmpty() && photo.isEmpty())
            notes << who + QStringLiteral("non repris, photo illisible");
        if (const auto same = known.constFind(key); !key.isEmpty() && same != known.cend()) {
            const long long n = *same;
            // A card of this very file is made before it is compared.
            if (n > db.count())
                if (Status s = flush(); !s)
                    return stop(s.error());
            const Result<CardRecord> existing = db.card(n);
            if (!existing)
                return stop(existing.error());
            const DuplicateDecision decision = forAll ? *forAll : resolve(card, n, *existing);
            if (decision.forAll)
                forAll = decision;
            const QString which = QStringLiteral("fiche n° ") + plainNumber(n);
            if (decision.choice == DuplicateChoice::Skip) {
                ++report.skipped;
                report.notes << who + QStringLiteral("déjà dans la ") + which + QStringLiteral(", ignorée");
                continue;
            }
            report.notes << notes;
            notes.clear();
            if (decision.choice == DuplicateChoice::Fill) {
                if (!photo.isEmpty() && !hasPhoto(db, n))
                    if (Status s = writeFileAtomic(db.attachmentPath(QStringLiteral("photo") + plainNumber(n),
                                                                     QStringLiteral("photo.jpg")),
                                                   photo);
                        !s)
                        return stop(s.error());
                if (Status s = db.storeCard(n, filledCard(*existing, card)); !s)
                    return stop(s.error());
                ++report.filled;
                report.notes << who + QStringLiteral("champs vides de la ") + which + QStringLiteral(" complétés");
                continue;
            }
            report.notes << who + QStringLiteral("créée bien que déjà dans la ") + which;
        }
        report.notes << notes;
        const long long next = db.count() + qsizetype(batch.size()) + 1;
        batchPhotos.push_back(photo);
        batch.push_back(card);
        if (!key.isEmpty() && !known.contains(key))
            known.insert(key, next);
        if (batch.size() >= kBatchSize)
            if (Status s = flush(); !s)
                return stop(s.error());
    }
    if (Status s = flush(); !s)
        return stop(s.error());
    return report;
}

}  // namespace tb
