#include "platform/hive/offline_registry.h"

#include <hivex.h>

#include <cstdlib>
#include <system_error>

#include "base/text_compare.h"
#include "platform/hive/ansi_text.h"
#include "platform/registry_results.h"

namespace brisko {
namespace {

constexpr std::uint32_t kKeySetValue = 0x0002;
// The key that holds the 32-bit view of 64-bit Windows' Software key.
constexpr const char* kThirtyTwoBitViewKey = "Wow6432Node";
// ERROR_REGISTRY_IO_FAILED: hivex could not read or change the hive.
constexpr RegistryStatus kErrorRegistryIoFailed = 1016;

struct FreeWithFree {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using Allocated = std::unique_ptr<T, FreeWithFree>;

// Splits "A\\B\\" into its key names; false for an empty name on the way.
bool splitKeyPath(const std::string& text, std::vector<std::string>& names) {
    names.clear();
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
    if (trimmed.empty()) return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = trimmed.find('\\', start);
        names.push_back(trimmed.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (names.back().empty()) return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

std::string keyName(hive_h* hive, hive_node_h node) {
    Allocated<char> name(hivex_node_name(hive, node));
    return name ? ansiFromUtf8(name.get()) : std::string();
}

std::string valueName(hive_h* hive, hive_value_h value) {
    Allocated<char> name(hivex_value_key(hive, value));
    return name ? ansiFromUtf8(name.get()) : std::string();
}

// The key at path below the hive's root; 0 when it is not there.
hive_node_h findKey(hive_h* hive, const std::vector<std::string>& path) {
    hive_node_h node = hivex_root(hive);
    for (const std::string& wanted : path) {
        Allocated<hive_node_h> children(hivex_node_children(hive, node));
        if (!children) return 0;
        node = 0;
        for (const hive_node_h* child = children.get(); *child != 0 && node == 0; ++child) {
            if (equalIgnoringCase(keyName(hive, *child).c_str(), wanted.c_str())) node = *child;
        }
        if (node == 0) return 0;
    }
    return node;
}

// The length of one of hivex's lists, which end with 0.
template <typename Handle>
std::uint32_t listLength(const Handle* list) {
    std::uint32_t length = 0;
    while (list[length] != 0) ++length;
    return length;
}

bool isStringType(hive_type type) {
    return type == hive_t_REG_SZ || type == hive_t_REG_EXPAND_SZ || type == hive_t_REG_MULTI_SZ;
}

}  // namespace

class OfflineRegistry::Key final : public RegistryKey {
public:
    Key(HiveFile& hive, std::vector<std::string> path, hive_node_h node, std::uint32_t access)
        : hive_(hive), path_(std::move(path)), node_(node), foundAfter_(hive.keyDeletions()), access_(access) {}

    RegistryStatus queryValue(const char* name, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t& size) override {
        Allocated<hive_value_h> values;
        const RegistryStatus listed = listValues(values);
        if (listed != kErrorSuccess) return listed;
        const hive_value_h* value = find(values.get(), name);
        if (value == nullptr) return kErrorFileNotFound;
        hive_type stored;
        std::size_t length = 0;
        Allocated<char> raw(hivex_value_value(hive_.hive(), *value, &stored, &length));
        if (!raw) return kErrorRegistryIoFailed;
        if (type != nullptr) *type = static_cast<std::uint32_t>(stored);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(raw.get());
        if (!isStringType(stored)) return giveRegistryData(bytes, static_cast<std::uint32_t>(length), data, size);
        const std::string text = ansiFromUtf16(bytes, length);
        return giveRegistryData(reinterpret_cast<const std::uint8_t*>(text.data()),
                                static_cast<std::uint32_t>(text.size()), data, size);
    }

    // hivex replaces a key's values as a whole: the others are written
    // back in their order, so the next value takes the deleted one's index.
    RegistryStatus deleteValue(const char* name) override {
        if ((access_ & kKeySetValue) == 0) return kErrorAccessDenied;
        Allocated<hive_value_h> values;
        const RegistryStatus listed = listValues(values);
        if (listed != kErrorSuccess) return listed;
        const hive_value_h* doomed = find(values.get(), name);
        if (doomed == nullptr) return kErrorFileNotFound;
        std::vector<Allocated<char>> owned;
        std::vector<hive_set_value> kept;
        for (const hive_value_h* value = values.get(); *value != 0; ++value) {
            if (value == doomed) continue;
            hive_set_value copy{};
            owned.emplace_back(hivex_value_key(hive_.hive(), *value));
            copy.key = owned.back().get();
            owned.emplace_back(hivex_value_value(hive_.hive(), *value, &copy.t, &copy.len));
            copy.value = owned.back().get();
            if (copy.key == nullptr || copy.value == nullptr) return kErrorRegistryIoFailed;
            kept.push_back(copy);
        }
        if (hivex_node_set_values(hive_.hive(), node_, kept.size(), kept.data(), 0) != 0) {
            return kErrorRegistryIoFailed;
        }
        hive_.noteValuesChanged();
        return kErrorSuccess;
    }

    RegistryStatus countValues(std::uint32_t& count) override {
        Allocated<hive_value_h> values;
        const RegistryStatus listed = listValues(values);
        if (listed != kErrorSuccess) return listed;
        count = listLength(values.get());
        return kErrorSuccess;
    }

    RegistryStatus valueNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) override {
        Allocated<hive_value_h> values;
        const RegistryStatus listed = listValues(values);
        if (listed != kErrorSuccess) return listed;
        if (index >= listLength(values.get())) return kErrorNoMoreItems;
        return giveRegistryName(valueName(hive_.hive(), values.get()[index]), name, capacity);
    }

    // Hives keep subkeys sorted by their names in capitals, as Windows
    // lists them.
    RegistryStatus subkeyNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) override {
        if (!refind()) return kErrorFileNotFound;
        Allocated<hive_node_h> children(hivex_node_children(hive_.hive(), node_));
        if (!children) return kErrorRegistryIoFailed;
        if (index >= listLength(children.get())) return kErrorNoMoreItems;
        return giveRegistryName(keyName(hive_.hive(), children.get()[index]), name, capacity);
    }

private:
    // A key deleted since it was found may have been this one, or above it.
    bool refind() {
        if (foundAfter_ != hive_.keyDeletions()) {
            node_ = findKey(hive_.hive(), path_);
            foundAfter_ = hive_.keyDeletions();
        }
        return node_ != 0;
    }

    RegistryStatus listValues(Allocated<hive_value_h>& values) {
        if (!refind()) return kErrorFileNotFound;
        values.reset(hivex_node_values(hive_.hive(), node_));
        return values ? kErrorSuccess : kErrorRegistryIoFailed;
    }

    // A null name is the default value, which hivex names "".
    const hive_value_h* find(const hive_value_h* values, const char* name) {
        const char* wanted = name == nullptr ? "" : name;
        for (const hive_value_h* value = values; *value != 0; ++value) {
            if (equalIgnoringCase(valueName(hive_.hive(), *value).c_str(), wanted)) return value;
        }
        return nullptr;
    }

    HiveFile& hive_;
    const std::vector<std::string> path_;
    hive_node_h node_;
    unsigned foundAfter_;
    const std::uint32_t access_;
};

OfflineRegistry::OfflineRegistry() = default;
OfflineRegistry::~OfflineRegistry() = default;

HiveOpening OfflineRegistry::present(const std::string& root, const std::filesystem::path& file,
                                     const std::string& keyInHive) {
    std::vector<std::string> rootNames;
    std::vector<std::string> inside;
    if (!splitKeyPath(root, rootNames) || rootNames.size() != 1 || !splitKeyPath(keyInHive, inside)) {
        return {HiveOpenStatus::kRootRefused, file.string() + ": \"" + root + "\" and \"" + keyInHive +
                                                  "\" do not name a key; left untouched"};
    }
    for (const Root& taken : roots_) {
        if (equalIgnoringCase(taken.name.c_str(), root.c_str())) {
            return {HiveOpenStatus::kRootRefused,
                    file.string() + ": " + root + " is presented already; left untouched"};
        }
    }
    HiveFile* hive = nullptr;
    for (const std::unique_ptr<HiveFile>& opened : hives_) {
        std::error_code error;
        if (std::filesystem::equivalent(opened->path(), file, error)) hive = opened.get();
    }
    HiveOpening opening{HiveOpenStatus::kOpened, file.string() + ": opened"};
    if (hive == nullptr) {
        std::unique_ptr<HiveFile> opened = HiveFile::open(file, opening);
        if (!opened) return opening;
        hive = opened.get();
        hives_.push_back(std::move(opened));
    }
    roots_.push_back({rootNames.front(), hive, std::move(inside)});
    return opening;
}

std::vector<HiveWrite> OfflineRegistry::commit() {
    std::vector<HiveWrite> written;
    for (const std::unique_ptr<HiveFile>& hive : hives_) {
        if (hive->changed()) written.push_back(hive->writeBack());
    }
    return written;
}

const OfflineRegistry::Root* OfflineRegistry::locate(const char* subkey, std::vector<std::string>& path) const {
    std::vector<std::string> names;
    if (!splitKeyPath(subkey, names) || names.empty()) return nullptr;
    for (const Root& root : roots_) {
        if (!equalIgnoringCase(root.name.c_str(), names.front().c_str())) continue;
        path = root.keyInHive;
        path.insert(path.end(), names.begin() + 1, names.end());
        return &root;
    }
    return nullptr;
}

bool OfflineRegistry::splitThirtyTwoBitView(const std::string& root) {
    for (Root& taken : roots_) {
        if (!equalIgnoringCase(taken.name.c_str(), root.c_str())) continue;
        std::vector<std::string> path = taken.keyInHive;
        path.emplace_back(kThirtyTwoBitViewKey);
        taken.split = findKey(taken.hive->hive(), path) != 0;
        return taken.split;
    }
    return false;
}

bool OfflineRegistry::hasViews() const {
    for (const Root& root : roots_) {
        if (root.split) return true;
    }
    return false;
}

// brisko-scan reads the volume as a 64-bit program would.
RegistryViews OfflineRegistry::softwareViews() {
    if (!hasViews()) return {};
    return {RegistryView::k64Bit, RegistryView::k32Bit};
}

// Without a 32-bit view a view named is refused, as on 32-bit Windows. In
// the 32-bit view a path that names Wow6432Node itself is not redirected a
// second time.
RegistryStatus OfflineRegistry::openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                               std::unique_ptr<RegistryKey>& key) {
    key.reset();
    if (view != RegistryView::kDefault && !hasViews()) return kErrorInvalidParameter;
    std::vector<std::string> path;
    const Root* root = locate(subkey, path);
    if (root == nullptr) return kErrorFileNotFound;
    const auto belowRoot = path.begin() + static_cast<std::ptrdiff_t>(root->keyInHive.size());
    if (view == RegistryView::k32Bit && root->split &&
        (belowRoot == path.end() || !equalIgnoringCase(belowRoot->c_str(), kThirtyTwoBitViewKey))) {
        path.insert(belowRoot, kThirtyTwoBitViewKey);
    }
    const hive_node_h node = findKey(root->hive->hive(), path);
    if (node == 0) return kErrorFileNotFound;
    key = std::make_unique<Key>(*root->hive, std::move(path), node, access);
    return kErrorSuccess;
}

// As Windows NT: a key with subkeys is refused, and so is a hive's root.
RegistryStatus OfflineRegistry::deleteMachineKey(const char* subkey) {
    std::vector<std::string> path;
    const Root* root = locate(subkey, path);
    if (root == nullptr) return kErrorFileNotFound;
    hive_h* hive = root->hive->hive();
    const hive_node_h node = findKey(hive, path);
    if (node == 0) return kErrorFileNotFound;
    if (path.size() == root->keyInHive.size() || hivex_node_nr_children(hive, node) != 0) return kErrorAccessDenied;
    if (hivex_node_delete_child(hive, node) != 0) return kErrorRegistryIoFailed;
    root->hive->noteKeyDeleted();
    return kErrorSuccess;
}

RegistryStatus OfflineRegistry::queryPerformanceData(const char*, std::uint8_t*, std::uint32_t&) {
    return kErrorFileNotFound;
}

}  // namespace brisko
