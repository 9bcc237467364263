// Reading the caption and message tables, opened read-only around each lookup.
#include "app/Localizer.h"

#include "app/Text.h"
#include "storage/Schemas.h"
#include "storage/Table.h"

namespace versilla::app {

namespace {

bool openReadOnly(storage::Table& table, const QString& dataDir, const char* alias) {
    storage::OpenOptions options;
    options.exclusive = false;
    options.readOnly = true;
    if (!table.open(dataDir.toStdString(), alias, options)) return false;
    return static_cast<bool>(table.setTag(storage::kPrimaryTag));
}

QString field(const storage::Table& table, const char* name) {
    return toQString(table.fieldAsString(name));
}

// Line ends of the stored texts (CR LF, or a lone CR or LF) as one "\n".
QString normalisedLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

std::vector<Localizer::Row> Localizer::rows(int form, const QString& prefix) const {
    std::vector<Row> result;
    storage::Table table;
    if (!openReadOnly(table, m_dataDir, storage::kCaptionsAlias)) return result;
    QByteArray bound = captionKey(m_language, form, QString()).left(4);
    bound += QByteArray::fromStdString(fromQString(prefix));
    const std::string key = bound.toStdString();
    if (!table.setScope(key, key)) return result;
    for (table.goTop(); !table.eof(); table.skip()) {
        result.push_back({field(table, "OBJEKT"), field(table, "CAPTION"), field(table, "HINT")});
    }
    return result;
}

QString Localizer::caption(int form, const QString& object) const {
    storage::Table table;
    if (!openReadOnly(table, m_dataDir, storage::kCaptionsAlias)) return {};
    if (!table.seek(captionKey(m_language, form, object).toStdString())) return {};
    return field(table, "CAPTION");
}

QString Localizer::hint(int form, const QString& object) const {
    storage::Table table;
    if (!openReadOnly(table, m_dataDir, storage::kCaptionsAlias)) return {};
    if (!table.seek(captionKey(m_language, form, object).toStdString())) return {};
    return field(table, "HINT");
}

Localizer::Message Localizer::message(int group, int number) const {
    storage::Table table;
    if (!openReadOnly(table, m_dataDir, storage::kMessagesAlias)) return {};
    if (!table.seek(messageKey(m_language, group, number).toStdString())) return {};
    return {field(table, "HINWEIS"), normalisedLineEnds(field(table, "NACHRICHT"))};
}

} // namespace versilla::app
