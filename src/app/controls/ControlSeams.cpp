#include "app/controls/ControlSeams.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "app/controls/ColourValue.h"

namespace versilla::app {

namespace {

void realShowBox(QWidget* parent, BoxIcon icon, const QString& caption, const QString& text) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case BoxIcon::None: break;
    case BoxIcon::Information: qicon = QMessageBox::Information; break;
    case BoxIcon::Warning: qicon = QMessageBox::Warning; break;
    case BoxIcon::Error: qicon = QMessageBox::Critical; break;
    }
    QMessageBox box(qicon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

qint64 realPickColour(QWidget* parent, qint64 initial) {
    const QColor start = initial >= 0 ? toQColor(initial) : QColor(Qt::white);
    const QColor chosen = QColorDialog::getColor(start, parent);
    return chosen.isValid() ? fromQColor(chosen) : -1;
}

bool realOpenUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode)); }

} // namespace

std::function<void(QWidget*, BoxIcon, const QString&, const QString&)> ControlSeams::showBox = realShowBox;
std::function<void()> ControlSeams::beep = [] { QApplication::beep(); };
std::function<qint64(QWidget*, qint64)> ControlSeams::pickColour = realPickColour;
std::function<bool(const QString&)> ControlSeams::openUrl = realOpenUrl;

void resetControlSeams() {
    ControlSeams::showBox = realShowBox;
    ControlSeams::beep = [] { QApplication::beep(); };
    ControlSeams::pickColour = realPickColour;
    ControlSeams::openUrl = realOpenUrl;
}

} // namespace versilla::app
