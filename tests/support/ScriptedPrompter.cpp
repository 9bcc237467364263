#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace versilla::testsupport {

ScriptedPrompter::~ScriptedPrompter() { verify(); }

ScriptedPrompter& ScriptedPrompter::expect(MessageId message, Answer answer) {
    m_expected.push_back({message, answer});
    return *this;
}

Answer ScriptedPrompter::ask(const Prompt& prompt) {
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected prompt " << prompt.message.group << "/" << prompt.message.number;
        return Answer::Cancel;
    }
    Expected next = m_expected.front();
    m_expected.pop_front();
    EXPECT_EQ(next.message, prompt.message)
        << "expected prompt " << next.message.group << "/" << next.message.number << ", got "
        << prompt.message.group << "/" << prompt.message.number;
    return next.answer;
}

void ScriptedPrompter::verify() {
    for (const Expected& e : m_expected)
        ADD_FAILURE() << "prompt " << e.message.group << "/" << e.message.number << " was never asked";
    m_expected.clear();
}

} // namespace versilla::testsupport
