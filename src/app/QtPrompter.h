#pragma once
#include "core/Prompter.h"

class QWidget;

namespace versilla::app {

class Localizer;

/// The editor's Prompter: a real modal message box whose caption and text come
/// from the message table of the Localizer's current language.
class QtPrompter : public Prompter {
public:
    /// `parent` (may be null) is the window the box is centred on.
    QtPrompter(const Localizer& localizer, QWidget* parent = nullptr);
    void setParent(QWidget* parent) { m_parent = parent; }

    /// Shows the box and waits for the answer. A box closed without a button
    /// (Escape, window close) answers Cancel, or No when there is no Cancel.
    Answer ask(const Prompt& prompt) override;

private:
    const Localizer& m_localizer;
    QWidget* m_parent;
};

} // namespace versilla::app
