#include "tests/hive/hive_builder.h"

#include <hivex.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace brisko::testing {
namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("hivex: " + what + ": " + std::strerror(errno));
}

}  // namespace

std::vector<std::uint8_t> hiveText(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

HiveBuilder::HiveBuilder(std::filesystem::path file, std::uint32_t minorVersion) : file_(std::move(file)) {
    writeEmptyHive(file_, "ROOT", minorVersion);
    hive_ = hivex_open(file_.c_str(), HIVEX_OPEN_WRITE);
    if (hive_ == nullptr) fail("opening " + file_.string());
}

HiveBuilder::HiveBuilder(std::filesystem::path file, Existing) : file_(std::move(file)) {
    hive_ = hivex_open(file_.c_str(), HIVEX_OPEN_WRITE);
    if (hive_ == nullptr) fail("opening " + file_.string());
}

HiveBuilder::~HiveBuilder() { hivex_close(hive_); }

std::size_t HiveBuilder::keyAt(const std::string& path) {
    hive_node_h node = hivex_root(hive_);
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        errno = 0;
        hive_node_h child = hivex_node_get_child(hive_, node, name.c_str());
        if (child == 0 && errno != 0) fail("looking up " + name);
        if (child == 0) child = hivex_node_add_child(hive_, node, name.c_str());
        if (child == 0) fail("adding " + name);
        node = child;
        start = end + 1;
    }
    return node;
}

HiveBuilder& HiveBuilder::addKey(const std::string& path) {
    keyAt(path);
    return *this;
}

HiveBuilder& HiveBuilder::setValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
                                   const std::vector<std::uint8_t>& data) {
    std::string key = name;
    std::vector<std::uint8_t> bytes = data;
    const hive_set_value value{key.data(), static_cast<hive_type>(type), bytes.size(),
                               reinterpret_cast<char*>(bytes.data())};
    if (hivex_node_set_value(hive_, keyAt(keyPath), &value, 0) != 0) fail("setting " + name);
    return *this;
}

HiveBuilder& HiveBuilder::setString(const std::string& keyPath, const std::string& name, const std::string& text) {
    return setValue(keyPath, name, hive_t_REG_SZ, hiveText(text));
}

void HiveBuilder::commit() {
    if (hivex_commit(hive_, nullptr, 0) != 0) fail("committing " + file_.string());
}

}  // namespace brisko::testing
