#include "platform/hive/hive_replay.h"

#include <algorithm>
#include <cstring>

#include "platform/hive/base_block.h"
#include "platform/hive/new_format_log.h"
#include "platform/hive/old_format_log.h"

namespace brisko::hive {
namespace {

struct FoundLog {
    const LogBytes* log;
    LogHeader header;
};

HiveReplay notReplayable(const std::vector<std::uint8_t>& hive, std::string why) {
    HiveReplay replay;
    replay.state = HiveLogState::kNotReplayable;
    replay.text = std::move(why);
    replay.readableAsItStands = baseBlockValid(hive.data());
    return replay;
}

// The image's base block: the hive's own when valid, otherwise the log's
// copy of it (its first sector; the rest of the block is reserved).
std::vector<std::uint8_t> startImage(const std::vector<std::uint8_t>& hive, const LogBytes* recoveredFrom) {
    std::vector<std::uint8_t> image = hive;
    if (recoveredFrom != nullptr) {
        std::fill_n(image.begin(), kBaseBlockSize, 0);
        std::copy_n(recoveredFrom->data, kLogBaseBlockSize, image.begin());
    }
    return image;
}

void finish(std::vector<std::uint8_t>& image, std::uint32_t sequence) {
    std::uint8_t* block = image.data();
    writeLittle32(block + kPrimarySequenceAt, sequence);
    writeLittle32(block + kSecondarySequenceAt, sequence);
    writeLittle32(block + kFileTypeAt, kFileTypePrimary);
    sealBaseBlock(block);
}

std::string names(const std::vector<FoundLog>& logs) {
    std::string text;
    for (const FoundLog& found : logs) text += (text.empty() ? "" : ", ") + found.log->name;
    return text;
}

}  // namespace

HiveReplay replayHive(const std::vector<std::uint8_t>& hive, const std::vector<LogBytes>& logs) {
    HiveReplay replay;
    if (hive.size() < kBaseBlockSize) return notReplayable(hive, "not a registry hive");
    const std::uint8_t* block = hive.data();
    if (!hiveDirty(block)) return replay;
    const bool valid = baseBlockValid(block);

    std::vector<FoundLog> newLogs;
    std::vector<FoundLog> oldLogs;
    std::uint64_t logBytes = 0;
    for (const LogBytes& log : logs) {
        const LogHeader header = readLogHeader(log);
        if (header.format == LogFormat::kEmpty) continue;
        if (header.format == LogFormat::kUnknown) return notReplayable(hive, log.name + ": " + header.why);
        const std::uint32_t highest = highestLogSequence(log);
        if (!sameHive(log.data, block)) {
            // A log left from before the hive was last written whole holds
            // nothing the hive lacks, whoever wrote it.
            const bool stale = header.format == LogFormat::kNew
                                   ? valid && sequenceBefore(highest, readLittle32(block + kSecondarySequenceAt))
                                   : valid && header.writtenAt != readLittle64(block + kWrittenAtAt);
            if (stale) continue;
            return notReplayable(hive, log.name + ": written for another hive");
        }
        replay.highestLogSequence = std::max(replay.highestLogSequence, highest);
        logBytes += log.size;
        (header.format == LogFormat::kNew ? newLogs : oldLogs).push_back({&log, header});
    }
    if (newLogs.empty() && oldLogs.empty()) {
        return notReplayable(hive, valid ? "dirty, and no transaction log beside it holds its changes"
                                         : "a damaged base block, and no transaction log to recover it from");
    }
    // The hive grows only by pages its logs carry.
    const std::uint64_t maxBinsSize = (hive.size() - kBaseBlockSize) / kBinAlignment * kBinAlignment +
                                      (logBytes + kBinAlignment - 1) / kBinAlignment * kBinAlignment;

    if (!newLogs.empty()) {
        // The log whose base block is older holds the earlier entries.
        std::stable_sort(newLogs.begin(), newLogs.end(), [](const FoundLog& a, const FoundLog& b) {
            return sequenceBefore(a.header.sequence, b.header.sequence);
        });
        // A damaged base block is recovered from the newer log, and that
        // log's entries replayed, as Windows does.
        if (!valid) newLogs.erase(newLogs.begin(), newLogs.end() - 1);
        const FoundLog& newest = newLogs.back();
        std::vector<std::uint8_t> image = startImage(hive, valid ? nullptr : newest.log);
        const std::uint32_t binsSize = readLittle32(image.data() + kBinsSizeAt);
        if (binsSize < kBinAlignment || binsSize % kBinAlignment != 0 || binsSize > maxBinsSize) {
            return notReplayable(hive, newest.log->name + ": a wrong hive bins data size");
        }
        image.resize(kBaseBlockSize + binsSize, 0);
        const std::uint32_t expected = valid ? readLittle32(block + kSecondarySequenceAt) : newest.header.sequence;
        std::vector<LogBytes> ordered;
        for (const FoundLog& found : newLogs) ordered.push_back(*found.log);
        const NewFormatReplay applied = applyNewFormatLogs(image, ordered, expected, maxBinsSize);
        finish(image, applied.applied > 0 ? applied.next - 1 : expected);
        replay.state = HiveLogState::kReplayed;
        replay.image = std::move(image);
        replay.text = "dirty: " + std::to_string(applied.applied) + " log entr" + (applied.applied == 1 ? "y" : "ies") +
                      " replayed from " + names(newLogs) +
                      (applied.stop.empty() ? "" : " (replay stopped: " + applied.stop + ")");
        return replay;
    }

    // The old format: the first log written for the hive's last state.
    const std::uint64_t writtenAt = valid ? readLittle64(block + kWrittenAtAt)
                                    : hive.size() >= kFirstBinWrittenAt + 8
                                        ? readLittle64(hive.data() + kFirstBinWrittenAt)
                                        : 0;
    for (const FoundLog& found : oldLogs) {
        std::vector<std::uint8_t> image = startImage(hive, valid ? nullptr : found.log);
        const OldLogCheck check = applyOldFormatLog(image, *found.log, found.header, writtenAt);
        if (check == OldLogCheck::kStale) continue;
        if (check != OldLogCheck::kApplied) return notReplayable(hive, found.log->name + ": " + describe(check));
        finish(image, std::max(readLittle32(image.data() + kPrimarySequenceAt), found.header.sequence));
        replay.state = HiveLogState::kReplayed;
        replay.image = std::move(image);
        replay.text = "dirty: its changes replayed from " + found.log->name;
        return replay;
    }
    return notReplayable(hive, "dirty, and none of its logs (" + names(oldLogs) + ") was written for its last state");
}

}  // namespace brisko::hive
