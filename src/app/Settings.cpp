#include "app/Settings.h"

#include "storage/Schemas.h"

namespace versilla::app {

storage::Status Settings::open(const std::filesystem::path& dataDir) {
    storage::OpenOptions options;
    options.exclusive = true;
    options.atomicWrites = true;
    auto status = m_table.open(dataDir, storage::kSettingsAlias, options);
    if (status) m_table.goTop();
    return status;
}

void Settings::close() {
    (void)m_table.close();
}

storage::Status Settings::ensureOneRow() {
    if (m_table.rowCount() == 1) {
        m_table.goTop();
        return storage::Status::success();
    }
    auto status = storage::resetSettingsRow(m_table);
    m_table.goTop();
    return status;
}

std::int64_t Settings::integer(std::string_view field) const {
    return m_table.fieldAsInteger(field);
}

bool Settings::boolean(std::string_view field) const {
    return m_table.fieldAsBoolean(field);
}

bool Settings::isBlank(std::string_view field) const {
    return m_table.isBlank(field);
}

template <class Write>
storage::Status Settings::lockedWrite(Write write) {
    if (m_table.eof()) m_table.goTop();
    if (auto status = m_table.recordLock(); !status) return status;
    auto status = write();
    if (!status) {
        m_table.cancel();
        return status;
    }
    return m_table.unlock();
}

storage::Status Settings::writeInteger(std::string_view field, std::int64_t value) {
    return lockedWrite([&] { return m_table.replaceInteger(field, value); });
}

storage::Status Settings::writeBoolean(std::string_view field, bool value) {
    return lockedWrite([&] { return m_table.replaceBoolean(field, value); });
}

storage::Status Settings::writeBlank(std::string_view field) {
    return lockedWrite([&] { return m_table.replaceBlank(field); });
}

} // namespace versilla::app
