#include "app/Localizer.h"

#include "app/Text.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace versilla::app {

namespace {

QByteArray rightAligned(int value, int width) {
    return QByteArray::number(value).rightJustified(width, ' ', true);
}

// Sets the caption of one control the way the control shows it: label and
// button text, group title, edit text, or the tab text of a page.
void setCaptionOf(QObject* object, const QString& caption) {
    if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(caption);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(caption);
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(caption);
    } else if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        edit->setText(caption);
    } else if (auto* page = qobject_cast<QWidget*>(object)) {
        // A tab page lives in the tab widget's stack; its caption is the tab text.
        if (auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget())) {
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) {
                const int index = tabs->indexOf(page);
                if (index >= 0) tabs->setTabText(index, caption);
            }
        }
    }
}

void setHintOf(QObject* object, const QString& hint) {
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setToolTip(hint);
        if (auto* stack = qobject_cast<QStackedWidget*>(widget->parentWidget())) {
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) {
                const int index = tabs->indexOf(widget);
                if (index >= 0) tabs->setTabToolTip(index, hint);
            }
        }
    }
}

} // namespace

Localizer::Localizer(QString dataDir) : m_dataDir(std::move(dataDir)) {}

QByteArray Localizer::captionKey(int language, int form, const QString& object) {
    QByteArray name = QByteArray::fromStdString(fromQString(object));
    name = name.leftJustified(30, ' ', true);
    return rightAligned(language, 2) + rightAligned(form, 2) + name;
}

QByteArray Localizer::messageKey(int language, int group, int number) {
    return rightAligned(language, 2) + rightAligned(group, 2) + rightAligned(number, 3);
}

void Localizer::applyCaptions(int form, QWidget* window) const {
    if (!window) return;
    QHash<QString, QObject*> byName;
    const auto children = window->findChildren<QObject*>();
    for (QObject* child : children) {
        const QString name = child->objectName();
        if (!name.isEmpty() && !byName.contains(name.toLower())) byName.insert(name.toLower(), child);
    }
    for (const Row& row : rows(form)) {
        QObject* target = byName.value(row.object.toLower(), nullptr);
        if (!target) continue;
        if (!row.caption.isEmpty()) {
            QString caption = row.caption;
            if (form == 16 || form == 23) {
                if (row.object.compare(QLatin1String("zs"), Qt::CaseInsensitive) == 0)
                    caption.prepend(QChar(0xB6));
                else if (row.object.compare(QLatin1String("schaltersilbe"), Qt::CaseInsensitive) == 0)
                    caption.prepend(QChar(0xA4));
            }
            setCaptionOf(target, caption);
        }
        setHintOf(target, row.hint);
    }
    window->setWindowTitle(caption(form, QStringLiteral("Caption")));
}

} // namespace versilla::app
