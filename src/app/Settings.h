#pragma once
#include "storage/Status.h"
#include "storage/Table.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace versilla::app {

/// The settings row "Versilla.dbf", open exclusively for the whole run. Every
/// write locks the row, writes and unlocks (which stores it).
class Settings {
public:
    /// Standard background colour (red 200, green 241, blue 253).
    static constexpr std::int64_t kStandardBackground = 16642504;

    /// Opens the settings table exclusively. Fails with the table's error.
    storage::Status open(const std::filesystem::path& dataDir);
    /// Stores and closes; closing a closed table does nothing.
    void close();
    bool isOpen() const { return m_table.isOpen(); }

    /// Makes the table hold exactly one row (a fresh one with FARBE 12632256
    /// and every other field blank) unless it already holds exactly one.
    storage::Status ensureOneRow();

    std::int64_t integer(std::string_view field) const;
    bool boolean(std::string_view field) const;
    bool isBlank(std::string_view field) const;

    /// Locked writes of one field. Fail with the table's error.
    storage::Status writeInteger(std::string_view field, std::int64_t value);
    storage::Status writeBoolean(std::string_view field, bool value);
    storage::Status writeBlank(std::string_view field);

    storage::Table& table() { return m_table; }

private:
    template <class Write>
    storage::Status lockedWrite(Write write);

    storage::Table m_table;
};

} // namespace versilla::app
