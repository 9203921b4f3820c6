#pragma once
// Windows-1252 is the code page of every file Tabulon reads or writes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tb {

QString fromCp1252(QByteArrayView bytes);
QByteArray toCp1252(const QString& text);
// True when every character of text has a byte in the code page.
bool fitsCp1252(const QString& text);
// text without the characters the code page cannot hold.
QString keepCp1252(const QString& text);

}  // namespace tb
