#pragma once
// The files of the simulated machine: every drive letter is a real folder of
// the host, so the program's reading code runs on real bytes, and Windows
// rules (case-blind names, attributes, files held open by running programs
// or by the program itself,
// drive types) are kept on top. Faults can be injected per path, and any
// call can fail through the machine's fault plan.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fake/fault_plan.h"
#include "platform/file_system.h"
#include "platform/open_descriptors.h"

namespace brisko::fake {

class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(FaultPlan& faults) : faults_(faults) {}

    void mapDrive(char letter, const std::filesystem::path& hostFolder, DriveType type);
    void setDriveType(char letter, DriveType type);

    // Host path of an existing file or folder, names matched case-blind.
    std::optional<std::filesystem::path> hostPathOf(const std::string& windowsPath) const;
    // Host path at which a file of this Windows path is to be created: the
    // folder must exist, the last name is taken as given.
    std::optional<std::filesystem::path> hostPathForNew(const std::string& windowsPath) const;

    std::uint32_t attributesOf(const std::string& windowsPath) const;

    void failOpening(const std::string& windowsPath);
    void failSettingAttributes(const std::string& windowsPath);
    void failRenaming(const std::string& windowsPath);
    // Writes to the file stop short once this many bytes have been written
    // through one descriptor.
    void failWritingAfter(const std::string& windowsPath, unsigned bytes);
    void failCopying(const std::string& windowsPath);
    void failShortPath(const std::string& windowsPath);
    void refuseDeletingAtRestart(const std::string& windowsPath);

    // Paths registered for deletion at the next start, in order.
    const std::vector<std::string>& deletionsAtRestart() const { return deletionsAtRestart_; }
    // A running program keeps the file open without sharing deletion: it can
    // be read, but not deleted or renamed, until that program has ended.
    void holdFile(const std::string& windowsPath, int processId);
    void releaseFilesOf(int processId);

    std::unique_ptr<DirectoryListing> listDirectory(const char* pattern) override;
    DriveType driveType(const char* root) override;
    bool exists(const char* path) override;
    bool setAttributes(const char* path, std::uint32_t attributes) override;
    bool removeFile(const char* path) override;
    bool moveFile(const char* from, const char* to) override;
    int openForReading(const char* path) override;
    std::int32_t fileLength(int descriptor) override;
    bool seekFromStart(int descriptor, std::int32_t offset) override;
    int read(int descriptor, void* buffer, unsigned count) override;
    void close(int descriptor) override;
    int openForWriting(const char* path, WriteMode mode) override;
    int write(int descriptor, const void* data, unsigned count) override;
    bool copyFile(const char* from, const char* to) override;
    unsigned shortPathName(const char* path, char* buffer, unsigned capacity) override;
    bool deleteAtRestart(const char* path) override;

private:
    struct Drive {
        std::filesystem::path hostFolder;
        DriveType type;
    };

    bool isHeld(const std::string& key) const;
    // Whether the program itself has the file at host open (open_descriptors.h).
    bool isOpenHere(const std::filesystem::path& host) const;
    std::uint32_t storedAttributes(const std::string& key, bool isDirectory) const;

    FaultPlan& faults_;
    std::map<char, Drive> drives_;
    // Attributes other than the defaults (archive for files), by path key.
    std::unordered_map<std::string, std::uint32_t> attributes_;
    std::set<std::string> unopenable_;
    std::set<std::string> attributesLocked_;
    std::set<std::string> unrenamable_;
    std::set<std::string> uncopyable_;
    std::set<std::string> withoutShortPath_;
    std::set<std::string> undeletableAtRestart_;
    std::map<std::string, unsigned> writeLimits_;
    // Bytes each write descriptor may still write, where a limit applies.
    std::map<int, unsigned> writeAllowances_;
    std::vector<std::string> deletionsAtRestart_;
    std::multimap<std::string, int> holders_;
    OpenDescriptors openDescriptors_;
};

}  // namespace brisko::fake
