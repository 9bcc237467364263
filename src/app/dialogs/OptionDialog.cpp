#include "app/dialogs/OptionDialog.h"

#include "app/Localizer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QPalette>
#include <QScreen>

#include <algorithm>

namespace versilla::app {

OptionDialog::OptionDialog(QWidget* parent, const char* className, int width, int height,
                           std::optional<QColor> background)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QString::fromLatin1(className));
    setModal(true);
    setFixedSize(width, height);
    if (background) paintIn(*background);
}

void OptionDialog::paintIn(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
}

void OptionDialog::centreOnParent() {
    QRect area;
    if (QWidget* owner = parentWidget()) {
        QWidget* window = owner->window();
        area = QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}

int OptionDialog::lineHeight() const { return std::max(16, fontMetrics().height() + 1); }

int OptionDialog::textWidth(const QStringList& texts) const {
    int widest = 0;
    for (const QString& text : texts) widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    return widest;
}

void OptionDialog::growTo(int w, int h) { setFixedSize(std::max(width(), w), std::max(height(), h)); }

void OptionDialog::showEvent(QShowEvent* event) {
    centreOnParent();
    QDialog::showEvent(event);
}

QList<QLabel*> OptionDialog::addLines(const QStringList& lines) {
    QList<QLabel*> labels;
    int n = 1;
    for (const QString& line : lines) {
        auto* label = new QLabel(line, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        labels << label;
    }
    return labels;
}

void OptionDialog::addSaveCancel(QPushButton*& save, QPushButton*& cancel) {
    save = new QPushButton(QStringLiteral("&Speichern"), this);
    save->setObjectName(QStringLiteral("speichern"));
    save->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("abbrechen"));
}

void OptionDialog::placeListDialog(const QList<QLabel*>& labels, QWidget* list, int listWidth, int minWidth,
                                   QPushButton* save, QPushButton* cancel) {
    QStringList texts;
    for (QLabel* label : labels) texts << label->text();
    const int line = lineHeight();
    const int listTop = 8 + line * static_cast<int>(labels.size()) + 6;
    growTo(std::max(textWidth(texts), minWidth) + 24, listTop + 22 + 12 + 25 + 8);
    int y = 8;
    for (QLabel* label : labels) {
        label->setGeometry(12, y, width() - 24, line);
        y += line;
    }
    list->setGeometry(12, listTop, listWidth > 0 ? listWidth : width() - 24, 22);
    save->setGeometry(12, height() - 33, 90, 25);
    cancel->setGeometry(width() - 102, height() - 33, 90, 25);
    list->setFocus();
}

CaptionLookup captionLookupFor(const Localizer* localizer, int form) {
    if (!localizer) return [](const QString&) { return QString(); };
    return [localizer, form](const QString& object) { return localizer->caption(form, object); };
}

} // namespace versilla::app

#include "app/controls/ControlSeams.h"

namespace versilla::app {

std::optional<qint64> chooseReadOnlyColour(QWidget* parent, qint64 current) {
    const qint64 picked = ControlSeams::pickColour(parent, current);
    if (picked < 0) return std::nullopt;
    return picked;
}

} // namespace versilla::app
