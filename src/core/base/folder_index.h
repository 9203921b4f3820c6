#pragma once
// The files of one folder, listed once, found whatever the case of their
// names (databases copied from other systems hold "PHOTO3.JPG" or "f3.txt").
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

namespace tb {

class FolderIndex {
public:
    FolderIndex() = default;
    // folder ends with "/". Lists its files, hidden ones included.
    explicit FolderIndex(const QString& folder);

    QString folder() const { return m_folder; }
    // The name on disk of name, whatever its case; "" when there is none.
    QString find(const QString& name) const { return m_names.value(name.toLower()); }
    bool contains(const QString& name) const { return m_names.contains(name.toLower()); }
    // Every spelling on disk of name (a folder may hold "f3.txt" and "F3.TXT").
    QStringList spellings(const QString& name) const;
    const QStringList& names() const { return m_listed; }
    // Kept in step with what the caller renames or removes.
    void insert(const QString& name);
    void remove(const QString& name);

    // True while the folder is as listed. A file added within the same tick
    // of the file system's clock leaves the folder's time as it was: a
    // listing taken within a second of a change is never taken as current.
    bool isCurrent() const;

private:
    QString m_folder;
    QStringList m_listed;
    QHash<QString, QString> m_names;  // lower-case name -> name on disk
    QDateTime m_time;
    bool m_settled = false;
};

// folder + the name on disk of name whatever its case; folder + name when
// there is none.
QString fileAnyCase(const QString& folder, const QString& name);

}  // namespace tb
