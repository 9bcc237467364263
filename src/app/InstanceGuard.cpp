#include "app/InstanceGuard.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace versilla::app {

InstanceGuard::InstanceGuard(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    m_path = QDir(dir).filePath(QStringLiteral("Versilla"));
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock left by a crashed instance is stale (its process is gone) and is taken over.
    m_lock->setStaleLockTime(0);
    m_acquired = m_lock->tryLock(0);
}

InstanceGuard::~InstanceGuard() = default;

} // namespace versilla::app
