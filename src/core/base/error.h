#pragma once
// Outcome of every command that reads or writes the user's files: success, or
// an error number with a French text, shown as "Erreur n° N : text".
#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace tb {

constexpr int kErrorBadFileName = 52;
constexpr int kErrorFileNotFound = 53;
constexpr int kErrorDiskFull = 61;
constexpr int kErrorPermission = 70;
constexpr int kErrorPathAccess = 75;
constexpr int kErrorPathNotFound = 76;
// A refusal with a message of its own and no error number.
constexpr int kNoErrorNumber = 0;

struct Error {
    int number = kErrorPathAccess;
    QString text;

    // "Erreur n° 61 : ..." (no " : " when there is no text); the text alone
    // for kNoErrorNumber.
    QString message() const;

    // The system's error (errno) on path, mapped onto the numbers above.
    static Error fromErrno(int err, const QString& path);
};

// Success, or an Error.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : m_error(std::move(error)) {}
    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

// A value, or an Error.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(Error error) : m_v(std::move(error)) {}
    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(m_v); }
    T& value() & { return std::get<0>(m_v); }
    T&& value() && { return std::get<0>(std::move(m_v)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    const Error& error() const { return std::get<1>(m_v); }
    Status status() const { return ok() ? Status() : Status(error()); }

private:
    std::variant<T, Error> m_v;
};

}  // namespace tb
