#pragma once
// The case buttons of the text editors (note, letters): the selection in
// small letters or in capitals, selected again afterwards.
#include "core/base/codepage.h"

#include <QTextCursor>

template <typename Edit>
void changeSelectionCase(Edit* edit, bool upper)
{
    QTextCursor cursor = edit->textCursor();
    if (cursor.hasSelection()) {
        const int start = cursor.selectionStart();
        const QString selected = cursor.selectedText();
        // Both keep the length, so the same stretch is selected again.
        cursor.insertText(upper ? tb::upperWithinCodePage(selected) : selected.toLower());
        cursor.setPosition(start);
        cursor.setPosition(start + int(selected.size()), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    }
    edit->setFocus();
}
