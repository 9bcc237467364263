#pragma once
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace versilla::app {

/// Small helpers that place a named control at a pixel position, the way every
/// panel of the main window is laid out.
template <class W>
W* placed(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* placeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h);
/// A button outside the Tab order (focus by click or by code only).
QPushButton* placeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h);
/// A disabled one-line display field.
QLineEdit* placeDisplay(QWidget* parent, const char* name, int x, int y, int w, int h);
/// A raised panel with the window colour.
QFrame* placePanel(QWidget* parent, const char* name, int x, int y, int w, int h);

/// The window font: "MS Sans Serif" 8 point, or the closest sans font here.
QFont windowFont();
/// "Courier New" (or a metric twin) at a pixel size, bold as asked.
QFont courierFont(int pixelSize, bool bold);
/// "Arial" (or a metric twin) at a point size.
QFont arialFont(int pointSize);

/// A stored colour (red in the lowest byte, then green, then blue) as a QColor.
QColor colourFromInt(qint64 value);
/// A QColor as a stored colour value.
qint64 colourToInt(const QColor& colour);

/// Sets the background a field shows in every state (also while disabled).
void setFieldColour(QWidget* field, const QColor& colour);

} // namespace versilla::app
