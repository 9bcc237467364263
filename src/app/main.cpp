// versilla: the editor.
#include "app/DataFolder.h"
#include "app/InstanceGuard.h"
#include "app/TForm1.h"
#include "player/TMidiOutput.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Versilla"));
    QApplication::setOrganizationName(QStringLiteral("Versilla"));

    versilla::app::InstanceGuard guard;
    if (!guard.acquired()) {
        QMessageBox::critical(nullptr, QStringLiteral("Versilla bereits gestartet"),
                              QStringLiteral("Versilla läuft bereits auf diesem Computer.\n"
                                             "Ein Mehrfachstart ist nicht möglich!"));
        return 1;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Karaoke-Texte für Midifiles"));
    parser.addHelpOption();
    const QCommandLineOption dataOption(QStringLiteral("data"), QStringLiteral("Datenordner"), QStringLiteral("DIR"));
    parser.addOption(dataOption);
    parser.process(app);

    const QString dataDir = versilla::app::findDataFolder(
        parser.value(dataOption), QDir::currentPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
        versilla::app::installedDataFolders(QCoreApplication::applicationDirPath()));

    versilla::app::TForm1::Services services;
    services.dataDir = dataDir;
    versilla::app::TForm1 window(std::move(services));
    if (!window.startUp()) return 1;
    window.show();
    window.activateWindow();
    return app.exec();
}
