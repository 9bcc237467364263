#pragma once
#include "core/MessageId.h"

#include <string>

namespace versilla {

/// Answers a message box can give.
enum class Answer { Ok, Yes, No, Cancel, Abort, Retry, Ignore };

enum class PromptIcon { None, Information, Warning, Error, Question };

/// Which buttons a box offers.
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };

/// One message box as the logic asks for it: which message, what to append to
/// its text, icon, buttons and the default button. The texts themselves come
/// from the message table of the current language, looked up by the front end.
struct Prompt {
    MessageId message;
    std::string appendText; ///< Windows-1252 text appended to the message text
    PromptIcon icon = PromptIcon::Information;
    PromptButtons buttons = PromptButtons::Ok;
    Answer defaultAnswer = Answer::Ok;
};

/// The seam through which logic asks the user. The editor shows real boxes;
/// tests answer from a script. Implementations never throw.
class Prompter {
public:
    virtual ~Prompter() = default;
    /// Shows the prompt and returns the user's answer.
    virtual Answer ask(const Prompt& prompt) = 0;
};

/// What an operation that refuses hands back instead of showing a box: the
/// message, a text to append, and the field to focus afterwards (empty: none).
struct Refusal {
    MessageId message;
    std::string appendText;
    std::string focusField;
    PromptIcon icon = PromptIcon::Error;
};

/// Shows a refusal as its box: its message with the text appended, its icon,
/// an OK button. Returns the answer.
inline Answer showRefusal(Prompter& prompter, const Refusal& refusal) {
    Prompt prompt;
    prompt.message = refusal.message;
    prompt.appendText = refusal.appendText;
    prompt.icon = refusal.icon;
    prompt.buttons = PromptButtons::Ok;
    prompt.defaultAnswer = Answer::Ok;
    return prompter.ask(prompt);
}

} // namespace versilla
