#pragma once
#include <QString>

#include <vector>

class QWidget;

namespace versilla::app {

/// Caption and message lookup over the caption table "Objekte" and the message
/// table "Messages" in the data folder. The tables are opened read-only around
/// each lookup, so a Localizer is cheap to keep and never holds a file open.
class Localizer {
public:
    explicit Localizer(QString dataDir);

    /// The user-interface language (0 German, 1 English, ...).
    int language() const { return m_language; }
    void setLanguage(int language) { m_language = language; }
    const QString& dataDir() const { return m_dataDir; }

    /// Caption lookup for form number `form` over every child (by objectName,
    /// case-insensitive) of `window`; sets the window title from the "Caption"
    /// row (empty when missing). Failures leave design texts.
    void applyCaptions(int form, QWidget* window) const;

    /// Single lookups; empty when the row (or the table) is missing.
    QString caption(int form, const QString& object) const;
    QString hint(int form, const QString& object) const;

    /// One row of the caption table as read (trailing blanks removed).
    struct Row {
        QString object;
        QString caption;
        QString hint;
    };
    /// Every row of form `form` in the current language whose object name
    /// starts with `prefix` (case-sensitive, as keys compare), in key order.
    /// Empty when the table cannot be read.
    std::vector<Row> rows(int form, const QString& prefix = {}) const;

    struct Message {
        QString caption;
        QString text;
    };
    /// Message lookup "message g/n" of the current language; empty texts when
    /// missing. CR LF, lone CR and lone LF in the text all become "\n".
    Message message(int group, int number) const;

    /// The 34-character caption key: language (2), form (2), object (30).
    static QByteArray captionKey(int language, int form, const QString& object);
    /// The 7-character message key: language (2), group (2), number (3).
    static QByteArray messageKey(int language, int group, int number);

private:
    QString m_dataDir;
    int m_language = 0;
};

} // namespace versilla::app
