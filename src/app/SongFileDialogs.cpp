#include "app/SongFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace versilla::app {

namespace {

const QString kMidiFilter = QStringLiteral("Midi (*.mid)");

} // namespace

std::optional<std::string> QtSongFileChooser::chooseSongToOpen(const std::string& preset) {
    QFileDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(kMidiFilter);
    dialog.setSizeGripEnabled(true);
    if (!preset.empty()) {
        const QFileInfo info(QString::fromStdString(preset));
        if (info.dir().exists()) dialog.setDirectory(info.dir());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

std::optional<std::string> QtSongFileChooser::chooseSaveName(const std::string& folder,
                                                             const std::string& proposedName) {
    QFileDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("SaveDialog2"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(kMidiFilter);
    // The save command asks 1/60 itself before an existing file is replaced.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!folder.empty()) dialog.setDirectory(QString::fromStdString(folder));
    dialog.selectFile(QString::fromStdString(proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace versilla::app
