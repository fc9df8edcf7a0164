#include "scan/file_examination.h"

#include <cstring>

#include "base/bounded_text.h"
#include "matcher/image_matcher.h"
#include "platform/platform.h"
#include "platform/read_only_file.h"
#include "scan/disposition.h"
#include "scan/scan.h"

namespace brisko {
namespace {

void forgetInfectedPath(ScanSession& session) {
    std::memset(session.infectedPath, 0, sizeof session.infectedPath);
}

int reportDetection(Scan& scan, const ThreatSignature& record, ReadOnlyFile& file, const char* path) {
    ScanSession& session = scan.session();
    char threatName[kThreatNameCapacity];
    copyTruncated(threatName, threatNameOf(record));
    ++session.filesInfected;
    file.close();
    scan.actions().cleanAfterDetection(scan, threatName);
    copyTruncated(session.currentThreat, threatName);
    copyTruncated(session.currentItem, path);
    scan.context().noteEvent({ScanEventKind::kDetection, path, threatName});
    if (session.inMemoryScan) {
        session.foundInMemory = 1;
        return 1;
    }
    disposeInfectedFile(scan, path, threatName);
    forgetInfectedPath(session);
    return 1;
}

}  // namespace

int matchFileAgainst(Scan& scan, const ThreatSignature* table, const char* threatLabel, const char* path,
                     std::uint64_t listedLength) {
    ScanSession& session = scan.session();
    if (session.memoryScanAction != 0 && session.reportWindow != 0) {
        disposeDirectly(scan, path, threatLabel);
        return 0;
    }
    if (session.filesInfected == 0) {
        std::memset(session.autostartValueName, 0, sizeof session.autostartValueName);
    }
    forgetInfectedPath(session);
    if (listedLength != kLengthUnknown && !someSignatureAcceptsLength(table, listedLength)) return 0;

    ReadOnlyFile file(files(), path);
    if (!file.isOpen() || !copyIfFits(session.infectedPath, path)) return 0;
    if (const ThreatSignature* record = findSignature(table, file)) {
        return reportDetection(scan, *record, file, path);
    }
    forgetInfectedPath(session);
    return 0;
}

int matchFile(Scan& scan, const char* threatLabel, const char* path, std::uint64_t listedLength) {
    return matchFileAgainst(scan, signatureTable, threatLabel, path, listedLength);
}

}  // namespace brisko
