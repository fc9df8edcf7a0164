#include "tools/brisko_scan/json_report.h"

#include "tools/brisko_scan/json_text.h"

namespace brisko {
namespace {

const char* eventName(ScanEventKind kind) {
    switch (kind) {
        case ScanEventKind::kDetection: return "detection";
        case ScanEventKind::kHostsInfection: return "hosts";
        case ScanEventKind::kTreatment: return "treatment";
        case ScanEventKind::kRegistryValue: return "registry value";
        case ScanEventKind::kRegistryKey: return "registry key";
        case ScanEventKind::kError: return "error";
    }
    return "event";
}

// What the "what" of an event is called in the report.
const char* whatName(ScanEventKind kind) {
    switch (kind) {
        case ScanEventKind::kTreatment: return "result";
        case ScanEventKind::kRegistryValue: return "value";
        default: return "what";
    }
}

// Registry events name a key, the others a file.
const char* whereName(ScanEventKind kind) {
    return kind == ScanEventKind::kRegistryValue || kind == ScanEventKind::kRegistryKey ? "key" : "path";
}

const char* actionName(std::int32_t action) {
    switch (action) {
        case kActionRemove:
        case kActionRemoveToo: return "remove";
        case kActionRename: return "rename";
        default: return "leave";
    }
}

std::string member(const char* name, const std::string& json) { return "," + jsonString(name) + ":" + json; }

}  // namespace

void JsonReport::noteEvent(const ScanEvent& event) {
    std::string object = "{\"event\":" + jsonString(eventName(event.kind));
    object += member(whereName(event.kind), jsonString(event.where));
    if (event.threat != nullptr) object += member("threat", jsonString(event.threat));
    if (event.what != nullptr) object += member(whatName(event.kind), jsonString(event.what));
    if (event.hive != nullptr) object += member("hive", jsonString(event.hive));
    if (event.view != nullptr) object += member("view", jsonString(event.view));
    writeLine(object + "}");
    inner_.noteEvent(event);
}

void JsonReport::writeSummary(const ScanSession& session, int exitStatus) {
    writeLine("{\"summary\":{\"action\":" + jsonString(actionName(session.userAction)) +
              member("files scanned", std::to_string(session.filesScanned)) +
              member("files infected", std::to_string(session.filesInfected)) +
              member("files removed", std::to_string(session.filesRemoved)) +
              member("files renamed", std::to_string(session.filesRenamed)) +
              member("exit status", std::to_string(exitStatus)) + "}}");
}

void JsonReport::writeLine(const std::string& object) {
    std::fprintf(file_, "%s\n", object.c_str());
    std::fflush(file_);
}

}  // namespace brisko
