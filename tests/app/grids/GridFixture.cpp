#include "GridFixture.h"

#include "app/DataFolder.h"

#include <QMutex>

namespace versilla::app::testing {

void GridTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(copyDataFolder(QStringLiteral(VERSILLA_DATA_DIR), m_dir.path()));
    const auto status = list.create(m_dir.path().toStdString());
    ASSERT_TRUE(status.ok()) << status.message();
    list.setSaveContext(lyrics::SaveContext{[this] { return songLength; }, [](std::int32_t ms) { return ms; }});
}

void GridTest::TearDown() {
    (void)list.close();
}

void GridTest::fill(const std::vector<std::pair<std::int32_t, std::string>>& rows) {
    list.beginBulk();
    for (const auto& [zeit, text] : rows) {
        lyrics::Row row;
        row.zeit = zeit;
        row.text = text;
        row.mehrfach = 1;
        const auto refusal = list.appendRow(row);
        ASSERT_FALSE(refusal.has_value()) << refusal->message.group << "/" << refusal->message.number;
    }
    list.endBulk();
    list.first();
}

std::vector<std::string> GridTest::texts() const {
    std::vector<std::string> out;
    for (int i = 0; i < list.rowCount(); ++i) out.push_back(list.row(i).text);
    return out;
}

namespace {
QMutex g_mutex;
QStringList g_warnings;
QtMessageHandler g_previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        QMutexLocker lock(&g_mutex);
        g_warnings << message;
    }
    if (g_previous) g_previous(type, context, message);
}
} // namespace

WarningCatcher::WarningCatcher() {
    QMutexLocker lock(&g_mutex);
    g_warnings.clear();
    g_previous = qInstallMessageHandler(collect);
}

WarningCatcher::~WarningCatcher() {
    qInstallMessageHandler(g_previous);
    g_previous = nullptr;
}

QStringList WarningCatcher::warnings() const {
    QMutexLocker lock(&g_mutex);
    return g_warnings;
}

} // namespace versilla::app::testing
