#pragma once
// The tools the text editors share (note, letters).
#include "core/base/codepage.h"

#include <QPushButton>
#include <QTextCursor>

// A button of an editor's tool rows: named, its caption as its accessible
// name, never pressed by Return (Return types a new line).
inline QPushButton* toolButton(QWidget* parent, const char* name, const QString& caption, const QString& tip = {})
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    if (!tip.isEmpty())
        button->setToolTip(tip);
    return button;
}

// The case buttons: the selection in small letters or in capitals, selected
// again afterwards.
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
