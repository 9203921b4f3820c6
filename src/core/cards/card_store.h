#pragma once
// The card files of one database folder: "lesfiches.dat" (records), the count
// "NBFiches.dat", the captions "StrFic.txt" and the side files of each card.
#include "core/cards/card_record.h"

#include <QString>
#include <QStringList>
#include <functional>

class CardStore {
public:
    // folder ends with "/".
    explicit CardStore(QString folder);

    QString folder() const { return m_folder; }
    QString file(const QString& name) const { return m_folder + name; }
    // Side file of card n: prefix + n + extension ("F", 12, ".txt" -> F12.txt).
    QString sideFile(const QString& prefix, long long n, const QString& extension) const;

    // The first value of "NBFiches.dat" as written (may be " 12"); *exists
    // false when the file is missing.
    QString readCountText(bool* exists = nullptr) const;
    // Reads the count into label6 (the shared Label6); a missing file leaves
    // it as it was. Returns the count as a number (never negative).
    long long readCountInto(QString& label6) const;
    // The count as a number: text or a negative number gives 0.
    long long readCount() const;
    // Rewrites "NBFiches.dat" with one line.
    bool writeCountText(const QString& text) const;

    // Number of whole records in "lesfiches.dat".
    long long recordsInFile() const;
    // Cards a whole-database pass visits: the count, but never past the last
    // whole record of the file (missing records are blank and show nothing),
    // so a garbled count neither hangs nor exhausts memory.
    long long cardsToVisit(long long count) const;

    // Record n (from 1); blank when n is past the end of the file.
    CardRecord read(long long n) const;
    // Writes record n (extends the file when needed); the rest is untouched.
    bool write(long long n, const CardRecord& record) const;

    // One pass over records 1..count in large blocks: fn(n, 630 bytes).
    // Records past the end of the file are not visited.
    void forEachRaw(long long count, const std::function<void(long long, QByteArrayView)>& fn) const;
    // Same, decoded.
    void forEach(long long count, const std::function<void(long long, const CardRecord&)>& fn) const;

    // The ten captions of fields 11 to 20 (fewer if the file holds fewer).
    QStringList readCaptions() const;
    bool writeCaptions(const QStringList& captions) const;

private:
    QString m_folder;
};
