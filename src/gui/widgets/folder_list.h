#pragma once
// A folder list: the parent ("..") and the subfolders of one folder; a
// double-click (or Enter) on a name moves the list into that folder.
#include <QListWidget>

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // Lists folder; false (and nothing changed) when it cannot be read.
    bool openFolder(const QString& folder);
    // The folder listed, ending with "/".
    QString folder() const { return m_folder; }

signals:
    void folderOpened(const QString& folder);

private:
    QString m_folder;
};
