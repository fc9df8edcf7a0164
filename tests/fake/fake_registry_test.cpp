// The simulated registry: keys and values as the registry functions see
// them, and the performance data it answers with.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/fake/fake_machine.h"

namespace brisko::fake {
namespace {

class FakeRegistryTest : public ::testing::Test {
protected:
    FakeMachine machine;
    FakeRegistry& registry = machine.fakeRegistry();
};

TEST_F(FakeRegistryTest, ValuesAreReadAsRegQueryValueExGivesThem) {
    registry.setString("SOFTWARE\\Run", "Name", "C:\\a.exe");
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(machine.registry().openMachineKey("software\\RUN", kKeyRead, RegistryView::kDefault, key), kErrorSuccess);
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    EXPECT_EQ(key->queryValue("NAME", &type, nullptr, size), kErrorSuccess);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(type, kRegistryString);
    std::uint8_t small[4];
    size = sizeof small;
    EXPECT_EQ(key->queryValue("Name", nullptr, small, size), kErrorMoreData);
    EXPECT_EQ(size, 9u);
    char text[16];
    size = sizeof text;
    EXPECT_EQ(key->queryValue("Name", nullptr, reinterpret_cast<std::uint8_t*>(text), size), kErrorSuccess);
    EXPECT_STREQ(text, "C:\\a.exe");
    EXPECT_EQ(key->queryValue("Other", nullptr, nullptr, size), kErrorFileNotFound);
    EXPECT_EQ(registry.openKeys(), 1);
    key.reset();
    EXPECT_EQ(registry.openKeys(), 0);
}

TEST_F(FakeRegistryTest, ValuesAreCountedNamedAndDeletedWithWriteAccess) {
    registry.setString("SOFTWARE\\Run", "first", "1");
    registry.setString("SOFTWARE\\Run", "second", "2");
    std::unique_ptr<RegistryKey> reader;
    std::unique_ptr<RegistryKey> writer;
    ASSERT_EQ(registry.openMachineKey("SOFTWARE\\Run", kKeyRead, RegistryView::kDefault, reader), kErrorSuccess);
    ASSERT_EQ(registry.openMachineKey("SOFTWARE\\Run", kKeyAllAccess, RegistryView::kDefault, writer), kErrorSuccess);
    std::uint32_t count = 0;
    ASSERT_EQ(reader->countValues(count), kErrorSuccess);
    EXPECT_EQ(count, 2u);
    char name[16];
    std::uint32_t capacity = sizeof name;
    ASSERT_EQ(reader->valueNameAt(1, name, capacity), kErrorSuccess);
    EXPECT_STREQ(name, "second");
    EXPECT_EQ(capacity, 6u);
    capacity = sizeof name;
    EXPECT_EQ(reader->valueNameAt(2, name, capacity), kErrorNoMoreItems);
    EXPECT_EQ(reader->deleteValue("first"), kErrorAccessDenied);
    EXPECT_EQ(writer->deleteValue("FIRST"), kErrorSuccess);
    EXPECT_EQ(writer->deleteValue("first"), kErrorFileNotFound);
    EXPECT_FALSE(registry.value("SOFTWARE\\Run", "first").has_value());
}

TEST_F(FakeRegistryTest, KeysOpenAndDeleteAsOnNt) {
    registry.addKey("SYSTEM\\Services\\svc\\Enum");
    registry.denyAccess("SYSTEM\\Locked");
    registry.addKey("SYSTEM\\Locked");
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(registry.openMachineKey("SYSTEM\\Missing", kKeyRead, RegistryView::kDefault, key), kErrorFileNotFound);
    EXPECT_EQ(registry.openMachineKey("SYSTEM\\Locked", kKeyRead, RegistryView::kDefault, key), kErrorAccessDenied);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(machine.registry().deleteMachineKey("SYSTEM\\Services\\svc"), kErrorAccessDenied);
    EXPECT_EQ(machine.registry().deleteMachineKey("SYSTEM\\Services\\svc\\Enum"), kErrorSuccess);
    EXPECT_EQ(machine.registry().deleteMachineKey("SYSTEM\\Services\\svc"), kErrorSuccess);
    EXPECT_EQ(machine.registry().deleteMachineKey("SYSTEM\\Services\\svc"), kErrorFileNotFound);
    EXPECT_TRUE(registry.hasKey("SYSTEM\\Services"));
}

TEST_F(FakeRegistryTest, PerformanceDataComesWholeOrAsMoreData) {
    machine.fakeProcesses().start("");
    std::vector<std::uint8_t> data(16);
    std::uint32_t size = 16;
    EXPECT_EQ(machine.registry().queryPerformanceData("230", data.data(), size), kErrorMoreData);
    EXPECT_EQ(size, 16u);
    EXPECT_EQ(registry.performanceDataOpen(), 1);
    data.assign(4096, 0);
    size = 4096;
    registry.growPerformanceDataFor(1);
    EXPECT_EQ(machine.registry().queryPerformanceData("230", data.data(), size), kErrorMoreData);
    ASSERT_EQ(machine.registry().queryPerformanceData("230", data.data(), size), kErrorSuccess);
    EXPECT_LT(size, 4096u);
    EXPECT_EQ(std::memcmp(data.data(), "P\0E\0R\0F\0", 8), 0);
    EXPECT_EQ(machine.registry().queryPerformanceData("238", data.data(), size), kErrorFileNotFound);
    machine.registry().closePerformanceData();
    EXPECT_EQ(registry.performanceDataOpen(), 0);
}

}  // namespace
}  // namespace brisko::fake
