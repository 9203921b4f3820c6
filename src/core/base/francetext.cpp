#include "core/base/francetext.h"

#include "core/base/codepage.h"
#include "core/base/safe_write.h"

namespace Francetext {

QString ChargeTexte(const QString& path)
{
    return tb::fromCp1252(tb::readWholeFile(path));
}

tb::Status SauveTexte(const QString& path, const QString& text)
{
    return tb::writeFileAtomic(path, tb::toCp1252(text) + "\r\n");
}

}  // namespace Francetext
