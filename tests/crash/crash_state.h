#pragma once
// What the crash test compares: a database's cards and files, as the worker
// expects them and as read back from the disk.
#include "core/base/safe_write.h"
#include "core/db/database.h"
#include "core/journals/journal.h"
#include "core/tools/note_text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <vector>

namespace crash {

struct CardFiles {
    QStringList memento;
    QString note;
    bool photo = false;
};

struct State {
    std::vector<QByteArray> records;  // 630 bytes each, cards 1..count
    std::vector<CardFiles> files;     // the same cards' memento, note and photo
    QStringList captions;
    qint64 exportSize = -1;  // -1: no "export.txt"

    QByteArray digest() const  // hex, of everything above
    {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(QByteArray::number(qint64(records.size())) + '\n');
        for (const QByteArray& r : records)
            hash.addData(r);
        for (const CardFiles& f : files)
            hash.addData(f.memento.join(u'\x1f').toUtf8() + '\x1e' + f.note.toUtf8() + (f.photo ? '\x1c' : '\x1d'));
        hash.addData(captions.join(u'\x1f').toUtf8() + '\n' + QByteArray::number(exportSize));
        return hash.result().toHex();
    }
};

inline State readState(const tb::Database& db)
{
    State s;
    db.store().forEachRaw(db.count(), [&](long long, QByteArrayView record) { s.records.emplace_back(record.toByteArray()); })
        .ok();
    for (long long n = 1; n <= qint64(s.records.size()); ++n)
        s.files.push_back({tb::journalEntries(tb::readWholeFile(db.findSideFile(tb::SideFile::Memento, n))),
                           tb::loadNote(db.findSideFile(tb::SideFile::Note, n)),
                           QFileInfo::exists(db.findSideFile(tb::SideFile::Photo, n))});
    s.captions = db.captions();
    const QFileInfo exported(db.file("export.txt"));
    s.exportSize = exported.exists() ? exported.size() : -1;
    return s;
}

// A new card's memento and note: the database's templates.
inline CardFiles templateFiles(const tb::Database& db, bool photo = false)
{
    return {tb::journalEntries(tb::readWholeFile(db.file("M.txt"))), tb::loadNote(db.file("F.txt")), photo};
}

// Where the worker keeps its backups and restores (at most one whole copy each).
inline QString backupsFolder(const QString& programFolder) { return programFolder + QStringLiteral("Copies/"); }
inline QString restoresFolder(const QString& programFolder) { return programFolder + QStringLiteral("Restaurations/"); }

// The copies in folder that are visible (not being made).
inline QStringList visibleCopies(const QString& folder)
{
    QStringList copies;
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        copies << folder + name + u'/';
    return copies;
}

}  // namespace crash
