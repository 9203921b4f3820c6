#include "cli/cli.h"

#include "core/base/number_text.h"

#include <cerrno>
#include <cstdio>

namespace cli {
namespace {
// The first error met writing the standard output.
int outputError = 0;

void noteOutputError()
{
    if (outputError == 0)
        outputError = errno != 0 ? errno : EIO;
}
}  // namespace

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
    errno = 0;
    if (!m_buffer.isEmpty() && std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), stdout) != size_t(m_buffer.size()))
        noteOutputError();
    m_buffer.clear();
    if (std::fflush(stdout) != 0)
        noteOutputError();
}

void printError(const QString& text)
{
    std::fputs((text + u'\n').toUtf8().constData(), stderr);
}

int finished(int code)
{
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        noteOutputError();
    return outputError == 0 ? code : failed(tb::Error::fromErrno(outputError, QStringLiteral("sortie standard")));
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
