#pragma once
#include "gui/map/browser_window_base.h"

// "Choix d'un logiciel": the executable file of one of the six external
// programs; "Valider" writes its path file.
class Ffrance25 : public BrowserWindowBase {
    Q_OBJECT
public:
    explicit Ffrance25(AppContext& ctx, QWidget* parent = nullptr);

    // The program being chosen, 1 to 6 (spreadsheet ... scanner).
    void setProgramCode(int code) { m_code = code; }
    int programCode() const { return m_code; }

private:
    void validate();

    int m_code = 0;
};
