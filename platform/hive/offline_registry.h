#pragma once
// The registry of an offline Windows installation, read from its hive files
// with hivex. Each hive answers for one key under HKEY_LOCAL_MACHINE, named
// by the first part of the paths the program asks for:
//
//     OfflineRegistry registry;
//     registry.present("SOFTWARE", windows / "System32/config/SOFTWARE");
//     registry.present("SYSTEM", windows / "System32/config/SYSTEM");
//
// A key inside a hive can answer instead of its root: with
//
//     registry.present("SOFTWARE", profile / "NTUSER.DAT", "Software");
//
// "Software\\Microsoft\\Windows\\CurrentVersion\\Run" is that user's Run key.
// The SOFTWARE hive of 64-bit Windows holds the 32-bit view in its
// Wow6432Node key; once splitThirtyTwoBitView() finds one, the registry
// answers in both views as 64-bit Windows answers a 64-bit program.
// Names match case-blind, as on Windows. Changes stay in memory until
// commit() writes back every hive that changed (hive_file.h says how);
// there is no performance data. Keys must be closed before the registry.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/hive/hive_file.h"
#include "platform/registry.h"

namespace brisko {

class OfflineRegistry final : public Registry {
public:
    OfflineRegistry();
    ~OfflineRegistry() override;
    OfflineRegistry(const OfflineRegistry&) = delete;
    OfflineRegistry& operator=(const OfflineRegistry&) = delete;

    // Presents keyInHive of the hive file (its root when empty) as
    // HKEY_LOCAL_MACHINE\root, root being one key name. A file presented
    // under several roots is opened once. When the file cannot be used it
    // is left alone and the root stays absent.
    HiveOpening present(const std::string& root, const std::filesystem::path& file,
                        const std::string& keyInHive = "");

    // Makes the Wow6432Node key of root's key the 32-bit view of root, as
    // 64-bit Windows keeps HKEY_LOCAL_MACHINE\Software; the other roots
    // read the same in both views. False, and one view as before, when
    // root's key has none: an installation of 32-bit Windows.
    bool splitThirtyTwoBitView(const std::string& root);

    // Writes back every hive changed since it was opened or last written,
    // in the order presented; one result for each.
    std::vector<HiveWrite> commit();

    RegistryViews softwareViews() override;
    RegistryStatus openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                  std::unique_ptr<RegistryKey>& key) override;
    RegistryStatus deleteMachineKey(const char* subkey) override;
    RegistryStatus queryPerformanceData(const char* objects, std::uint8_t* data, std::uint32_t& size) override;
    void closePerformanceData() override {}

private:
    class Key;
    struct Root {
        std::string name;
        HiveFile* hive;
        std::vector<std::string> keyInHive;
        // Whether the root has a 32-bit view of its own in Wow6432Node.
        bool split = false;
    };

    // The root answering subkey, and the path of the key in the root's
    // hive; null when no root answers or the path is malformed.
    const Root* locate(const char* subkey, std::vector<std::string>& path) const;
    bool hasViews() const;

    std::vector<std::unique_ptr<HiveFile>> hives_;
    std::vector<Root> roots_;
};

}  // namespace brisko
