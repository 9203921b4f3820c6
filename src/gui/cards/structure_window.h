#pragma once
// "Structure fiche individuelle": the captions of fields 11 to 20, and the
// commands that open the database's spreadsheet and note templates.
#include "gui/app/app_context.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;

class FFrance26 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance26(AppContext& ctx, QWidget* parent = nullptr);

    // The current captions beside empty boxes.
    void prepare();

private:
    void storeCaptions();

    static constexpr int kCustom = 10;
    std::array<QLabel*, kCustom> m_current{};   // Label1(10) to Label1(19)
    std::array<QLineEdit*, kCustom> m_typed{};  // Text1(10) to Text1(19)
    AppContext& m_ctx;
};

// MExel: "F.xls" in the spreadsheet program.
void editSpreadsheetTemplate(AppContext& ctx);
// MNote: "F.txt" in the word processor.
void editNoteTemplate(AppContext& ctx);
