#include "app/Widgets.h"

#include <QPalette>

namespace versilla::app {

QLabel* placeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h) {
    auto* label = placed<QLabel>(parent, name, x, y, w, h);
    label->setText(text);
    return label;
}

QPushButton* placeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h) {
    auto* button = placed<QPushButton>(parent, name, x, y, w, h);
    button->setText(text);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* placeDisplay(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* edit = placed<QLineEdit>(parent, name, x, y, w, h);
    edit->setReadOnly(true);
    edit->setEnabled(false);
    return edit;
}

QFrame* placePanel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* panel = placed<QFrame>(parent, name, x, y, w, h);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    return panel;
}

QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setPointSize(8);
    return font;
}

QFont courierFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Nimbus Mono PS"), QStringLiteral("Courier")});
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont arialFont(int pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Helvetica")});
    font.setPointSize(pointSize);
    return font;
}

QColor colourFromInt(qint64 value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

qint64 colourToInt(const QColor& colour) {
    return static_cast<qint64>(colour.red()) | (static_cast<qint64>(colour.green()) << 8) |
           (static_cast<qint64>(colour.blue()) << 16);
}

void setFieldColour(QWidget* field, const QColor& colour) {
    QPalette palette = field->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    field->setPalette(palette);
}

} // namespace versilla::app
