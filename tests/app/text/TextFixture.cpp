#include "TextFixture.h"


#include <QTabWidget>
#include <QTest>

#include <fstream>
#include <iterator>

namespace versilla::app::testing {

void TextTest::SetUp() {
    ShellTest::SetUp();
    if (HasFatalFailure()) return;
    // A known language and the mapper device: the first activation asks nothing.
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "-1");
    setSetting("MELODIE", "1");
    setSetting("TEXTSPUR", "1");
    chooser = &songChooser;
    window = startedWindow();
    ASSERT_TRUE(window->firstActivation());
}

void TextTest::TearDown() {
    window.reset();
    prompter.verify();
}

void TextTest::showWindow() {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void TextTest::showTab(int index) {
    window->PageControl1->setCurrentIndex(index);
}

void TextTest::select(QTextEdit* edit, int start, int length) {
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

void TextTest::openSong(const std::string& bytes) {
    songChooser.openAnswer = writeFile("song.mid", bytes);
    window->s1_oeffnenClick();
    ASSERT_TRUE(window->songOpen());
}

void TextTest::userSwitch(int index) {
    window->PageControl1->userSwitch(index);
}

std::string TextTest::writeFile(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = folder() / name;
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path.string();
}

std::string TextTest::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace versilla::app::testing
