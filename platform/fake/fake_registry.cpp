#include "platform/fake/fake_registry.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/fake/capitals.h"
#include "platform/fake/fake_performance_data.h"
#include "platform/registry_results.h"

namespace brisko::fake {
namespace {

constexpr std::uint32_t kKeySetValue = 0x0002;
const char kSoftware[] = "SOFTWARE";
// Where 64-bit programs see the 32-bit view of Software.
const char kWow64Node[] = "\\Wow6432Node";
const char kPerflibNames[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib\\009";

std::u16string widened(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

class FakeRegistry::Key : public RegistryKey {
public:
    Key(FakeRegistry& owner, std::string path, std::uint32_t access)
        : owner_(owner), path_(std::move(path)), access_(access) {
        ++owner_.openKeys_;
    }
    ~Key() override { --owner_.openKeys_; }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    RegistryStatus queryValue(const char* name, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t& size) override {
        if (owner_.faults_.fails(SeamCall::kQueryValue)) return kErrorAccessDenied;
        RegistryValue* found = find(name);
        if (found == nullptr) return kErrorFileNotFound;
        if (type != nullptr) *type = found->type;
        return giveRegistryData(found->data.data(), static_cast<std::uint32_t>(found->data.size()), data, size);
    }

    RegistryStatus deleteValue(const char* name) override {
        if (owner_.faults_.fails(SeamCall::kDeleteValue)) return kErrorAccessDenied;
        if ((access_ & kKeySetValue) == 0) return kErrorAccessDenied;
        std::vector<RegistryValue>* values = stored();
        if (values == nullptr || find(name) == nullptr) return kErrorFileNotFound;
        const std::string wanted = inCapitalLetters(name == nullptr ? "" : name);
        values->erase(std::remove_if(values->begin(), values->end(),
                                     [&](const RegistryValue& v) { return inCapitalLetters(v.name) == wanted; }),
                      values->end());
        return kErrorSuccess;
    }

    RegistryStatus countValues(std::uint32_t& count) override {
        if (owner_.faults_.fails(SeamCall::kCountValues)) return kErrorAccessDenied;
        std::vector<RegistryValue>* values = stored();
        if (values == nullptr) return kErrorFileNotFound;
        count = static_cast<std::uint32_t>(values->size());
        return kErrorSuccess;
    }

    RegistryStatus valueNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) override {
        if (owner_.faults_.fails(SeamCall::kValueNameAt)) return kErrorAccessDenied;
        std::vector<RegistryValue>* values = stored();
        if (values == nullptr) return kErrorFileNotFound;
        if (index >= values->size()) return kErrorNoMoreItems;
        return giveRegistryName((*values)[index].name, name, capacity);
    }

    RegistryStatus subkeyNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) override {
        if (owner_.faults_.fails(SeamCall::kSubkeyNameAt)) return kErrorAccessDenied;
        if (stored() == nullptr) return kErrorFileNotFound;
        const std::string* subkey = owner_.subkeyNameAt(path_, index);
        if (subkey == nullptr) return kErrorNoMoreItems;
        return giveRegistryName(*subkey, name, capacity);
    }

private:
    // Null once the key was deleted behind the open handle.
    std::vector<RegistryValue>* stored() {
        const auto found = owner_.keys_.find(path_);
        return found == owner_.keys_.end() ? nullptr : &found->second.values;
    }
    RegistryValue* find(const char* name) {
        std::vector<RegistryValue>* values = stored();
        if (values == nullptr) return nullptr;
        const std::string wanted = inCapitalLetters(name == nullptr ? "" : name);
        for (RegistryValue& value : *values) {
            if (inCapitalLetters(value.name) == wanted) return &value;
        }
        return nullptr;
    }

    FakeRegistry& owner_;
    std::string path_;
    std::uint32_t access_;
};

FakeRegistry::FakeRegistry(FaultPlan& faults, FakeProcesses& processes) : faults_(faults), processes_(processes) {
    setValue(kPerflibNames, "Counters", kRegistryMultiString, buildCounterNames(standardCounterNames()));
}

std::string FakeRegistry::keyOf(const std::string& path) {
    std::string key = inCapitalLetters(path);
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

void FakeRegistry::addKey(const std::string& path) {
    const std::string key = keyOf(path);
    // Each key keeps its name as first spelt, as Windows does.
    std::size_t start = 0;
    for (std::size_t end = key.find('\\'); start <= key.size(); end = key.find('\\', start)) {
        if (end == std::string::npos) end = key.size();
        StoredKey& stored = keys_[key.substr(0, end)];
        if (stored.name.empty()) stored.name = path.substr(start, end - start);
        start = end + 1;
    }
}

const std::string* FakeRegistry::subkeyNameAt(const std::string& path, std::uint32_t index) const {
    const std::string prefix = path + "\\";
    std::uint32_t seen = 0;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
         ++it) {
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;  // deeper down
        if (seen++ == index) return &it->second.name;
    }
    return nullptr;
}

bool FakeRegistry::hasKey(const std::string& path) const { return keys_.count(keyOf(path)) != 0; }

void FakeRegistry::setValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
                            const std::vector<std::uint8_t>& data) {
    addKey(keyPath);
    std::vector<RegistryValue>& values = keys_[keyOf(keyPath)].values;
    for (RegistryValue& value : values) {
        if (inCapitalLetters(value.name) == inCapitalLetters(name)) {
            value.type = type;
            value.data = data;
            return;
        }
    }
    values.push_back({name, type, data});
}

void FakeRegistry::setString(const std::string& keyPath, const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    setValue(keyPath, name, kRegistryString, data);
}

void FakeRegistry::setStringInView(const std::string& keyPath, RegistryView view, const std::string& name,
                                   const std::string& text) {
    const std::string path = pathInView(keyPath, view);
    if (path.empty()) throw std::invalid_argument("a view that 32-bit Windows does not keep");
    setString(path, name, text);
}

std::optional<RegistryValue> FakeRegistry::value(const std::string& keyPath, const std::string& name) const {
    const auto key = keys_.find(keyOf(keyPath));
    if (key == keys_.end()) return std::nullopt;
    for (const RegistryValue& value : key->second.values) {
        if (inCapitalLetters(value.name) == inCapitalLetters(name)) return value;
    }
    return std::nullopt;
}

std::map<std::string, std::vector<RegistryValue>> FakeRegistry::contents() const {
    std::map<std::string, std::vector<RegistryValue>> all;
    for (const auto& [path, key] : keys_) all[path] = key.values;
    return all;
}

RegistryViews FakeRegistry::softwareViews() {
    switch (bitness_) {
        case FakeBitness::k64BitProgram: return {RegistryView::k64Bit, RegistryView::k32Bit};
        case FakeBitness::k32BitProgramOnWow64: return {RegistryView::k32Bit, RegistryView::k64Bit};
        case FakeBitness::k32BitWindows: break;
    }
    return {};
}

std::string FakeRegistry::pathInView(const std::string& subkey, RegistryView view) const {
    if (view == RegistryView::kDefault) {
        if (bitness_ == FakeBitness::k32BitWindows) return subkey;
        view = bitness_ == FakeBitness::k64BitProgram ? RegistryView::k64Bit : RegistryView::k32Bit;
    } else if (bitness_ == FakeBitness::k32BitWindows) {
        return std::string();
    }
    const std::string key = keyOf(subkey);
    const std::size_t softwareLength = sizeof kSoftware - 1;
    const bool inSoftware = key.compare(0, softwareLength, kSoftware) == 0 &&
                            (key.size() == softwareLength || key[softwareLength] == '\\');
    if (view != RegistryView::k32Bit || !inSoftware) return subkey;
    return subkey.substr(0, softwareLength) + kWow64Node + subkey.substr(softwareLength);
}

RegistryStatus FakeRegistry::openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                            std::unique_ptr<RegistryKey>& key) {
    key.reset();
    if (faults_.fails(SeamCall::kOpenMachineKey)) return kErrorAccessDenied;
    const std::string spelt = pathInView(subkey, view);
    if (spelt.empty()) return kErrorInvalidParameter;
    const std::string path = keyOf(spelt);
    if (denied_.count(path) != 0) return kErrorAccessDenied;
    if (keys_.count(path) == 0) return kErrorFileNotFound;
    key = std::make_unique<Key>(*this, path, access);
    return kErrorSuccess;
}

RegistryStatus FakeRegistry::deleteMachineKey(const char* subkey) {
    deletionsAsked_.push_back(subkey);
    if (faults_.fails(SeamCall::kDeleteMachineKey)) return kErrorAccessDenied;
    const std::string path = keyOf(subkey);
    if (denied_.count(path) != 0) return kErrorAccessDenied;
    const auto found = keys_.find(path);
    if (found == keys_.end()) return kErrorFileNotFound;
    const auto after = std::next(found);
    if (after != keys_.end() && after->first.compare(0, path.size() + 1, path + "\\") == 0) {
        return kErrorAccessDenied;  // as Windows NT answers for a key with subkeys
    }
    keys_.erase(found);
    return kErrorSuccess;
}

std::vector<std::uint8_t> FakeRegistry::currentPerformanceData() const {
    if (performanceData_) return *performanceData_;
    // As on Windows: the idle process first, the summary instance last, both
    // with process id 0.
    std::vector<PerformanceInstance> instances{{u"Idle", 0}};
    for (const FakeProcess& process : processes_.running()) {
        instances.push_back({widened(process.instanceName), process.id});
    }
    instances.push_back({u"_Total", 0});
    return buildProcessPerformanceData(instances);
}

RegistryStatus FakeRegistry::queryPerformanceData(const char* objects, std::uint8_t* data, std::uint32_t& size) {
    ++performanceQueries_;
    performanceOpen_ = 1;
    if (faults_.fails(SeamCall::kQueryPerformanceData)) return kErrorAccessDenied;
    if (std::strcmp(objects, std::to_string(kProcessObjectIndex).c_str()) != 0) return kErrorFileNotFound;
    const std::vector<std::uint8_t> block = currentPerformanceData();
    // ERROR_MORE_DATA leaves size as the caller gave it, unless told
    // otherwise: the system does not tell how much it needs.
    const bool fits = data != nullptr && size >= block.size();
    if (moreDataQueries_ > 0 || !fits) {
        if (moreDataQueries_ > 0) --moreDataQueries_;
        if (sizeLeftOnMoreData_) size = *sizeLeftOnMoreData_;
        return kErrorMoreData;
    }
    std::memcpy(data, block.data(), block.size());
    size = static_cast<std::uint32_t>(block.size());
    return kErrorSuccess;
}

}  // namespace brisko::fake
