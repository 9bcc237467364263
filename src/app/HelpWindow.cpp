#include "app/HelpWindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace versilla::app {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Versilla – Hilfe"));
    resize(640, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    browser->setOpenExternalLinks(true);
    layout->addWidget(browser);
}

void HelpWindow::showPage(const QString& page) {
    if (QFileInfo::exists(page)) {
        browser->setSearchPaths({QFileInfo(page).absolutePath()});
        browser->setSource(QUrl::fromLocalFile(page));
    } else {
        browser->setPlainText(page);
    }
    show();
    raise();
    activateWindow();
}

} // namespace versilla::app
