#include "platform/fake/fault_plan.h"

namespace brisko::fake {

const char* seamCallName(SeamCall call) {
    switch (call) {
        case SeamCall::kListDirectory: return "listDirectory";
        case SeamCall::kListingNext: return "DirectoryListing::next";
        case SeamCall::kDriveType: return "driveType";
        case SeamCall::kExists: return "exists";
        case SeamCall::kSetAttributes: return "setAttributes";
        case SeamCall::kRemoveFile: return "removeFile";
        case SeamCall::kMoveFile: return "moveFile";
        case SeamCall::kOpenForReading: return "openForReading";
        case SeamCall::kFileLength: return "fileLength";
        case SeamCall::kSeekFromStart: return "seekFromStart";
        case SeamCall::kRead: return "read";
        case SeamCall::kOpenForWriting: return "openForWriting";
        case SeamCall::kWrite: return "write";
        case SeamCall::kCopyFile: return "copyFile";
        case SeamCall::kShortPathName: return "shortPathName";
        case SeamCall::kDeleteAtRestart: return "deleteAtRestart";
        case SeamCall::kTakeMessage: return "takeMessage";
        case SeamCall::kWindowsDirectory: return "windowsDirectory";
        case SeamCall::kSystemDirectory: return "systemDirectory";
        case SeamCall::kTemporaryDirectory: return "temporaryDirectory";
        case SeamCall::kExpandEnvironmentStrings: return "expandEnvironmentStrings";
        case SeamCall::kQueryVersion: return "queryVersion";
        case SeamCall::kShowSystemMessage: return "showSystemMessage";
        case SeamCall::kRequestShutdown: return "requestShutdown";
        case SeamCall::kConvertWideText: return "convertWideText";
        case SeamCall::kSnapshotProcesses: return "snapshotProcesses";
        case SeamCall::kSnapshotFirst: return "ProcessSnapshot::first";
        case SeamCall::kSnapshotNext: return "ProcessSnapshot::next";
        case SeamCall::kListProcessIds: return "listProcessIds";
        case SeamCall::kOpenProcess: return "openProcess";
        case SeamCall::kImagePath: return "OpenedProcess::imagePath";
        case SeamCall::kTerminateProcess: return "OpenedProcess::terminate";
        case SeamCall::kOpenMachineKey: return "openMachineKey";
        case SeamCall::kDeleteMachineKey: return "deleteMachineKey";
        case SeamCall::kQueryPerformanceData: return "queryPerformanceData";
        case SeamCall::kQueryValue: return "RegistryKey::queryValue";
        case SeamCall::kDeleteValue: return "RegistryKey::deleteValue";
        case SeamCall::kCountValues: return "RegistryKey::countValues";
        case SeamCall::kValueNameAt: return "RegistryKey::valueNameAt";
        case SeamCall::kSubkeyNameAt: return "RegistryKey::subkeyNameAt";
        case SeamCall::kOpenServiceManager: return "openManager";
        case SeamCall::kOpenService: return "ServiceManager::openService";
        case SeamCall::kStopService: return "OpenedService::stop";
        case SeamCall::kQueryServiceState: return "OpenedService::queryState";
        case SeamCall::kOpenOwnToken: return "openOwnToken";
        case SeamCall::kEnablePrivilege: return "AccessToken::enablePrivilege";
    }
    return "unknown";
}

void FaultPlan::failCallNumber(std::uint64_t n, Fault fault) {
    failingNumber_ = n == 0 ? 0 : callsMade_ + n;
    failingNumberFault_ = fault;
}

void FaultPlan::recordCalls() {
    recording_ = true;
    recorded_.clear();
}

Fault FaultPlan::check(SeamCall call) {
    ++callsMade_;
    if (recording_) recorded_.push_back(call);
    if (callsMade_ == failingNumber_) return failingNumberFault_;
    if (failingKinds_.count(call) != 0) return Fault::kFailure;
    const auto next = nextOfKind_.find(call);
    if (next != nextOfKind_.end()) {
        const Fault fault = next->second;
        nextOfKind_.erase(next);
        return fault;
    }
    return Fault::kNone;
}

}  // namespace brisko::fake
