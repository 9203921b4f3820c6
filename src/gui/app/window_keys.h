#pragma once
// The keys every window answers alike, modal ones included: F1 opens the
// guide on the page of the window in front, F10 its first menu, and every
// button shows an underlined letter of its own. One filter on the whole
// application, as a shortcut of the main window is blocked behind a modal window.
#include <QObject>

struct AppContext;

class WindowKeys : public QObject {
public:
    // Installed on the application until it is deleted.
    WindowKeys(AppContext& ctx, QObject* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& m_ctx;
};

// F10: the first menu of window's menu bar, opened (or its first entry
// highlighted); false when window has no menu bar.
bool openFirstMenu(QWidget* window);
