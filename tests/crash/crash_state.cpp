#include "crash_state.h"

#include "core/base/safe_write.h"
#include "core/journals/journal.h"
#include "core/tools/note_text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace crash {

QByteArray State::digest() const
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

CardFiles templateFiles(const tb::Database& db)
{
    return {tb::journalEntries(tb::readWholeFile(db.file("M.txt"))), tb::loadNote(db.file("F.txt"))};
}

State readState(const tb::Database& db)
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

QStringList visibleCopies(const QString& folder)
{
    QStringList copies;
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        copies << folder + name + u'/';
    return copies;
}

qint64 exportSizeFor(long long count)
{
    qint64 line = 2;
    for (int k = 2; k <= CardRecord::kFieldCount; ++k)
        line += CardRecord::kWidths[size_t(k - 1)] + 1;
    return count * line;
}

}  // namespace crash
