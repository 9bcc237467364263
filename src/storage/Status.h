#pragma once
#include <string>
#include <utility>

namespace versilla::storage {

/// Outcome of a table operation: success, or a failure with a readable text
/// (file name and what is wrong). The table layer never throws and never prints;
/// every failure comes back as one of these.
class [[nodiscard]] Status {
public:
    Status() = default;

    /// A success.
    static Status success() { return Status(); }

    /// A failure carrying its text.
    static Status failure(std::string message)
    {
        Status s;
        s.m_ok = false;
        s.m_message = std::move(message);
        return s;
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    /// Empty for a success.
    const std::string& message() const { return m_message; }

private:
    bool m_ok = true;
    std::string m_message;
};

} // namespace versilla::storage
