#pragma once

namespace versilla {

/// Names one text of the message table: "message g/n" is group g, number n.
/// Logic refers to messages only through this, so a test can collect every
/// message the code uses by scanning for `MessageId{g, n}`.
struct MessageId {
    int group = 0;
    int number = 0;
    friend bool operator==(const MessageId&, const MessageId&) = default;
};

} // namespace versilla
