#pragma once
// Windows-1252 is the code page of every file Tabulon reads or writes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

namespace tb {

QString fromCp1252(QByteArrayView bytes);
// The same into out, which holds bytes.size() characters.
void fromCp1252Into(QByteArrayView bytes, QChar* out);
// One byte per character; a character the code page cannot hold becomes "?",
// so a text of n characters always gives n bytes.
QByteArray toCp1252(const QString& text);
// True when bytes are UTF-8 throughout: no overlong form, surrogate or
// sequence cut short at the end.
bool isValidUtf8(QByteArrayView bytes);
// The character of one byte.
QChar cp1252Char(uchar byte);
// The UTF-8 form of one byte's character (1 to 3 bytes), for the writers
// that turn records into UTF-8 without building texts.
struct Utf8Char {
    char bytes[3];
    quint8 size;
};
const std::array<Utf8Char, 256>& utf8OfCp1252();
// Writes the UTF-8 form of bytes at out (room for three times their size);
// returns the end of what was written.
char* cp1252ToUtf8(QByteArrayView bytes, char* out);
// True when every character of text has a byte in the code page.
bool fitsCp1252(const QString& text);
// text without the characters the code page cannot hold.
QString keepCp1252(const QString& text);
// text with each character the code page lacks written as its nearest
// letter ("Ł" as "L", "ő" as "o") or "?" when there is none; replaced gets the
// characters so written. One character per character, as toCp1252 counts.
QString nearestCp1252(const QString& text, QString* replaced = nullptr);
// text in capitals, save the letters whose capital is not one character of
// the code page ("ß", "µ"): those stay as they are, so the text keeps its
// length and still fits the code page.
QString upperWithinCodePage(const QString& text);

}  // namespace tb
