#pragma once
// The form letters: HTML files in UTF-8 in the program folder's "Lettres/",
// one per letter, named by the letter ("Relance.html").
#include "core/base/error.h"

#include <QString>
#include <QStringList>

namespace tb {

// programFolder + "Lettres/".
QString lettersFolder(const QString& programFolder);
// The letters' names, in French order ("Courrier simple", "Relance").
QStringList letterNames(const QString& programFolder);
QString letterPath(const QString& programFolder, const QString& name);

// A name that can be a file name: not empty, no "/", "\\", control
// character, nor a leading dot (Erreur n° 52 otherwise).
Status checkLetterName(const QString& name);

Result<QString> loadLetter(const QString& programFolder, const QString& name);
// Written whole through a temporary file; the folder is made when missing.
Status saveLetter(const QString& programFolder, const QString& name, const QString& html);
Status removeLetter(const QString& programFolder, const QString& name);

}  // namespace tb
