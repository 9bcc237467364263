#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Status.h"

namespace versilla::storage {

/// Field kinds of the dBase layout the system uses.
enum class FieldType : char {
    Character = 'C', ///< text, blank-padded to its width (Windows-1252 bytes)
    Numeric = 'N',   ///< number as right-aligned ASCII; blank means "no value"
    Logical = 'L',   ///< 'T', 'F' or blank
    Memo = 'M',      ///< text or bytes of any length, kept in the ".fpt" beside the table
};

/// One column. Names are at most 10 characters and compare without regard to case.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::Character;
    int width = 10;    ///< characters in the record (memo fields: always 10)
    int decimals = 0;  ///< digits after the point (numeric fields only)
};

/// How one field is turned into its part of an index key. Keys are byte strings
/// compared bytewise, so every part has a fixed width.
enum class KeyKind {
    /// Text left-aligned and blank-padded (or cut) to `width` characters; width 0
    /// means the field's own width. Trailing blanks of the field do not matter.
    Text,
    /// Integer right-aligned in `width` characters, padded with blanks on the left
    /// (the xBase STR() layout). Only sorts numerically for values >= 0; a value
    /// wider than `width` keeps its full digits. Blank reads as 0.
    Right,
    /// Integer in an order-preserving form for signed values: the value plus 2^63
    /// as 20 zero-padded decimal digits, so negatives sort before positives.
    /// `width` is ignored. Build seek keys with keySigned().
    Signed,
};

struct KeyPart {
    std::string field;
    KeyKind kind = KeyKind::Text;
    int width = 0;
};

/// An index tag: a name, a key made of parts, and a direction. Rows with equal
/// keys keep record order (also in a descending tag).
struct TagDef {
    std::string name;
    std::vector<KeyPart> parts;
    bool descending = false;
};

/// Structure of a table: its fields in record order and its tags in tag order.
struct Schema {
    std::vector<FieldDef> fields;
    std::vector<TagDef> tags;
};

/// Key helpers: build seek keys and scope bounds in the layouts of KeyKind.
/// A number right-aligned in `width` characters, blank-padded on the left ("xBase STR").
std::string keyRight(std::int64_t value, int width);
/// Text left-aligned in `width` characters, blank-padded on the right or cut.
std::string keyLeft(std::string_view text, int width);
/// The order-preserving 20-character form of a signed number (KeyKind::Signed).
std::string keySigned(std::int64_t value);

/// The tag sidecar text of a schema's tags (one line a tag:
/// `NAME ASC|DESC FIELD:text|right|signed:WIDTH ...`, `#` starts a comment).
std::string formatTags(const std::vector<TagDef>& tags);
/// Parses a tag sidecar text; fails with the offending line.
Status parseTags(std::string_view text, std::vector<TagDef>& out);

} // namespace versilla::storage
