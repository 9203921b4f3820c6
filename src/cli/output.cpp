#include "cli/cli.h"

#include "core/base/number_text.h"

#include <cstdio>

namespace cli {

Output& Output::operator<<(const QString& text)
{
    m_buffer += text.toUtf8();
    if (m_buffer.size() > (1 << 20))
        flush();
    return *this;
}

Output& Output::operator<<(const char* text)
{
    m_buffer += text;
    return *this;
}

void Output::flush()
{
    if (!m_buffer.isEmpty())
        std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), stdout);
    m_buffer.clear();
    std::fflush(stdout);
}

void printError(const QString& text)
{
    std::fputs((text + u'\n').toUtf8().constData(), stderr);
}

int failed(const tb::Error& error)
{
    printError(error.message());
    return kFailed;
}

int printList(const tb::Result<tb::CardList>& list)
{
    if (!list)
        return failed(list.error());
    Output out;
    for (int row = 0; row < list->size(); ++row)
        out << list->display(row) << "\t" << tb::plainNumber(list->number(row)) << "\n";
    return kDone;
}

}  // namespace cli
