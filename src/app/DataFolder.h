#pragma once
#include <QString>
#include <QStringList>

namespace versilla::app {

/// Finds the data folder: the `--data` option when given; else the current
/// folder when it holds "Versilla.dbf"; else the user's data folder, filled
/// from the first installed data folder (of `installed`) that holds
/// "Versilla.dbf" when the user's folder has none yet. Returns the chosen
/// folder; a folder that cannot be filled is returned as is (start-up then
/// reports the missing settings table).
QString findDataFolder(const QString& option, const QString& currentDir, const QString& userDir,
                       const QStringList& installed);

/// The installed data folders next to the program: the build tree's
/// `<bin>/../data` and `<prefix>/share/versilla/data`.
QStringList installedDataFolders(const QString& applicationDir);

/// Copies every file of `from` (recursively) into `to`, creating folders;
/// existing files are kept. False when a file could not be copied.
bool copyDataFolder(const QString& from, const QString& to);

} // namespace versilla::app
