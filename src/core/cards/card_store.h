#pragma once
// The card files of one database folder: "lesfiches.dat" (records), the count
// "NBFiches.dat", the captions "StrFic.txt" and the side files of each card.
#include "core/base/error.h"
#include "core/cards/card_record.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class CardStore {
public:
    // folder ends with "/".
    explicit CardStore(QString folder);

    QString folder() const { return m_folder; }
    QString file(const QString& name) const { return m_folder + name; }
    QString recordFile() const;
    // Side file of card n as the program names it ("F", 12, ".txt" -> F12.txt).
    QString sideFile(const QString& prefix, long long n, const QString& extension) const;

    // What "NBFiches.dat" holds: valid when it is a whole number, 0 or more.
    struct CountReading {
        bool exists = false;
        bool valid = false;
        long long value = 0;
    };
    CountReading readCount() const;
    // Rewrites "NBFiches.dat" with the number (no blank, never quoted).
    tb::Status writeCount(long long count) const;

    // Number of whole records in "lesfiches.dat".
    long long recordsInFile() const;
    // The last of the first records records that is not blank (0: none). A
    // deletion blanks the record it frees past the count.
    tb::Result<long long> lastUsedRecord(long long records) const;
    // Cuts "lesfiches.dat" back to its first count records (nothing when it
    // is not longer): what a creation wrote past the count is taken back.
    tb::Status truncateRecords(long long count) const;

    // Record n (from 1); blank when n is past the end of the file.
    tb::Result<CardRecord> read(long long n) const;
    // Writes record n; the rest is untouched. A record file that is a link out
    // of the folder is never written through (Erreur n° 70). A write lands whole or leaves
    // the file as it was. Records between the end and n become blank cards.
    tb::Status write(long long n, const CardRecord& record) const;
    // Whole records from card first on (bytes: a multiple of 630), the same way.
    tb::Status writeRecords(long long first, QByteArrayView bytes) const;

    // One pass over records 1..count in large blocks: fn(n, 630 bytes).
    // Records past the end of the file are not visited.
    tb::Status forEachRaw(long long count, const std::function<void(long long, QByteArrayView)>& fn) const;
    // The same over records first..count.
    tb::Status forEachRaw(long long first, long long count,
                          const std::function<void(long long, QByteArrayView)>& fn) const;

    // Records of numbers, in their order, with one opening of the file:
    // fn(n, 630 bytes), blank past the end of the file.
    tb::Status forEachOf(const std::vector<long long>& numbers,
                         const std::function<void(long long, QByteArrayView)>& fn) const;

    // The ten captions of fields 11 to 20 (fewer if the file holds fewer).
    QStringList readCaptions() const;
    tb::Status writeCaptions(const QStringList& captions) const;

private:
    QString m_folder;
};
