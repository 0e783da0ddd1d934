#pragma once

#include <string>
#include <utility>
#include <variant>

namespace brindle {

// A failure as the operator will read it: the platform's own description ("No space left on device"),
// never a code.
struct Error
{
    std::string description;
    // The path names no file (nothing there, or a folder): a reader trying several places moves on.
    bool missing = false;
};

// Outcome of an operation that returns nothing: ok, or an Error.
class [[nodiscard]] Status
{
public:
    Status() = default;
    Status(Error error)
        : m_failed(true)
        , m_error(std::move(error))
    {
    }

    bool ok() const
    {
        return !m_failed;
    }
    explicit operator bool() const
    {
        return ok();
    }
    const Error& error() const
    {
        return m_error;
    }

private:
    bool m_failed = false;
    Error m_error;
};

// A value or an Error.
template <class T> class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_state(std::move(value))
    {
    }
    Result(Error error)
        : m_state(std::move(error))
    {
    }

    bool ok() const
    {
        return std::holds_alternative<T>(m_state);
    }
    explicit operator bool() const
    {
        return ok();
    }
    const T& value() const&
    {
        return std::get<T>(m_state);
    }
    T&& value() &&
    {
        return std::get<T>(std::move(m_state));
    }
    const Error& error() const
    {
        return std::get<Error>(m_state);
    }

private:
    std::variant<T, Error> m_state;
};

} // namespace brindle
