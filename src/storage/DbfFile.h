#pragma once
// Internal to the table layer: the on-disk layout of a ".dbf" table and the
// file helpers its implementation files share. Not part of the public API.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Schema.h"
#include "storage/Status.h"

namespace versilla::storage::detail {

constexpr std::uint8_t kVersionPlain = 0x03;    // dBase III / FoxPro, no memo
constexpr std::uint8_t kVersionFoxMemo = 0xF5;  // FoxPro 2.x with a ".fpt" memo file
constexpr std::uint8_t kCodePage1252 = 0x03;
constexpr std::uint32_t kMemoBlockSize = 64;
constexpr std::uint32_t kMemoHeaderSize = 512;
constexpr std::uint32_t kMemoTypePicture = 0;
constexpr std::uint32_t kMemoTypeText = 1;

std::string upper(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
std::string errnoText();

inline std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
inline std::uint32_t be32(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}
inline void putLe16(unsigned char* p, std::uint32_t v)
{
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>((v >> 8) & 0xFF);
}
inline void putLe32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}
inline void putBe32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>((v >> (8 * (3 - i))) & 0xFF);
}

/// pwrite() all of `data` at `at`; false on an error (errno tells).
bool writeAll(int fd, const void* data, std::size_t len, off_t at);
/// writeAll() of two pieces, one after the other, in one call when it can.
bool writeAllPair(int fd, const void* a, std::size_t alen, const void* b, std::size_t blen, off_t at);
/// Reads the whole file behind `fd`; false on an error (errno tells).
bool readAll(int fd, std::string& out);
/// Finds <folder>/<alias><ext>: the exact name first, else a case-insensitive match.
std::filesystem::path findFile(const std::filesystem::path& folder, std::string_view alias, std::string_view ext);
/// Writes a whole file through a temporary file in the same folder and a rename.
/// When `keepFd` is given, the new file stays open (read-write) there, locked
/// exclusively before it becomes visible under its name.
Status writeFileAtomically(const std::filesystem::path& path, const std::string& bytes, int* keepFd = nullptr);
/// Refuses to replace a table someone holds open.
Status checkNotInUse(const std::filesystem::path& dbf);

bool validFieldName(std::string_view name);
Status validateField(const FieldDef& f);

struct Layout {
    std::uint8_t version = 0;
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::vector<FieldDef> fields;
    std::vector<int> offsets; // offset of each field inside a record (after the delete flag)
    bool hasMemo = false;
};

/// Checks a ".dbf" image and reads its layout. `name` names the file in messages.
Status parseHeader(const std::string& file, const std::string& name, Layout& out);
/// The header (descriptors and terminator) of a table with these fields.
std::string buildHeader(const std::vector<FieldDef>& fields, std::uint32_t recordCount);
/// The header block of an empty ".fpt" memo file.
std::string emptyMemoFile();

} // namespace versilla::storage::detail
