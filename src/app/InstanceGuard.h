#pragma once
#include <QString>

#include <memory>

class QLockFile;

namespace versilla::app {

/// Single-instance guard: a lock file named "Versilla" in the user's runtime
/// folder (the temporary folder when there is none). Held until destroyed.
class InstanceGuard {
public:
    /// `folder` empty: the runtime folder.
    explicit InstanceGuard(const QString& folder = {});
    ~InstanceGuard();
    /// False when another running instance holds the lock.
    bool acquired() const { return m_acquired; }
    QString path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

} // namespace versilla::app
