// The rules the signature table is built by.
//
// - 125 records named "W32/Krenot.<tag>.PSW.Trojan", the tags of kTags in
//   table order. A repeated name is a separate record with its own probes.
// - Records 1, 5 and 121 are the known ones in kKnownRecords, taken as they
//   are. Every other value is drawn from one SplitMix64 stream seeded with
//   kSeed, in table order, so the output changes only when these rules do.
// - Every record has size mode 1: the file length must equal expectedSize.
// - Expected sizes are distinct multiples of 512 in [12288, 518144] across
//   the whole table, so the size test alone tells any two records apart and
//   no sample of one record can be taken for an earlier one.
// - probeOffset1 lies in [-232051, 407] and probeOffset2 in [-18777, 283255].
//   Both ends of all three ranges occur: record 121 has -232051, and the
//   records in kPinnedValues carry the other five ends.
// - The two 20-byte probe windows are at least kMinProbeGap bytes apart.
//   From the lowest to the highest of the entry point and the two windows
//   they leave at least kLayoutRoom bytes of the expected size free, as in
//   a real image, which holds its entry point and both probes. That room
//   takes the headers and the alignment padding of any sample layout, so an
//   image of exactly the expected size can carry both probes clear of its
//   headers and of each other, with or without sections.
// - Probe bytes are 20 drawn bytes, never all one value, and probe 1 never
//   equals probe 2.
#include "tools/signature_table_generator/signature_records.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "tools/signature_table_generator/splitmix64.h"

namespace brisko {
namespace {

constexpr std::uint64_t kSeed = 0x4b72656e6f74ull;

constexpr std::int64_t kProbe1Lowest = -232051;
constexpr std::int64_t kProbe1Highest = 407;
constexpr std::int64_t kProbe2Lowest = -18777;
constexpr std::int64_t kProbe2Highest = 283255;
constexpr std::int64_t kSmallestSize = 12288;
constexpr std::int64_t kLargestSize = 518144;
constexpr std::int64_t kSizeStep = 512;

constexpr std::int64_t kMinProbeGap = 64;
constexpr std::int64_t kLayoutRoom = 8192;
constexpr int kMaxDraws = 1000;

constexpr const char* kTags[kSignatureCount] = {
    "Ek",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",
    "Cu",   "Eq",   "Cu",   "Bs",   "Dt",   "Am",   "Ez",   "Jp",   "Fr",   "Mq",   "Mq",   "Mq",
    "Mq",   "Mq",   "V",    "Hh",   "V",    "Z",    "V",    "V",    "V",    "Mq",   "Mq",   "Mq",
    "V",    "Mq",   "Mq",   "Mq",   "Mq",   "Hp",   "Lg",   "Mq",   "Mq",   "Nm",   "Nm",   "Nm",
    "Nm",   "Nm",   "Nm",   "Nm",   "Nm",   "Nb",   "Nm",   "Pb",   "Pj",   "Qx",   "Pk",   "Ak",
    "Ko",   "Sd",   "Rb",   "Om",   "Ss",   "Acj",  "Qz",   "Ra",   "Ul",   "Ajs",  "Bch",  "Ael",
    "Ahe",  "Pih",  "Pif",  "Ajs",  "Pik",  "Aqk",  "Bax",  "Phz",  "Bfa",  "Beq",  "Bey",  "Xwn",
    "Ysr",  "Gox",  "Qdv",  "Zdj",  "Pwm",  "Aard", "Vyc",  "Pjs",  "Zbz",  "Qfx",  "Adtc", "Alne",
    "Ajja", "Amcr", "Agro", "Ajfo", "Albl", "Alug", "Ypf",  "Agmn", "Alqb", "Acns", "Alzm", "Reh",
    "Alrp", "Agvh", "Agwy", "Alyi", "Aikw", "Alxl", "Amcq", "Abhd", "Alpz", "Abhp", "Fgt",  "Fik",
    "Fqc",  "Amdp", "Zec",  "Aljt", "Albl",
};

struct KnownRecord {
    unsigned position;  // 1-based, in table order
    const char* tag;
    std::int32_t probeOffset1;
    const char* probeBytes1;  // hex
    std::int32_t probeOffset2;
    const char* probeBytes2;
    std::int32_t expectedSize;
};

constexpr KnownRecord kKnownRecords[] = {
    {1, "Ek", -2834, "0000ff155080410033c08bc8c1e10281c1583240", 88513,
     "c5088b0000ce54af8e10ffff00dd8b00c0c30000", 102400},
    {5, "Gn", 246, "006a5868eab04000a3cc954100e8dc3700008d86", 90859,
     "684c8241002bc66a008907ffd383c704c745fc03", 95744},
    {121, "Fqc", -232051, "eabab23fc33c18421048224f4c7ccd12d55c85bf", 2750,
     "0b83c47c5b5e5f5d0373fc037bf831c08d8c2400", 250880},
};

// Range ends pinned on generated records; the rest of each record is drawn.
struct PinnedValues {
    unsigned position;
    std::optional<std::int64_t> probeOffset1;
    std::optional<std::int64_t> probeOffset2;
    std::optional<std::int64_t> expectedSize;
};

const PinnedValues kPinnedValues[] = {
    {2, kProbe1Highest, std::nullopt, std::nullopt},
    {3, std::nullopt, kProbe2Lowest, std::nullopt},
    {4, std::nullopt, kProbe2Highest, kLargestSize},
    {6, std::nullopt, std::nullopt, kSmallestSize},
};

const KnownRecord* knownRecordAt(unsigned position) {
    for (const KnownRecord& known : kKnownRecords) {
        if (known.position == position) return &known;
    }
    return nullptr;
}

PinnedValues pinsAt(unsigned position) {
    for (const PinnedValues& pinned : kPinnedValues) {
        if (pinned.position == position) return pinned;
    }
    return PinnedValues{position, std::nullopt, std::nullopt, std::nullopt};
}

void setName(ThreatSignature& record, const char* tag) {
    const std::string name = std::string("W32/Krenot.") + tag + ".PSW.Trojan";
    if (name.size() >= kThreatNameCapacity) throw std::runtime_error("name too long: " + name);
    std::memcpy(record.name, name.c_str(), name.size() + 1);
}

void decodeHex(const char* hex, std::uint8_t (&bytes)[kProbeLength]) {
    if (std::strlen(hex) != 2 * kProbeLength) throw std::runtime_error("a probe is 20 bytes");
    for (unsigned i = 0; i < kProbeLength; ++i) {
        const std::string pair(hex + 2 * i, 2);
        bytes[i] = static_cast<std::uint8_t>(std::strtoul(pair.c_str(), nullptr, 16));
    }
}

ThreatSignature knownRecord(const KnownRecord& known) {
    ThreatSignature record{};
    setName(record, known.tag);
    record.probeOffset1 = known.probeOffset1;
    decodeHex(known.probeBytes1, record.probeBytes1);
    record.probeOffset2 = known.probeOffset2;
    decodeHex(known.probeBytes2, record.probeBytes2);
    record.expectedSize = known.expectedSize;
    record.sizeMode = kSizeExact;
    return record;
}

class RecordDrawer {
public:
    explicit RecordDrawer(std::set<std::int64_t> takenSizes)
        : random_(kSeed), takenSizes_(std::move(takenSizes)) {}

    ThreatSignature draw(const char* tag, const PinnedValues& pins) {
        ThreatSignature record{};
        setName(record, tag);
        record.expectedSize = static_cast<std::int32_t>(pins.expectedSize ? *pins.expectedSize : freshSize());
        drawOffsets(record, pins);
        drawProbeBytes(record.probeBytes1);
        do {
            drawProbeBytes(record.probeBytes2);
        } while (std::memcmp(record.probeBytes1, record.probeBytes2, kProbeLength) == 0);
        record.sizeMode = kSizeExact;
        return record;
    }

private:
    std::int64_t freshSize() {
        for (int attempt = 0; attempt < kMaxDraws; ++attempt) {
            const std::int64_t size =
                kSizeStep * random_.between(kSmallestSize / kSizeStep, kLargestSize / kSizeStep);
            if (takenSizes_.insert(size).second) return size;
        }
        throw std::runtime_error("no free expected size left");
    }

    // Draws the offsets that are not pinned until the windows and the entry
    // point fit in `widest` bytes, the windows kMinProbeGap apart.
    void drawOffsets(ThreatSignature& record, const PinnedValues& pins) {
        const std::int64_t widest = record.expectedSize - kLayoutRoom;
        const std::int64_t reach = widest - kProbeLength;  // farthest either window starts from the other or the entry
        const std::int64_t probe2Low = pins.probeOffset2 ? *pins.probeOffset2 : kProbe2Lowest;
        const std::int64_t probe2High = pins.probeOffset2 ? *pins.probeOffset2 : kProbe2Highest;
        for (int attempt = 0; attempt < kMaxDraws; ++attempt) {
            const std::int64_t offset1 =
                pins.probeOffset1 ? *pins.probeOffset1
                                  : random_.between(std::max({kProbe1Lowest, -reach, probe2Low - reach}),
                                                    std::min({kProbe1Highest, reach, probe2High + reach}));
            const std::int64_t offset2 =
                pins.probeOffset2 ? *pins.probeOffset2
                                  : random_.between(std::max({kProbe2Lowest, -reach, offset1 - reach}),
                                                    std::min({kProbe2Highest, reach, offset1 + reach}));
            const std::int64_t first = std::min({offset1, offset2, std::int64_t{0}});
            const std::int64_t last = std::max({offset1 + kProbeLength, offset2 + kProbeLength, std::int64_t{1}});
            const std::int64_t distance = offset2 > offset1 ? offset2 - offset1 : offset1 - offset2;
            if (distance >= kMinProbeGap && last - first <= widest) {
                record.probeOffset1 = static_cast<std::int32_t>(offset1);
                record.probeOffset2 = static_cast<std::int32_t>(offset2);
                return;
            }
        }
        throw std::runtime_error("no probe offsets fit " + std::string(threatNameOf(record)));
    }

    void drawProbeBytes(std::uint8_t (&bytes)[kProbeLength]) {
        do {
            for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random_.next() >> 56);
        } while (std::all_of(bytes, bytes + kProbeLength, [&](std::uint8_t byte) { return byte == bytes[0]; }));
    }

    SplitMix64 random_;
    std::set<std::int64_t> takenSizes_;
};

}  // namespace

std::vector<ThreatSignature> buildSignatureRecords() {
    std::set<std::int64_t> takenSizes;
    for (const KnownRecord& known : kKnownRecords) takenSizes.insert(known.expectedSize);
    for (const PinnedValues& pinned : kPinnedValues) {
        if (pinned.expectedSize) takenSizes.insert(*pinned.expectedSize);
    }
    RecordDrawer drawer(std::move(takenSizes));

    std::vector<ThreatSignature> records;
    records.reserve(kSignatureCount);
    for (unsigned position = 1; position <= kSignatureCount; ++position) {
        const char* tag = kTags[position - 1];
        const KnownRecord* known = knownRecordAt(position);
        if (known != nullptr && std::strcmp(known->tag, tag) != 0) {
            throw std::runtime_error("known record out of place: " + std::string(known->tag));
        }
        records.push_back(known != nullptr ? knownRecord(*known) : drawer.draw(tag, pinsAt(position)));
    }
    return records;
}

}  // namespace brisko
