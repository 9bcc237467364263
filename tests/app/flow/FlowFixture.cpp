#include "FlowFixture.h"

#include <QFile>

namespace versilla::app::testing {

void FlowTest::SetUp() {
    ShellTest::SetUp();
    setSetting("TEXTSPUR", "1");
    setSetting("MELODIE", "1");
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "0");
    chooser = &files;
}

std::string FlowTest::corpusSong() {
    return std::string(VERSILLA_CORPUS_DIR) + "/real/dmidiplayer/Schubert_Standchen.mid";
}

std::unique_ptr<TForm1> FlowTest::openedWindow() {
    auto window = startedWindow();
    files.openPath = corpusSong();
    window->s1_oeffnenClick();
    prompter.verify();
    EXPECT_TRUE(window->songOpen());
    return window;
}

QByteArray FlowTest::bytesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

} // namespace versilla::app::testing
