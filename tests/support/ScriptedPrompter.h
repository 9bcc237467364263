#pragma once
#include "core/Prompter.h"

#include <deque>
#include <string>

namespace versilla::testsupport {

/// A Prompter for tests: holds the prompts a test expects, in order, with the
/// answer to give. An unexpected prompt, or an expected one never asked, fails
/// the running test.
class ScriptedPrompter : public Prompter {
public:
    struct Expected {
        MessageId message;
        Answer answer = Answer::Ok;
    };

    ~ScriptedPrompter() override;

    /// Queues one expected prompt with its answer.
    ScriptedPrompter& expect(MessageId message, Answer answer = Answer::Ok);

    Answer ask(const Prompt& prompt) override;

    /// True when every expected prompt was asked. Checked again on destruction.
    bool allAnswered() const { return m_expected.empty(); }
    /// Fails the running test for every prompt still queued and forgets them.
    void verify();

private:
    std::deque<Expected> m_expected;
};

} // namespace versilla::testsupport
