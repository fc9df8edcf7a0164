#pragma once
// Dirty hives made from the format's description: a clean hive "before"
// filled through hivex, the same hive "after" more changes, and what a
// Windows stopped between the two leaves on the disk: the before hive with
// a base block whose sequence numbers differ, and the after state's changed
// pages in a new-format log (HvLE entries) or an old-format one (a DIRT
// vector of 512-byte pages).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/little_endian.h"

namespace brisko::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes readFileBytes(const std::filesystem::path& file);
void writeFileBytes(const std::filesystem::path& file, const Bytes& bytes);

std::uint32_t field32(const Bytes& bytes, std::size_t at);
void setField32(Bytes& bytes, std::size_t at, std::uint32_t value);
// Recomputes a base block's checksum (at the start of bytes).
void seal(Bytes& bytes);

// Gives the hive's base block the file name Windows keeps in it (which
// tells its logs apart from another hive's), sealed.
void nameHive(Bytes& hive, const std::string& name);
// The hive as a write interrupted leaves it: its primary sequence number
// one past its secondary, sealed.
Bytes dirtied(const Bytes& hive);

struct PageData {
    std::uint32_t offset;  // in the hive bins data
    Bytes bytes;
};
// The pages of pageSize bytes where after's hive bins data differs from
// before's (zeros past before's end).
std::vector<PageData> changedPages(const Bytes& before, const Bytes& after, std::size_t pageSize);

// A log's base block: the first sector of hive's, with the file type and
// both sequence numbers given, sealed.
Bytes logBaseBlock(const Bytes& hive, std::uint32_t fileType, std::uint32_t sequence);

// One HvLE entry, padded to 512 bytes, its hashes right.
Bytes logEntry(std::uint32_t sequence, std::uint32_t binsSize, const std::vector<PageData>& pages,
               std::uint32_t flags = 0);
// Recomputes an entry's two hashes (after a test changed it).
void rehash(Bytes& log, std::size_t entryAt);
// A new-format log: its base block, then the entries.
Bytes newFormatLog(const Bytes& baseBlock, const std::vector<Bytes>& entries);
// An old-format log for the change from before to after: its base block
// (after's, with before's timestamp), the DIRT vector, and the pages.
Bytes oldFormatLog(const Bytes& before, const Bytes& after);

class HiveBuilder;

// A hive before and after changes made through hivex, both named name.
struct HiveStates {
    Bytes before;
    Bytes after;
};
// Builds file (a scratch file, left with the after state) with fill, then
// goes on with change.
HiveStates buildStates(const std::filesystem::path& file, const std::string& name,
                       const std::function<void(HiveBuilder&)>& fill, const std::function<void(HiveBuilder&)>& change);
// A new-format log of the change: before's base block (type 6) and one
// entry numbered before's secondary sequence number with the 4096-byte
// pages that changed.
Bytes newFormatLogFor(const HiveStates& states);

}  // namespace brisko::testing
