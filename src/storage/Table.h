#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Schema.h"
#include "storage/Status.h"

namespace versilla::storage {

/// Files of a table named by its alias in a folder:
///   <alias>.dbf   the rows (dBase layout, version 0x03, or 0xF5 when it has memo
///                 fields; code page byte 0x03 = Windows-1252)
///   <alias>.fpt   memo blocks (only for tables with memo fields)
///   <alias>.tags  the index tag definitions (plain text, see formatTags());
///                 tags are kept in memory and rebuilt at every open.
/// The alias is matched exactly first, then without regard to case.

struct OpenOptions {
    /// Exclusive: no other open of the table (in this or another process) may
    /// exist at the same time. Shared: other shared opens may; each holds its own
    /// copy of the rows, so shared opens are meant for reading.
    bool exclusive = true;
    bool readOnly = false;
    /// Every store rewrites the table through a temporary file in the same
    /// folder and a rename, so a crash leaves either the old or the new table.
    /// Meant for small tables such as the settings table.
    bool atomicWrites = false;
    /// Attempts to get the lock, and the pause between them.
    int lockAttempts = 5;
    int lockRetryMs = 100;
};

/// An open dBase table with a cursor, in-memory index tags, and a current-row
/// buffer. Method names follow the xBase vocabulary in camelCase (goTop = GoTop,
/// seek = Seek, fieldAsString = FieldAsString, ...).
///
/// Cursor: with a tag selected rows are visited in key order (equal keys in
/// record order), without one in record order; deleted rows are never visited.
/// Past the last row eof() is true and every field reads blank.
///
/// Writes: replace*() change the current row's buffer; the row is stored by
/// unlock(), appendEnd(), or when the cursor moves, the tag changes, or the table
/// is flushed or closed. A store writes just that record in place (one write, no
/// rewrite of the file, no fsync). Appended rows are gathered in memory and
/// written to the end of the file in one go at flush(), close(), or every 64 KB;
/// the record count in the header is brought up to date at the same time.
///
/// Errors: operations that can fail return a Status. Field reads cannot return
/// one; an unknown field name reads blank and sets lastError().
/// Not thread-safe: use a table from one thread.
class Table {
public:
    Table();
    ~Table(); ///< closes (stores a pending row)
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;

    // ---- open / close -------------------------------------------------------
    /// Opens <folder>/<alias>.dbf (re-opening closes first) and lands on the first
    /// row in record order, no tag selected. Fails on a missing or damaged file, a
    /// missing memo file, a bad tag sidecar, or a lock held by someone else.
    Status open(const std::filesystem::path& folder, std::string_view alias,
                const OpenOptions& options = {});
    /// Stores a pending row, writes the header, releases the lock. Closing a
    /// closed table is a success.
    Status close();
    bool isOpen() const;
    const std::string& alias() const;
    std::filesystem::path dbfPath() const;

    // ---- structure ------------------------------------------------------------
    const std::vector<FieldDef>& fields() const;
    const std::vector<TagDef>& tags() const;
    /// Index of a field by name (case-insensitive), -1 when there is none.
    int fieldIndex(std::string_view name) const;
    bool hasField(std::string_view name) const { return fieldIndex(name) >= 0; }

    // ---- tags and scope -------------------------------------------------------
    /// Selects a tag by name (case-insensitive); an empty name selects record
    /// order. Lifts any scope and goes to the first row. Unknown tag: failure,
    /// nothing changes.
    Status setTag(std::string_view tagName);
    /// Name of the selected tag, empty for record order.
    const std::string& currentTag() const;
    /// Restricts the selected tag to keys k with low <= k <= high, where a bound
    /// also matches as a prefix (k is cut to the bound's length before comparing).
    /// Goes to the first row in scope. Without a tag: failure.
    Status setScope(std::string_view low, std::string_view high);
    /// Lifts the scope; the cursor stays where it is.
    void clearScope();
    /// Key of the current row in the selected tag (empty without a tag or at eof).
    std::string currentKey() const;

    // ---- navigation -------------------------------------------------------------
    /// First visible row (eof when there is none).
    void goTop();
    /// Last visible row (eof when there is none).
    void goBottom();
    /// Moves n visible rows forward (negative: backward). Past the end: eof();
    /// before the start: bof() and the cursor stays on the first row.
    void skip(int n = 1);
    bool eof() const;
    bool bof() const;
    /// Exact key in the selected tag: found -> on the first row with that key,
    /// true. A key shorter than the tag's keys matches as a prefix. Not found (or
    /// outside the scope, or no tag) -> past the last row, fields read blank, false.
    bool seek(std::string_view key);
    /// Record number of the current row (1-based); recCount() + 1 at eof.
    std::uint32_t recNo() const;
    /// Goes to a record by number (1..recCount()). A deleted record or an
    /// out-of-range number is a failure and leaves the cursor at eof.
    Status go(std::uint32_t recNo);
    /// Rows in the file, deleted ones included (the xBase record count).
    std::uint32_t recCount() const;
    /// Rows that are not deleted.
    std::uint32_t rowCount() const;

    // ---- reading fields of the current row ------------------------------------
    /// Text with trailing blanks removed; numbers as stored (trimmed); logicals
    /// "T"/"F"/""; memos their whole text. Blank at eof.
    std::string fieldAsString(std::string_view name) const;
    /// Integer value; blank (or not a number) reads 0; decimals are cut off.
    /// Logical: 1/0.
    std::int64_t fieldAsInteger(std::string_view name) const;
    /// Numeric value as double (for fields with decimals); blank reads 0.
    double fieldAsDouble(std::string_view name) const;
    /// "T" (or t, Y, y) is true; "F", blank and anything else false.
    bool fieldAsBoolean(std::string_view name) const;
    /// True when the field holds only blanks (a memo: when it is empty).
    bool isBlank(std::string_view name) const;
    /// Memo: length in bytes of its content. Other fields: the field width.
    std::size_t fieldLength(std::string_view name) const;
    /// Copies a memo (or any field, trimmed as fieldAsString) into `out`.
    Status copyMemoField(std::string_view name, std::string& out) const;
    /// Last failure of a read (unknown field, unreadable memo); success otherwise.
    const Status& lastError() const;
    void clearError();

    // ---- writing the current row ----------------------------------------------
    /// Locks the current row for writing (puts it in edit state). Fails at eof,
    /// on a read-only table, or on a deleted row.
    Status recordLock();
    /// Text into a field: character fields are blank-padded or cut to the width;
    /// a number field takes the text as a number, and an empty (or all-blank) text
    /// blanks it; a logical takes "T"/"F"/""; a memo takes the whole text.
    /// Text that is not a number for a numeric field is a failure.
    Status replaceString(std::string_view name, std::string_view value);
    /// Integer into a numeric field (right-aligned; too wide is a failure), or
    /// into a character field as its digits, or a logical as value != 0.
    Status replaceInteger(std::string_view name, std::int64_t value);
    /// Number with the field's decimals (rounded); too wide is a failure.
    Status replaceDouble(std::string_view name, double value);
    /// "T" or "F" into a logical field.
    Status replaceBoolean(std::string_view name, bool value);
    /// Makes a field blank (memo: empty).
    Status replaceBlank(std::string_view name);
    /// Bytes into a memo field (binary safe; marked as a picture block).
    Status replaceMemoBytes(std::string_view name, std::string_view bytes);
    /// Stores the current row and ends its edit state.
    Status unlock();
    /// Throws away unstored changes of the current row (an appendStart() row is
    /// dropped; the cursor then goes to eof).
    void cancel();
    /// True while the current row has changes not yet stored.
    bool isModified() const;

    // ---- adding and removing rows ---------------------------------------------
    /// Appends a blank row, stores it, and makes it the current row (locked).
    Status appendBlank();
    /// Starts a new blank row in the buffer (not yet in the file); fill it with
    /// replace*() and store it with appendEnd().
    Status appendStart();
    /// Writes the row begun by appendStart() at the end of the table; it becomes
    /// the current row.
    Status appendEnd();
    /// Marks the current row deleted and moves to the next visible row (or eof).
    Status deleteRecord();
    /// Whether the current row is marked deleted. The cursor never rests on a
    /// deleted row (skips pass over them, go() refuses them), so this is a check.
    bool isDeleted() const;
    /// Removes all rows (and all memo blocks). The cursor goes to eof.
    Status zap();
    /// Removes the rows marked deleted, renumbering the rest.
    Status pack();
    /// Stores a pending row and writes the header's record count.
    Status flush();

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

/// Creates an empty table <folder>/<alias> with the schema's fields and tags,
/// replacing existing files of that name (".dbf", ".fpt", ".tags"). Fails on an
/// invalid schema (bad or duplicate name, bad width) or a file error.
Status createTable(const std::filesystem::path& folder, std::string_view alias, const Schema& schema);

/// Reads the structure (fields and tag definitions) of an existing table.
Status readSchema(const std::filesystem::path& folder, std::string_view alias, Schema& out);

/// Creates <folder>/<targetAlias> as an empty table with the fields and tags of
/// <folder>/<templateAlias>: structure and tag definitions copied, no rows. An
/// existing target is replaced. Fails when the template cannot be read or the
/// target cannot be written.
Status copyStructure(const std::filesystem::path& folder, std::string_view templateAlias,
                     std::string_view targetAlias);

} // namespace versilla::storage
