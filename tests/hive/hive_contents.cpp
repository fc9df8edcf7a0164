#include "tests/hive/hive_contents.h"

#include <hivex.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace brisko::testing {
namespace {

struct FreeWithFree {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using Allocated = std::unique_ptr<T, FreeWithFree>;

void readKey(hive_h* hive, hive_node_h node, const std::string& path, HiveContents& contents) {
    HiveKeyValues& values = contents[path];
    Allocated<hive_value_h> valueList(hivex_node_values(hive, node));
    if (!valueList) throw std::runtime_error("hivex: values of " + path + ": " + std::strerror(errno));
    for (const hive_value_h* value = valueList.get(); *value != 0; ++value) {
        Allocated<char> name(hivex_value_key(hive, *value));
        hive_type type;
        std::size_t length = 0;
        Allocated<char> data(hivex_value_value(hive, *value, &type, &length));
        if (!name || !data) throw std::runtime_error("hivex: a value of " + path + ": " + std::strerror(errno));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.get());
        values[name.get()] = HiveValue{static_cast<std::uint32_t>(type), {bytes, bytes + length}};
    }
    Allocated<hive_node_h> children(hivex_node_children(hive, node));
    if (!children) throw std::runtime_error("hivex: subkeys of " + path + ": " + std::strerror(errno));
    for (const hive_node_h* child = children.get(); *child != 0; ++child) {
        Allocated<char> name(hivex_node_name(hive, *child));
        if (!name) throw std::runtime_error("hivex: a subkey of " + path + ": " + std::strerror(errno));
        readKey(hive, *child, path.empty() ? name.get() : path + "\\" + name.get(), contents);
    }
}

}  // namespace

HiveContents readHiveContents(const std::filesystem::path& file) {
    std::unique_ptr<hive_h, int (*)(hive_h*)> hive(hivex_open(file.c_str(), 0), hivex_close);
    if (!hive) throw std::runtime_error("hivex: opening " + file.string() + ": " + std::strerror(errno));
    HiveContents contents;
    readKey(hive.get(), hivex_root(hive.get()), "", contents);
    return contents;
}

}  // namespace brisko::testing
