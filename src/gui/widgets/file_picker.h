#pragma once
// The drive, folder and file lists with the path labels and the picture
// preview that both browsers (FFrance22, Ffrance23) are built from.
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class FolderList;
class QVBoxLayout;

class FilePickerWidget : public QWidget {
    Q_OBJECT
public:
    explicit FilePickerWidget(QWidget* parent = nullptr);

    // "*.jpg;*.gif;*.bmp": the file list's pattern, matched without regard to case.
    void setPattern(const QString& pattern);
    QString pattern() const { return m_pattern; }
    // Lists only the executable files that match the pattern, with no preview.
    void setExecutablesOnly(bool on);

    // Lists folder (as a double-click in Dir1 does); false when it cannot be read.
    bool openFolder(const QString& folder);
    // Chooses the file name of the listed folder, as a click in File1 does.
    void clickFile(const QString& name);
    // Chooses entry index of Drive1.
    void chooseDrive(int index);

    // Listed folder, ending with "/".
    QString folder() const { return m_folder; }
    // Natural size of the image chosen, invalid when none could be read.
    QSize imageSize() const { return m_imageSize; }
    // Where a preview fits in: Ffrance23 puts its text preview there.
    QVBoxLayout* previewColumn() const { return m_previewColumn; }

    // The full path of the file chosen, or "".
    QString chosenPath() const;
    // The picture preview, or room for the window's own (a text).
    void setPictureVisible(bool visible);
    // TxtChemin: the folder listed, or what the window builds from it.
    void setPathText(const QString& text);
    QString pathText() const;
    // Label1, the full path of the file chosen.
    void setChosenPathVisible(bool visible);

    static constexpr QSize previewSize{240, 180};

signals:
    // After a file click, Label1 holding the chosen path.
    void fileClicked(const QString& path);
    // Return or a double-click on a file: the window's confirm button.
    void fileChosen();

private:
    QComboBox* Drive1 = nullptr;
    FolderList* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* TxtChemin = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Pctdim = nullptr;

    void fillDrives();
    void selectDriveOf(const QString& folder);
    void refreshFiles();
    void showPreview(const QString& path);
    void onFolderOpened(const QString& folder);

    QString m_pattern;
    bool m_executablesOnly = false;
    QString m_folder;
    QSize m_imageSize;
    QVBoxLayout* m_previewColumn = nullptr;
};
