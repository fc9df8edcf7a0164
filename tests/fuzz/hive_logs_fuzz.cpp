// The replay of a dirty hive's transaction logs, on any bytes as a log. The
// first byte picks how the rest is laid beside an empty dirty hive: bit 0 an
// old-format log rather than a new-format one, bit 1 every HvLE entry's
// hashes made right (so that mutations reach past them), bit 2 the hive's
// base block damaged. The rest follows a base block made for the hive; the
// bytes are also tried as a log on their own. Whatever comes out must be
// bounded and whole: a replayed image is a sealed base block with equal
// sequence numbers, its hive bins data size its true size, never larger
// than the hive and its log together; a refusal says why.
#include <cstring>
#include <string>
#include <vector>

#include "platform/hive/base_block.h"
#include "platform/hive/hive_replay.h"
#include "platform/hive/marvin32.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/hive/dirty_hive.h"
#include "tests/hive/empty_hive.h"

namespace {

namespace hive = brisko::hive;
using Bytes = std::vector<std::uint8_t>;

void check(const hive::HiveReplay& replay, const Bytes& hiveBytes, std::size_t logSize) {
    FUZZ_CHECK(replay.state != hive::HiveLogState::kClean);
    if (replay.state == hive::HiveLogState::kNotReplayable) {
        FUZZ_CHECK(replay.image.empty());
        FUZZ_CHECK(!replay.text.empty());
        return;
    }
    const Bytes& image = replay.image;
    FUZZ_CHECK(image.size() >= hive::kBaseBlockSize + hive::kBinAlignment);
    FUZZ_CHECK(image.size() - hive::kBaseBlockSize == brisko::readLittle32(image.data() + hive::kBinsSizeAt));
    FUZZ_CHECK(image.size() <= hiveBytes.size() + logSize + hive::kBinAlignment);
    FUZZ_CHECK(hive::baseBlockValid(image.data()));
    FUZZ_CHECK(brisko::readLittle32(image.data() + hive::kPrimarySequenceAt) ==
               brisko::readLittle32(image.data() + hive::kSecondarySequenceAt));
}

void rehashEntries(Bytes& log) {
    for (std::size_t at = hive::kLogSector; log.size() >= 40 && at <= log.size() - 40; at += hive::kLogSector) {
        if (std::memcmp(log.data() + at, "HvLE", 4) != 0) continue;
        const std::uint32_t size = brisko::readLittle32(log.data() + at + 4);
        if (size < 40 || size > log.size() - at) continue;
        brisko::testing::rehash(log, at);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    static const Bytes clean = brisko::testing::emptyHiveBytes("ROOT", brisko::testing::kHiveVersionXp);
    Bytes dirty = brisko::testing::dirtied(clean);
    if ((mode & 4) != 0) dirty[hive::kChecksumAt] ^= 0x10;

    const Bytes raw(data + 1, data + size);
    check(hive::replayHive(dirty, {{"HIVE.LOG1", raw.data(), raw.size()}}), dirty, raw.size());

    Bytes log = brisko::testing::logBaseBlock(clean, (mode & 1) != 0 ? hive::kFileTypeOldLog : hive::kFileTypeNewLog,
                                              brisko::readLittle32(clean.data() + hive::kSecondarySequenceAt));
    log.insert(log.end(), raw.begin(), raw.end());
    if ((mode & 2) != 0) rehashEntries(log);
    check(hive::replayHive(dirty, {{"HIVE.LOG", nullptr, 0}, {"HIVE.LOG1", log.data(), log.size()}}), dirty,
          log.size());
    return 0;
}
