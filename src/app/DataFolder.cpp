#include "app/DataFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifndef VERSILLA_INSTALL_DATA_DIR
#define VERSILLA_INSTALL_DATA_DIR ""
#endif

namespace versilla::app {

namespace {

bool holdsSettings(const QString& dir) {
    return !dir.isEmpty() && QFileInfo::exists(QDir(dir).filePath(QStringLiteral("Versilla.dbf")));
}

} // namespace

QString findDataFolder(const QString& option, const QString& currentDir, const QString& userDir,
                       const QStringList& installed) {
    if (!option.isEmpty()) return QDir(option).absolutePath();
    if (holdsSettings(currentDir)) return QDir(currentDir).absolutePath();
    if (!holdsSettings(userDir)) {
        for (const QString& source : installed) {
            if (holdsSettings(source)) {
                copyDataFolder(source, userDir);
                break;
            }
        }
    }
    return QDir(userDir).absolutePath();
}

QStringList installedDataFolders(const QString& applicationDir) {
    QStringList folders{QDir(applicationDir).absoluteFilePath(QStringLiteral("../data"))};
    const QString installDir = QStringLiteral(VERSILLA_INSTALL_DATA_DIR);
    if (!installDir.isEmpty()) folders << installDir;
    return folders;
}

bool copyDataFolder(const QString& from, const QString& to) {
    const QDir source(from);
    if (!QDir().mkpath(to)) return false;
    bool ok = true;
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(file));
        if (QFileInfo::exists(target)) continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        ok = QFile::copy(file, target) && ok;
    }
    return ok;
}

} // namespace versilla::app
