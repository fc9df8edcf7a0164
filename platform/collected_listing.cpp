#include "platform/collected_listing.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace brisko {
namespace {

bool listedBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
    return std::lexicographical_compare(
        a.name, a.name + std::strlen(a.name), b.name, b.name + std::strlen(b.name),
        [](char x, char y) { return std::toupper(static_cast<unsigned char>(x)) <
                                    std::toupper(static_cast<unsigned char>(y)); });
}

}  // namespace

DirectoryEntry makeDirectoryEntry(const std::string& name, std::uint32_t attributes, std::uint64_t size) {
    DirectoryEntry entry{};
    name.copy(entry.name, sizeof entry.name - 1);
    entry.attributes = attributes;
    entry.size = size;
    return entry;
}

CollectedListing::CollectedListing(std::vector<DirectoryEntry> entries, std::size_t dotEntries)
    : entries_(std::move(entries)) {
    std::sort(entries_.begin() + static_cast<std::ptrdiff_t>(std::min(dotEntries, entries_.size())),
              entries_.end(), listedBefore);
}

bool CollectedListing::next(DirectoryEntry& entry) {
    if (position_ >= entries_.size()) return false;
    entry = entries_[position_++];
    return true;
}

}  // namespace brisko
