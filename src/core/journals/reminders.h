#pragma once
// Reminders: the memento lines dated within a few days of today and the
// birthdays of the cards whose database has a birth-date field, gathered
// from the files without changing them, and the settings that say how far
// ahead and back to look ("rappels.txt" of the program folder).
#include "core/base/error.h"
#include "core/cards/card_store.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace tb {

// Days from today: ahead (7 by default) and back (0: a memento line may be
// a note of the past, not something to do).
struct ReminderSettings {
    int ahead = 7;
    int back = 0;
    static constexpr int kMostDays = 366;
    bool operator==(const ReminderSettings&) const = default;
};
// The defaults for a missing file, or for a line that holds no number of
// days from 0 to kMostDays.
ReminderSettings readReminderSettings(const QString& programFolder);
// Two lines, ahead then back, CR LF; written whole or not at all.
Status writeReminderSettings(const QString& programFolder, const ReminderSettings& settings);

struct Reminder {
    QDate date;
    long long card = 0;
    QString name;  // surname and first names
    QString text;  // the annotation, or kBirthdayText
};
inline const QString kBirthdayText = QStringLiteral("Anniversaire");
// A card whose memento cannot be read has a line of its own for today.
inline const QString kUnreadMementoText = QStringLiteral("Mémento illisible : ");

// A memento line as the memento writes it ("05/12/26--->annotation"): its
// date (the two-digit year nearest referenceYear, as the journals read it)
// and its annotation; none for any other line.
std::optional<std::pair<QDate, QString>> mementoReminder(const QString& line, int referenceYear);

// A birth date as typed: jj/mm/aa, jj/mm/aaaa (day and month on one or two
// digits, "/", "." or "-" between), or jj/mm without a year (what an
// address book's birthday without a year becomes). Year 0 when none is
// given; a two-digit year is the last one not after today. None when it is
// no calendar date.
struct BirthDate {
    int day = 0, month = 0, year = 0;
};
std::optional<BirthDate> birthDate(const QString& text, const QDate& today);
// The same on a field's bytes.
std::optional<BirthDate> birthDate(QByteArrayView text, const QDate& today);
// Its birthday in year: 29 February falls on 28 February in a year without
// one (the day before, so that the wish is not late). None before the birth.
std::optional<QDate> birthdayIn(const BirthDate& birth, int year);

// The reminders of the active cards 1..count from today - back to today +
// ahead, both included: oldest first, then by card, the birthday before the
// card's memento lines, which keep their order. captions: the ten of fields
// 11 to 20 (the birth-date field is the one that names it). Gives up,
// returning nothing, as soon as *cancelled is set.
Result<std::vector<Reminder>> gatherReminders(const CardStore& store, long long count, const QStringList& captions,
                                              const QDate& today, const ReminderSettings& settings,
                                              const std::atomic<bool>* cancelled = nullptr);

// The same on another thread: ready() is emitted on this object's thread
// with the reminders of the last start(); a new start() or the object's end
// cancels the one under way, whose result is never delivered.
class ReminderGathering : public QObject {
    Q_OBJECT
public:
    explicit ReminderGathering(QObject* parent = nullptr);
    ~ReminderGathering() override;

    void start(const CardStore& store, long long count, const QStringList& captions, const QDate& today,
               const ReminderSettings& settings);
    void cancel();
    bool running() const { return m_running; }

signals:
    void ready(const tb::Result<std::vector<tb::Reminder>>& reminders);

private:
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    quint64 m_run = 0;
    bool m_running = false;
};

}  // namespace tb
