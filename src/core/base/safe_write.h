#pragma once
// Whole-file writes through a temporary file, synced and renamed over the
// original: a crash or a full disk never leaves a half-written or empty file.
#include "core/base/error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>

namespace tb {

class TempFile;

// The same guarantee for a file too large to build in memory first: bytes are
// appended through a buffer into a temporary file that commit() syncs and
// renames over the target. Dropped without commit(), the target is untouched.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The first failure so far (opening or writing); later appends do nothing.
    Status status() const { return m_status; }
    // Room for n more bytes at the end of the buffer, to be filled in place.
    char* reserve(qsizetype n);
    // Gives back the last n bytes reserved and not filled.
    void unreserve(qsizetype n) { m_used -= n; }
    void append(QByteArrayView bytes);
    Status commit();

private:
    void flush();

    QString m_path;
    std::unique_ptr<TempFile> m_temp;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    Status m_status;
};

Status writeFileAtomic(const QString& path, const QByteArray& bytes);
// Makes the folder's names (files made, renamed or removed) survive a power cut.
void syncFolder(const QString& folder);
// Copies src over dst (replacing it) the same way.
Status copyFileReplacing(const QString& src, const QString& dst);
enum class MissingSource { Fail, Skip };
// Copies each (source, target) pair as copyFileReplacing does, with one
// flush to disk for them all instead of one per file: each target is its old
// file or the whole copy, never part of one. The sources are read in order.
Status copyFilesReplacing(const QList<std::pair<QString, QString>>& copies,
                          MissingSource missing = MissingSource::Fail);
// Copies every file of folder from (and of its subfolders) into folder to,
// made when missing, as copyFilesReplacing does; the files named in first
// are read before the others, in that order; those named in leaveOut (in
// from itself) are not copied.
Status copyFolder(const QString& from, const QString& to, const QStringList& first = {},
                  const QStringList& leaveOut = {});
// Whole content of a file, or the error that stopped the reading.
Result<QByteArray> readFile(const QString& path);
// At most maxBytes from the start of a file. Only a regular file is read: a
// pipe or a device under that name is refused at once, never waited on.
Result<QByteArray> readFileStart(const QString& path, qint64 maxBytes);
// The temporary files that writes to files of folder left when they were cut
// short (a killed export): removed, unless a write still has them open.
void removeAbandonedTemporaries(const QString& folder);
// Whole content of a file, empty when missing or unreadable.
QByteArray readWholeFile(const QString& path);

}  // namespace tb
