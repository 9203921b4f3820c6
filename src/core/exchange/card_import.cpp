#include "core/exchange/card_import.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/cards/attachments.h"
#include "core/cards/pin_field.h"
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/db/demo_database.h"
#include "core/map/default_map.h"
#include "core/map/preview_image.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace tb {

namespace {

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

bool hasPhoto(const Database& db, long long n)
{
    return QFileInfo::exists(db.findSideFile(SideFile::Photo, n));
}

}  // namespace

QByteArray jpegOf(const QByteArray& photo)
{
    // As for any picture the program shows: never one too large to decode.
    constexpr qsizetype kMaxPhotoBytes = 10 << 20;
    if (photo.size() > kMaxPhotoBytes)
        return {};
    QByteArray bytes = photo;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QImageReader reader(&in);
    if (!reader.canRead() || !isLoadablePictureSize(reader.size()))
        return {};
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

Status keepContactPhoto(Database& db, long long n, const QByteArray& jpeg)
{
    if (jpeg.isEmpty())
        return detachFile(db.file(sideFileName(SideFile::Photo, n)));
    return writeFileAtomic(db.findSideFile(SideFile::Photo, n), jpeg);
}

bool usesDefaultMap(const Database& db)
{
    return isDefaultMap(db.mapPath());
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
    if (notes)
        for (const QString& remark : contact.remarks)
            *notes << who + remark;
    for (CardField k = kFieldCivility; k <= kFieldLast; ++k) {
        QString value = contact.field(k);
        // A spreadsheet drops the leading zero of "07190".
        static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
        if (k == kFieldPostalCode && fourDigits.match(value.trimmed()).hasMatch()
            && (contact.country.trimmed().isEmpty() || isFrance(contact.country))) {
            if (notes)
                *notes << who + QStringLiteral("code postal ") + quoted(value.trimmed()) + QStringLiteral(" lu ")
                              + quoted(u'0' + value.trimmed());
            value = u'0' + value.trimmed();
        }
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
    if (contact.pin) {
        // Tabulon's own export: the card keeps its marker and pin.
        PinField(contact.pin->marker, contact.pin->x, contact.pin->y).writeInto(card);
        if (notes)
            for (const QString& what : contact.notKept)
                *notes << who + QStringLiteral("non repris, ") + what;
        return card;
    }
    bool found = true;
    // The code as the card holds it, its lost zero given back.
    const QString postalCode = card.field(kFieldPostalCode).trimmed();
    const QPointF point = placement.byDepartment ? departmentPoint(postalCode, index, &found) : placement.point;
    if (!found && notes)
        *notes << who + QStringLiteral("pas de département sur la carte pour le code postal ") + quoted(postalCode)
                      + QStringLiteral(", épinglée au large de la Bretagne");
    PinField(QChar(u'0' + marker), point.x(), point.y()).writeInto(card);
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

QString emailKey(const CardRecord& card)
{
    return card.field(kFieldEmail).trimmed().toCaseFolded();
}

QString mobileKey(const CardRecord& card)
{
    const QString number = card.field(kFieldMobile).trimmed();
    QString digits;
    for (QChar c : number)
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
    // "+33 (0)6…" holds its zero already.
    const int country = number.startsWith(u'+') && digits.startsWith(QStringLiteral("33")) ? 2
                        : digits.startsWith(QStringLiteral("0033"))                        ? 4
                                                                                           : 0;
    if (country) {
        digits.remove(0, country);
        if (!digits.startsWith(u'0'))
            digits.prepend(u'0');
    }
    return digits.size() >= 8 ? digits : QString();
}

QString duplicateRuleText(DuplicateRule rule)
{
    switch (rule) {
    case DuplicateRule::Names:
        return QStringLiteral("même nom, mêmes prénoms et même code postal");
    case DuplicateRule::Email:
        return QStringLiteral("même adresse e-mail");
    case DuplicateRule::Mobile:
        return QStringLiteral("même numéro de portable");
    }
    return {};
}

DuplicateResolver alwaysAnswer(DuplicateChoice choice)
{
    return [choice](const CardRecord&, long long, const CardRecord&, DuplicateRule) {
        return DuplicateDecision{choice, true};
    };
}

CardRecord filledCard(const CardRecord& card, const CardRecord& incoming)
{
    CardRecord out = card;
    for (CardField k = kFieldCivility; k <= kFieldLast; ++k)
        if (card.field(k).trimmed().isEmpty())
            out.fields[size_t(k - 1)] = incoming.field(k);
    return out;
}

QString ImportReport::summary() const
{
    QString text = countText(created) + QStringLiteral(" fiche(s) créée(s), ") + countText(filled)
                   + QStringLiteral(" complétée(s), ") + countText(skipped) + QStringLiteral(" ignorée(s)");
    if (notCreated)
        text += QStringLiteral(", ") + countText(notCreated) + QStringLiteral(" contact(s) sans champ non créé(s)");
    return text + u'.';
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
    // The cards there before the import, by each rule's key, in one pass; the
    // first card of a key is the one named.
    using Key = QString (*)(const CardRecord&);
    constexpr std::array<std::pair<DuplicateRule, Key>, 3> rules = {
        {{DuplicateRule::Names, duplicateKey}, {DuplicateRule::Email, emailKey}, {DuplicateRule::Mobile, mobileKey}}};
    std::array<QHash<QString, long long>, rules.size()> known;
    const Status read = db.store().forEachRaw(db.count(), [&](long long n, QByteArrayView bytes) {
        const CardRecord card = CardRecord::fromBytes(bytes);
        for (size_t r = 0; r < rules.size(); ++r)
            if (const QString key = rules[r].second(card); !key.isEmpty())
                known[r].insert(key, std::min(n, known[r].value(key, n)));
    });
    if (!read)
        return stop(read.error());
    const auto match = [&](const CardRecord& card) -> std::optional<std::pair<long long, DuplicateRule>> {
        for (size_t r = 0; r < rules.size(); ++r)
            if (const QString key = rules[r].second(card); !key.isEmpty())
                if (const auto same = known[r].constFind(key); same != known[r].cend())
                    return std::pair{*same, rules[r].first};
        return std::nullopt;
    };
    std::optional<DuplicateDecision> forAll;
    // Contacts of this file by their names: a repeat is created, and said.
    QHash<QString, long long> inFile;
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
    long long position = 0;
    for (const Contact& contact : contacts) {
        ++position;
        // Nothing of it would land on the card: no blank card is made.
        const bool blank = std::all_of(contact.fields.begin() + 1, contact.fields.end(),
                                       [](const QString& f) { return f.trimmed().isEmpty(); });
        if (blank) {
            ++report.notCreated;
            QString line = QStringLiteral("Contact n° ") + plainNumber(position)
                           + QStringLiteral(" du fichier : aucun champ pour la fiche, non créée");
            QStringList held = contact.notKept;
            if (!contact.photo.isEmpty())
                held << QStringLiteral("une photo");
            if (!held.isEmpty())
                line += QStringLiteral(" (") + held.join(QStringLiteral(" ; ")) + u')';
            report.notes << line;
            continue;
        }
        // Listed unless the contact is skipped: then nothing of it is kept.
        QStringList notes;
        const CardRecord card = cardOfContact(contact, captions, options.placement, options.marker, index++, &notes);
        const QString who = contact.label() + QStringLiteral(" : ");
        const QByteArray photo = contact.photo.isEmpty() ? QByteArray() : jpegOf(contact.photo);
        if (!contact.photo.isEmpty() && photo.isEmpty())
            notes << who + QStringLiteral("non repris, photo illisible ou trop grande (plus de 10 Mo, de 10000 pixels "
                                          "de côté ou de 50 millions de pixels)");
        if (const auto same = match(card)) {
            const auto [n, rule] = *same;
            const Result<CardRecord> existing = db.card(n);
            if (!existing)
                return stop(existing.error());
            const DuplicateDecision decision = forAll ? *forAll : resolve(card, n, *existing, rule);
            if (decision.forAll)
                forAll = decision;
            const QString which =
                QStringLiteral("fiche n° ") + plainNumber(n) + QStringLiteral(" (") + duplicateRuleText(rule) + u')';
            if (decision.choice == DuplicateChoice::Skip) {
                ++report.skipped;
                report.notes << who + QStringLiteral("déjà dans la ") + which + QStringLiteral(", ignorée");
                continue;
            }
            report.notes << notes;
            notes.clear();
            if (decision.choice == DuplicateChoice::Fill) {
                if (!photo.isEmpty() && !hasPhoto(db, n))
                    if (Status s = keepContactPhoto(db, n, photo); !s)
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
        if (const QString key = duplicateKey(card); !key.isEmpty()) {
            if (const auto earlier = inFile.constFind(key); earlier != inFile.cend())
                report.notes << who + QStringLiteral("même contact que le n° ") + plainNumber(*earlier)
                                    + QStringLiteral(" du fichier, créé lui aussi (fiche n° ") + plainNumber(next) + u')';
            else
                inFile.insert(key, position);
        }
        batchPhotos.push_back(photo);
        batch.push_back(card);
        if (batch.size() >= std::max<size_t>(1, options.batchSize))
            if (Status s = flush(); !s)
                return stop(s.error());
    }
    if (Status s = flush(); !s)
        return stop(s.error());
    return report;
}

}  // namespace tb
