#pragma once
// The faults of the simulated machine as a whole: every fallible seam call
// of every fake asks the plan first, so a test can make any one of them
// fail as Windows would fail it. The plan counts the calls, can fail the
// n-th one from the moment it is armed, or every (or the next) call of one
// kind, and can record the kinds of the calls made, so that a test learns
// how many calls a scenario makes and which one it failed.
#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace brisko::fake {

// One entry per seam method that can fail; the calls that return nothing
// (sends, sleeps, closes, the program's exit) have no failure to give.
enum class SeamCall : std::uint8_t {
    kListDirectory,
    kListingNext,
    kDriveType,
    kExists,
    kSetAttributes,
    kRemoveFile,
    kMoveFile,
    kOpenForReading,
    kFileLength,
    kSeekFromStart,
    kRead,
    kOpenForWriting,
    kWrite,
    kCopyFile,
    kShortPathName,
    kDeleteAtRestart,
    kTakeMessage,
    kWindowsDirectory,
    kSystemDirectory,
    kTemporaryDirectory,
    kExpandEnvironmentStrings,
    kQueryVersion,
    kShowSystemMessage,
    kRequestShutdown,
    kConvertWideText,
    kSnapshotProcesses,
    kSnapshotFirst,
    kSnapshotNext,
    kListProcessIds,
    kOpenProcess,
    kImagePath,
    kTerminateProcess,
    kOpenMachineKey,
    kDeleteMachineKey,
    kQueryPerformanceData,
    kQueryValue,
    kDeleteValue,
    kCountValues,
    kValueNameAt,
    kSubkeyNameAt,
    kOpenServiceManager,
    kOpenService,
    kStopService,
    kQueryServiceState,
    kOpenOwnToken,
    kEnablePrivilege,
};

constexpr unsigned kSeamCallKinds = static_cast<unsigned>(SeamCall::kEnablePrivilege) + 1;

// The name of the call kind, for test traces.
const char* seamCallName(SeamCall call);

// How a call goes wrong. A transfer (read or write) can also come back
// short: part of the bytes moved, the call itself succeeded.
enum class Fault : std::uint8_t {
    kNone,
    kFailure,
    kShortTransfer,
};

class FaultPlan {
public:
    // The n-th seam call from now on (1: the next one) goes wrong; 0 takes
    // the fault back.
    void failCallNumber(std::uint64_t n, Fault fault = Fault::kFailure);
    // Every call of the kind fails, from now on.
    void failEvery(SeamCall call) { failingKinds_.insert(call); }
    // The next call of the kind goes wrong, the ones after it do not.
    void failNext(SeamCall call, Fault fault = Fault::kFailure) { nextOfKind_[call] = fault; }

    // Keeps the kind of every call from now on (earlier ones are dropped).
    void recordCalls();
    const std::vector<SeamCall>& recordedCalls() const { return recorded_; }
    std::uint64_t callsMade() const { return callsMade_; }

    // Asked by the fakes at the start of every fallible seam call: counts
    // and records the call, and says how it is to go wrong.
    Fault check(SeamCall call);
    // For the calls that move no bytes, where any fault is a failure.
    bool fails(SeamCall call) { return check(call) != Fault::kNone; }

private:
    std::uint64_t callsMade_ = 0;
    // The number of the call to fail, counted over the machine's life; 0: none.
    std::uint64_t failingNumber_ = 0;
    Fault failingNumberFault_ = Fault::kNone;
    std::set<SeamCall> failingKinds_;
    std::map<SeamCall, Fault> nextOfKind_;
    bool recording_ = false;
    std::vector<SeamCall> recorded_;
};

}  // namespace brisko::fake
