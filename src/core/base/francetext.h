#pragma once
#include "core/base/error.h"

#include <QString>

// Whole text file read and write, in the code page of the files.
namespace Francetext {

// Whole content of the file, line ends included; "" when missing.
QString ChargeTexte(const QString& path);
// The file receives text followed by one CR LF.
tb::Status SauveTexte(const QString& path, const QString& text);

}  // namespace Francetext
