#pragma once
// What the two file browsers share: drive, folder and file lists with the
// preview, the confirm button, the opening in the program folder.
#include "gui/app/app_context.h"

#include <QWidget>

class FilePickerWidget;
class QPushButton;
class QVBoxLayout;

class BrowserWindowBase : public QWidget {
    Q_OBJECT
public:
    FilePickerWidget* picker() const { return m_picker; }
    // As a double-click on a folder / a click on a file would.
    bool openFolder(const QString& folder);
    void clickFile(const QString& name);

protected:
    QPushButton* Command1 = nullptr;  // the confirm button

    BrowserWindowBase(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& title,
                      const QString& pattern, const QString& confirmCaption);
    // Adds the confirm button below what the window added, opens the program
    // folder and centres the window.
    void finishOpening(const QSize& size);

    AppContext& m_ctx;
    FilePickerWidget* m_picker = nullptr;
    QVBoxLayout* m_layout = nullptr;
};
