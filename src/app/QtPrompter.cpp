#include "app/QtPrompter.h"

#include "app/Localizer.h"
#include "app/Text.h"

#include <QMessageBox>

namespace versilla::app {

namespace {

QMessageBox::StandardButton toButton(Answer answer) {
    switch (answer) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Abort: return QMessageBox::Abort;
    case Answer::Retry: return QMessageBox::Retry;
    case Answer::Ignore: return QMessageBox::Ignore;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons buttonsOf(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok: return QMessageBox::Ok;
    case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case PromptButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::None: return QMessageBox::NoIcon;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

Answer toAnswer(int button) {
    switch (button) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Ignore: return Answer::Ignore;
    default: return Answer::Cancel;
    }
}

} // namespace

QtPrompter::QtPrompter(const Localizer& localizer, QWidget* parent)
    : m_localizer(localizer), m_parent(parent) {}

Answer QtPrompter::ask(const Prompt& prompt) {
    const Localizer::Message message = m_localizer.message(prompt.message.group, prompt.message.number);
    const QMessageBox::StandardButtons buttons = buttonsOf(prompt.buttons);
    QMessageBox box(iconOf(prompt.icon), message.caption, message.text + toQString(prompt.appendText), buttons,
                    m_parent);
    const QMessageBox::StandardButton def = toButton(prompt.defaultAnswer);
    if (buttons.testFlag(def)) box.setDefaultButton(def);
    // Escape answers Cancel, or No for Yes/No questions, never a destructive Yes.
    if (buttons.testFlag(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons.testFlag(QMessageBox::No))
        box.setEscapeButton(QMessageBox::No);
    else if (buttons.testFlag(QMessageBox::Ok))
        box.setEscapeButton(QMessageBox::Ok);
    const int result = box.exec();
    if (result == QMessageBox::Cancel && !buttons.testFlag(QMessageBox::Cancel))
        return buttons.testFlag(QMessageBox::No) ? Answer::No : Answer::Ok;
    return toAnswer(result);
}

} // namespace versilla::app
