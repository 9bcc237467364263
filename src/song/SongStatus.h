#pragma once
#include <string>
#include <utility>

namespace versilla::song {

/// Outcome of writing a song: success, or a failure with a readable text (what
/// and, for files, which path). Nothing in this library throws or prints; every
/// failure comes back as one of these.
class [[nodiscard]] SongStatus {
public:
    SongStatus() = default;

    static SongStatus success() { return SongStatus(); }
    static SongStatus failure(std::string message)
    {
        SongStatus s;
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

} // namespace versilla::song
