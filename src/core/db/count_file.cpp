#include "core/db/count_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tb {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The first value of the count file when it is unquoted ASCII, as read
// from its first kilobytes. Nothing when the file cannot be read or the
// value needs the code page's full reading.
std::optional<std::string> plainFirstValue(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[4096];
    while (ok && bytes.size() < size_t(kValueFileReadLimit)) {
        const size_t wanted = std::min(sizeof buffer, size_t(kValueFileReadLimit) - bytes.size());
        const ssize_t n = ::read(fd, buffer, wanted);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        bytes.append(buffer, size_t(n));
        // The value ends at the first comma or line end.
        if (bytes.find_first_of(",\r\n") != std::string::npos)
            break;
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    size_t i = bytes.find_first_not_of(" \t");
    if (i == std::string::npos)
        return std::string();
    if (bytes[i] == '"')
        return std::nullopt;
    const size_t end = std::min(bytes.find_first_of(",\r\n", i), bytes.size());
    std::string value = bytes.substr(i, end - i);
    for (const char c : value)
        if (static_cast<unsigned char>(c) >= 0x80)
            return std::nullopt;
    return value;
}

}  // namespace

std::optional<long long> wholeCount(std::string_view value)
{
    size_t i = 0;
    while (i < value.size() && isBlank(value[i]))
        ++i;
    if (i < value.size() && value[i] == '+')
        ++i;
    long long n = 0;
    size_t digits = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i, ++digits) {
        if (digits == 15)
            return std::nullopt;
        n = n * 10 + (value[i] - '0');
    }
    if (digits == 0)
        return std::nullopt;
    while (i < value.size() && isBlank(value[i]))
        ++i;
    if (i < value.size())
        return std::nullopt;
    return n;
}

bool isDatabaseFolderPath(const std::string& folder)
{
    return isRegularFile(folder + kCountFileName) && isRegularFile(folder + kMapFileName);
}

bool isProgramFolderPath(const std::string& folder)
{
    return isRegularFile(folder + kDefaultMapFileName) && isRegularFile(folder + kDepartmentsFileName);
}

std::optional<long long> exactCount(const std::string& folder)
{
    if (!isDatabaseFolderPath(folder) || isProgramFolderPath(folder))
        return std::nullopt;
    long long records = 0;
    struct stat st {};
    if (::stat((folder + kRecordFileName).c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return std::nullopt;
        records = st.st_size / kRecordSize;
    } else if (errno != ENOENT) {
        return std::nullopt;
    }
    const std::optional<std::string> value = plainFirstValue(folder + kCountFileName);
    if (!value)
        return std::nullopt;
    const std::optional<long long> count = wholeCount(*value);
    if (!count || *count != records)
        return std::nullopt;
    return count;
}

bool preadAll(int fd, char* data, long long size, long long at, long long* got)
{
    *got = 0;
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, size_t(size), off_t(at));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        data += n;
        size -= n;
        at += n;
        *got += n;
    }
    return true;
}

bool readRecordBlocks(const std::string& path, long long first, long long count,
                      const std::function<void(long long number, const char* records, long long size)>& fn)
{
    first = std::max(1LL, first);
    if (count < first)
        return true;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    const std::unique_ptr<char[]> block(new char[size_t(std::min(kRecordsPerBlock, count - first + 1) * kRecordSize)]);
    bool ok = true;
    for (long long n = first; n <= count;) {
        const long long want = std::min(kRecordsPerBlock, count - n + 1);
        long long got = 0;
        if (!(ok = preadAll(fd, block.get(), want * kRecordSize, (n - 1) * kRecordSize, &got)))
            break;
        const long long records = got / kRecordSize;
        if (records > 0)
            fn(n, block.get(), records);
        n += records;
        if (records < want)
            break;  // end of the file
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

}  // namespace tb
