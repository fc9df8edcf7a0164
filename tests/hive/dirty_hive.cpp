#include "tests/hive/dirty_hive.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/hive/base_block.h"
#include "platform/hive/marvin32.h"
#include "tests/hive/hive_builder.h"

namespace brisko::testing {

namespace hive = brisko::hive;

Bytes readFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

std::uint32_t field32(const Bytes& bytes, std::size_t at) { return readLittle32(bytes.data() + at); }
void setField32(Bytes& bytes, std::size_t at, std::uint32_t value) { hive::writeLittle32(bytes.data() + at, value); }
void seal(Bytes& bytes) { hive::sealBaseBlock(bytes.data()); }

void nameHive(Bytes& hive, const std::string& name) {
    std::fill_n(hive.begin() + hive::kFileNameAt, 64, 0);
    for (std::size_t i = 0; i < name.size() && i < 31; ++i)
        hive[hive::kFileNameAt + 2 * i] = static_cast<std::uint8_t>(name[i]);
    seal(hive);
}

Bytes dirtied(const Bytes& hive) {
    Bytes dirty = hive;
    setField32(dirty, hive::kPrimarySequenceAt, field32(hive, hive::kSecondarySequenceAt) + 1);
    seal(dirty);
    return dirty;
}

std::vector<PageData> changedPages(const Bytes& before, const Bytes& after, std::size_t pageSize) {
    std::vector<PageData> pages;
    const std::size_t bins = field32(after, hive::kBinsSizeAt);
    for (std::size_t offset = 0; offset < bins; offset += pageSize) {
        Bytes page(after.begin() + static_cast<std::ptrdiff_t>(hive::kBaseBlockSize + offset),
                   after.begin() + static_cast<std::ptrdiff_t>(hive::kBaseBlockSize + offset + pageSize));
        // Pages the hive grew by are all written, as Windows writes them.
        const bool grown = hive::kBaseBlockSize + offset + pageSize > before.size();
        if (grown || !std::equal(page.begin(), page.end(),
                                 before.begin() + static_cast<std::ptrdiff_t>(hive::kBaseBlockSize + offset))) {
            pages.push_back({static_cast<std::uint32_t>(offset), page});
        }
    }
    return pages;
}

Bytes logBaseBlock(const Bytes& hive, std::uint32_t fileType, std::uint32_t sequence) {
    Bytes block(hive.begin(), hive.begin() + hive::kLogBaseBlockSize);
    setField32(block, hive::kFileTypeAt, fileType);
    setField32(block, hive::kPrimarySequenceAt, sequence);
    setField32(block, hive::kSecondarySequenceAt, sequence);
    seal(block);
    return block;
}

void rehash(Bytes& log, std::size_t entryAt) {
    const std::uint32_t size = field32(log, entryAt + 4);
    std::uint8_t* entry = log.data() + entryAt;
    hive::writeLittle64(entry + 24, hive::marvin32(entry + 40, size - 40, hive::kHiveLogSeed));
    hive::writeLittle64(entry + 32, hive::marvin32(entry, 32, hive::kHiveLogSeed));
}

Bytes logEntry(std::uint32_t sequence, std::uint32_t binsSize, const std::vector<PageData>& pages,
               std::uint32_t flags) {
    Bytes entry(40);
    std::copy_n("HvLE", 4, entry.begin());
    setField32(entry, 8, flags);
    setField32(entry, 12, sequence);
    setField32(entry, 16, binsSize);
    setField32(entry, 20, static_cast<std::uint32_t>(pages.size()));
    for (const PageData& page : pages) {
        Bytes reference(8);
        setField32(reference, 0, page.offset);
        setField32(reference, 4, static_cast<std::uint32_t>(page.bytes.size()));
        entry.insert(entry.end(), reference.begin(), reference.end());
    }
    for (const PageData& page : pages) entry.insert(entry.end(), page.bytes.begin(), page.bytes.end());
    entry.resize((entry.size() + 511) / 512 * 512, 0);
    setField32(entry, 4, static_cast<std::uint32_t>(entry.size()));
    rehash(entry, 0);
    return entry;
}

Bytes newFormatLog(const Bytes& baseBlock, const std::vector<Bytes>& entries) {
    Bytes log = baseBlock;
    for (const Bytes& entry : entries) log.insert(log.end(), entry.begin(), entry.end());
    return log;
}

Bytes oldFormatLog(const Bytes& before, const Bytes& after) {
    Bytes log = logBaseBlock(after, hive::kFileTypeOldLog, field32(after, hive::kPrimarySequenceAt));
    std::copy_n(before.begin() + hive::kWrittenAtAt, 8, log.begin() + hive::kWrittenAtAt);
    seal(log);
    const std::size_t bins = field32(after, hive::kBinsSizeAt);
    Bytes vector(4 + bins / 512 / 8, 0);
    std::copy_n("DIRT", 4, vector.begin());
    // Windows tracks changes in 4096-byte blocks: each changed block's
    // eight pages are dirty.
    std::vector<PageData> pages;
    for (const PageData& block : changedPages(before, after, 4096)) {
        for (std::uint32_t part = 0; part < 4096; part += 512) {
            pages.push_back({block.offset + part, Bytes(block.bytes.begin() + part, block.bytes.begin() + part + 512)});
        }
    }
    for (const PageData& page : pages)
        vector[4 + page.offset / 512 / 8] |= static_cast<std::uint8_t>(1u << (page.offset / 512 % 8));
    vector.resize((vector.size() + 511) / 512 * 512, 0);
    log.insert(log.end(), vector.begin(), vector.end());
    for (const PageData& page : pages) log.insert(log.end(), page.bytes.begin(), page.bytes.end());
    return log;
}

HiveStates buildStates(const std::filesystem::path& file, const std::string& name,
                       const std::function<void(HiveBuilder&)>& fill, const std::function<void(HiveBuilder&)>& change) {
    HiveStates states;
    {
        HiveBuilder builder(file);
        fill(builder);
        builder.commit();
    }
    states.before = readFileBytes(file);
    {
        HiveBuilder builder(file, HiveBuilder::Existing{});
        change(builder);
        builder.commit();
    }
    states.after = readFileBytes(file);
    nameHive(states.before, name);
    nameHive(states.after, name);
    return states;
}

Bytes newFormatLogFor(const HiveStates& states) {
    const std::uint32_t sequence = field32(states.before, hive::kSecondarySequenceAt);
    return newFormatLog(logBaseBlock(states.before, hive::kFileTypeNewLog, sequence),
                        {logEntry(sequence, field32(states.after, hive::kBinsSizeAt),
                                  changedPages(states.before, states.after, 4096))});
}

}  // namespace brisko::testing
