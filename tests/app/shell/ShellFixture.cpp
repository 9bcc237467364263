#include "ShellFixture.h"

#include "app/DataFolder.h"
#include "app/Localizer.h"
#include "player/TMidiOutput.h"

#include <QDir>
#include <QFile>

namespace versilla::app::testing {

void ShellTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(copyDataFolder(QStringLiteral(VERSILLA_DATA_DIR), m_dir.path()));
}

std::unique_ptr<TForm1> ShellTest::makeWindow(int devices, int screenWidth) {
    std::vector<player::MidiDevice> list;
    ports.clear();
    for (int i = 0; i < devices; ++i) {
        ports.push_back(std::make_shared<testsupport::RecordingPort>());
        list.push_back(testsupport::RecordingPort::asDevice(ports.back(), "Gerät " + std::to_string(i)));
    }
    TForm1::Services services;
    services.dataDir = data();
    services.prompter = &prompter;
    services.dialogs = &dialogs;
    services.port = std::make_unique<player::TMidiOutput>(std::make_unique<player::FixedMidiDevices>(list));
    services.screenWidth = [screenWidth] { return screenWidth; };
    services.chooser = chooser;
    return std::make_unique<TForm1>(std::move(services));
}

std::unique_ptr<TForm1> ShellTest::startedWindow(int devices) {
    auto window = makeWindow(devices);
    EXPECT_TRUE(window->startUp());
    return window;
}

std::string ShellTest::writeSmallSong(const char* name) const {
    QByteArray track;
    track.append("\x00\xFF\x51\x03\x07\xA1\x20", 7); // 120 BPM
    for (int i = 0; i < 4; ++i) {
        track.append("\x00", 1);
        track.append("\x90\x3C\x64", 3);
        track.append("\x83\x60\x80\x3C\x40", 5); // 480 ticks later
    }
    track.append("\x00\xFF\x2F\x00", 4);
    QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    file.append("MTrk", 4);
    const auto size = static_cast<quint32>(track.size());
    for (int shift = 24; shift >= 0; shift -= 8) file.append(static_cast<char>((size >> shift) & 0xFF));
    file.append(track);
    const QString path = QDir(data()).filePath(QString::fromLatin1(name));
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
    return path.toStdString();
}

void ShellTest::makeSongUnsaved(TForm1& window) {
    song::Workspace& workspace = window.workspace();
    const song::CommandResult opened = workspace.openFile(writeSmallSong());
    ASSERT_TRUE(opened.done()) << opened.error;
    const song::CommandResult written = workspace.writeLyrics();
    ASSERT_TRUE(written.done()) << written.error;
    ASSERT_TRUE(workspace.flags().songUnsaved);
}

storage::Table ShellTest::openTable(const char* alias) {
    storage::Table table;
    const auto status = table.open(folder(), alias);
    EXPECT_TRUE(status.ok()) << status.message();
    return table;
}

void ShellTest::setSetting(const char* field, const std::string& value) {
    storage::Table table = openTable("Versilla");
    table.goTop();
    ASSERT_TRUE(table.recordLock().ok());
    ASSERT_TRUE(table.replaceString(field, value).ok());
    ASSERT_TRUE(table.unlock().ok());
    ASSERT_TRUE(table.close().ok());
}

void ShellTest::setCaptionRow(int language, int form, const char* object, const std::string& caption,
                              const std::string& hint) {
    storage::Table table = openTable("Objekte");
    ASSERT_TRUE(table.setTag("IPRIMAER").ok());
    const bool exists =
        table.seek(Localizer::captionKey(language, form, QString::fromLatin1(object)).toStdString());
    if (exists) {
        ASSERT_TRUE(table.recordLock().ok());
    } else {
        ASSERT_TRUE(table.appendStart().ok());
        ASSERT_TRUE(table.replaceInteger("SPRACHE", language).ok());
        ASSERT_TRUE(table.replaceInteger("FORM", form).ok());
        ASSERT_TRUE(table.replaceString("OBJEKT", object).ok());
    }
    ASSERT_TRUE(table.replaceString("CAPTION", caption).ok());
    ASSERT_TRUE(table.replaceString("HINT", hint).ok());
    const auto status = exists ? table.unlock() : table.appendEnd();
    ASSERT_TRUE(status.ok()) << status.message();
    ASSERT_TRUE(table.close().ok());
}

} // namespace versilla::app::testing
