#include "core/journals/reminders.h"

#include "core/base/codepage.h"
#include "core/base/numeric.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/exchange/contact.h"
#include "core/journals/journal.h"
#include "core/journals/journal_dates.h"

#include <QFile>
#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tb {

namespace {

const QString kSettingsFile = QStringLiteral("rappels.txt");
const QString kMementoArrow = QStringLiteral("--->");

int daysValue(const QString& text, int fallback)
{
    bool ok = false;
    const int days = text.trimmed().toInt(&ok);
    return ok && days >= 0 && days <= ReminderSettings::kMostDays ? days : fallback;
}

// The card number of a memento file's name in any case ("M12.txt",
// "m12.TXT"), 0 for any other name.
long long mementoNumber(const char* name, const QByteArray& prefix, const QByteArray& extension)
{
    const size_t length = std::strlen(name);
    const size_t digitsEnd = length - size_t(extension.size());
    if (length <= size_t(prefix.size() + extension.size())
        || strncasecmp(name, prefix.constData(), size_t(prefix.size())) != 0
        || strcasecmp(name + digitsEnd, extension.constData()) != 0 || name[prefix.size()] == '0')
        return 0;
    long long n = 0;
    for (size_t i = size_t(prefix.size()); i < digitsEnd; ++i) {
        if (name[i] < '0' || name[i] > '9' || n > (1LL << 40))
            return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

// The memento files of cards 1..count that hold something, by card number,
// from one listing of the folder: most cards have an empty one (a copy of
// the template), which is never opened. A card with several spellings takes
// the one the program writes, otherwise the first in name order, as
// Database::findSideFile does.
// A file that cannot be read gives its error instead of its bytes: one such
// file must not hide every other card's reminders.
struct MementoFile {
    long long card = 0;
    QByteArray bytes;
    std::optional<Error> unread;
};
Result<std::vector<MementoFile>> readMementos(const QString& folder, long long count,
                                              const std::atomic<bool>* cancelled)
{
    const QByteArray path = QFile::encodeName(folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.constData()), &::closedir);
    if (!dir)
        return Error::fromErrno(errno, folder);
    const QByteArray prefix = sideFilePrefix(SideFile::Memento).toLatin1();
    const QByteArray extension = sideFileExtension(SideFile::Memento).toLatin1();
    // The number's digits matched, the name is the program's when its
    // prefix and extension are spelt as the program spells them.
    const auto spelledAsWritten = [&](const char* name) {
        return std::strncmp(name, prefix.constData(), size_t(prefix.size())) == 0
               && std::strcmp(name + std::strlen(name) - extension.size(), extension.constData()) == 0;
    };
    std::vector<std::string> names(size_t(std::max(0LL, count)) + 1);
    long long listed = 0;
    for (const dirent* entry; (entry = ::readdir(dir.get()));) {
        if ((++listed & 4095) == 0 && cancelled && cancelled->load())
            return std::vector<MementoFile>{};
        const long long n = mementoNumber(entry->d_name, prefix, extension);
        if (n < 1 || n > count)
            continue;
        std::string& kept = names[size_t(n)];
        if (kept.empty() || spelledAsWritten(entry->d_name)
            || (!spelledAsWritten(kept.c_str()) && strcasecmp(entry->d_name, kept.c_str()) < 0))
            kept = entry->d_name;
    }
    const int dirFd = ::dirfd(dir.get());
    std::vector<MementoFile> out;
    for (long long n = 1; n <= count; ++n) {
        if ((n & 1023) == 0 && cancelled && cancelled->load())
            return out;
        const std::string& name = names[size_t(n)];
        struct stat st;
        if (name.empty() || ::fstatat(dirFd, name.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0)
            continue;
        // Never waiting on a pipe put there under that name meanwhile.
        const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            out.push_back({n, {}, Error::fromErrno(errno, folder + QFile::decodeName(name.c_str()))});
            continue;
        }
        QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
        qsizetype got = 0;
        int err = 0;
        while (got < bytes.size()) {
            const ssize_t r = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (r < 0 && errno == EINTR)
                continue;
            if (r < 0)
                err = errno;
            if (r <= 0)
                break;
            got += r;
        }
        ::close(fd);
        if (err != 0) {
            out.push_back({n, {}, Error::fromErrno(err, folder + QFile::decodeName(name.c_str()))});
            continue;
        }
        bytes.truncate(got);
        out.push_back({n, std::move(bytes), std::nullopt});
    }
    return out;
}

}  // namespace

ReminderSettings readReminderSettings(const QString& programFolder)
{
    const QStringList lines = readValues(programFolder + kSettingsFile, 2);
    const ReminderSettings defaults;
    return {daysValue(lines.value(0), defaults.ahead), daysValue(lines.value(1), defaults.back)};
}

Status writeReminderSettings(const QString& programFolder, const ReminderSettings& settings)
{
    const QByteArray bytes = QByteArray::number(settings.ahead) + "\r\n" + QByteArray::number(settings.back) + "\r\n";
    return writeFileAtomic(programFolder + kSettingsFile, bytes);
}

std::optional<std::pair<QDate, QString>> mementoReminder(const QString& line, int referenceYear)
{
    if (line.size() < 12 || QStringView(line).mid(8, 4) != kMementoArrow)
        return std::nullopt;
    const std::optional<QDate> date = journalDate(line.left(8), referenceYear);
    if (!date)
        return std::nullopt;
    return std::pair{*date, line.mid(12)};
}

std::optional<BirthDate> birthDate(QByteArrayView text, const QDate& today)
{
    text = text.trimmed();
    char separator = 0;
    for (const char c : {'/', '.', '-'})
        if (text.contains(c)) {
            separator = c;
            break;
        }
    // Day and month of one or two digits, then a year of two or four, or none.
    int numbers[3] = {};
    int parts = 0;
    qsizetype digits = 0, yearDigits = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            const bool yearPart = parts == 2;
            if (parts > 2 || (yearPart ? (digits != 2 && digits != 4) : (digits < 1 || digits > 2)))
                return std::nullopt;
            if (yearPart)
                yearDigits = digits;
            ++parts;
            digits = 0;
            continue;
        }
        if (text[i] < '0' || text[i] > '9' || separator == 0)
            return std::nullopt;
        numbers[parts] = numbers[parts] * 10 + (text[i] - '0');
        ++digits;
    }
    if (parts < 2)
        return std::nullopt;
    BirthDate birth{numbers[0], numbers[1], numbers[2]};
    if (yearDigits == 2) {
        const int century = today.year() - today.year() % 100;
        birth.year = century + birth.year > today.year() ? century - 100 + birth.year : century + birth.year;
    }
    // A year without a 29 February is refused only when one is given.
    if ((parts == 3 && birth.year == 0) || !QDate(birth.year == 0 ? 2000 : birth.year, birth.month, birth.day).isValid())
        return std::nullopt;
    return birth;
}

std::optional<BirthDate> birthDate(const QString& text, const QDate& today)
{
    // Digits and separators are the same bytes in the code page; any other
    // character makes it no date.
    return birthDate(QByteArrayView(text.toLatin1()), today);
}

std::optional<QDate> birthdayIn(const BirthDate& birth, int year)
{
    QDate day(year, birth.month, birth.day);
    if (!day.isValid() && birth.month == 2 && birth.day == 29)
        day = QDate(year, 2, 28);
    if (!day.isValid() || (birth.year != 0 && day < QDate(birth.year, birth.month, std::min(birth.day, 28))))
        return std::nullopt;
    return day;
}

Result<std::vector<Reminder>> gatherReminders(const CardStore& store, long long count, const QStringList& captions,
                                              const QDate& today, const ReminderSettings& settings,
                                              const std::atomic<bool>* cancelled)
{
    const QDate from = today.addDays(-settings.back), to = today.addDays(settings.ahead);
    const auto stopped = [cancelled] { return cancelled && cancelled->load(); };
    const auto within = [&](const QDate& d) { return d >= from && d <= to; };

    // The memento lines within the days, by card.
    auto mementos = readMementos(store.folder(), count, cancelled);
    if (!mementos)
        return mementos.error();
    std::vector<Reminder> found;
    for (const MementoFile& file : *mementos) {
        if (file.unread) {
            found.push_back({today, file.card, QString(), kUnreadMementoText + file.unread->message()});
            continue;
        }
        for (const QString& line : journalEntries(file.bytes))
            if (const auto entry = mementoReminder(line, today.year()); entry && within(entry->first))
                found.push_back({entry->first, file.card, QString(), entry->second});
    }
    if (stopped())
        return std::vector<Reminder>{};

    // One pass over the records: the names, whether the card is active, and
    // the birthdays where a field is named for them.
    const int birthField = fieldOfRole(ContactRole::Birthday, exchangeCaptions(captions));
    // found is in card order, as the files were read.
    size_t next = 0;
    std::vector<Reminder> birthdays;
    const long long last = birthField ? count : (found.empty() ? 0 : found.back().card);
    Status read = store.forEachRaw(found.empty() || birthField ? 1 : found.front().card, last,
                                   [&](long long n, QByteArrayView record) {
        if ((n & 1023) == 0 && stopped())
            return;
        QString name;
        const auto nameOf = [&] {
            if (name.isEmpty())
                name = storedText(fromCp1252(CardRecord::fieldBytes(record, kFieldSurname))) + u' '
                       + storedText(fromCp1252(CardRecord::fieldBytes(record, kFieldFirstNames)));
            return name.trimmed();
        };
        // The marker is the numeric value of the field's first character.
        const bool active = numericValue(CardRecord::fieldBytes(record, kFieldPosition).first(1)) >= 1;
        // An archived card's lines are left out (card 0).
        for (; next < found.size() && found[next].card == n; ++next) {
            if (active)
                found[next].name = nameOf();
            else
                found[next].card = 0;
        }
        if (!active || !birthField)
            return;
        const QByteArrayView value = storedBytes(CardRecord::fieldBytes(record, CardField(birthField)));
        if (value.isEmpty())
            return;
        const std::optional<BirthDate> birth = birthDate(value, today);
        if (!birth)
            return;
        for (int year = from.year(); year <= to.year(); ++year)
            if (const std::optional<QDate> day = birthdayIn(*birth, year); day && within(*day))
                birthdays.push_back({*day, n, nameOf(), kBirthdayText});
    });
    if (!read)
        return read.error();
    if (stopped())
        return std::vector<Reminder>{};
    std::erase_if(found, [](const Reminder& r) { return r.card == 0; });
    // Birthdays first within a card and a day; memento lines keep their order.
    birthdays.insert(birthdays.end(), found.begin(), found.end());
    std::stable_sort(birthdays.begin(), birthdays.end(), [](const Reminder& a, const Reminder& b) {
        return a.date != b.date ? a.date < b.date : a.card < b.card;
    });
    return birthdays;
}

ReminderGathering::ReminderGathering(QObject* parent) : QObject(parent) {}

ReminderGathering::~ReminderGathering()
{
    cancel();
}

void ReminderGathering::cancel()
{
    if (m_cancelled)
        m_cancelled->store(true);
    if (m_thread.joinable())
        m_thread.join();
    ++m_run;
    m_running = false;
}

void ReminderGathering::start(const CardStore& store, long long count, const QStringList& captions,
                              const QDate& today, const ReminderSettings& settings)
{
    cancel();
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    m_running = true;
    const quint64 run = m_run;
    m_thread = std::thread([this, store, count, captions, today, settings, run, cancelled = m_cancelled] {
        Result<std::vector<Reminder>> result = gatherReminders(store, count, captions, today, settings, cancelled.get());
        if (cancelled->load())
            return;
        // Delivered on this object's thread; a run cancelled meanwhile is dropped.
        QMetaObject::invokeMethod(
            this,
            [this, run, result = std::move(result)] {
                if (run != m_run)
                    return;
                m_running = false;
                emit ready(result);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace tb
