#pragma once
// A simulated Windows machine for tests: real files under a temporary root
// (one folder per drive), windows and a message queue, running programs that
// hold files open, and a clock whose sleeps only add up. Constructing one
// installs it as the current platform; destroying it removes it and its
// files.
#include <filesystem>
#include <string>

#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_window_messaging.h"
#include "platform/platform.h"

namespace brisko::fake {

class FakeSystemServices : public SystemServices {
public:
    void sleepMilliseconds(unsigned milliseconds) override { slept_ += milliseconds; }
    unsigned long long sleptMilliseconds() const { return slept_; }

private:
    unsigned long long slept_ = 0;
};

class FakeMachine : public Platform {
public:
    FakeMachine();
    ~FakeMachine() override;
    FakeMachine(const FakeMachine&) = delete;
    FakeMachine& operator=(const FakeMachine&) = delete;

    // Adds a drive backed by a new empty folder under the machine's root and
    // returns that folder.
    std::filesystem::path addDrive(char letter, DriveType type = kDriveFixed);
    // Adds a drive backed by an existing host folder, which the machine does
    // not remove.
    void addDriveAt(char letter, const std::filesystem::path& hostFolder,
                    DriveType type = kDriveFixed);

    // Arranging files by Windows path; folders on the way are created.
    void writeFile(const std::string& windowsPath, const std::string& bytes);
    void makeDirectory(const std::string& windowsPath);
    bool fileExists(const std::string& windowsPath) const;
    std::string readFile(const std::string& windowsPath) const;

    // Starts a program that holds the file open; returns its process id.
    int runProgramHolding(const std::string& windowsPath);
    void endProgram(int processId);

    FakeFileSystem& fakeFiles() { return files_; }
    FakeWindowMessaging& fakeWindows() { return windows_; }
    FakeSystemServices& fakeSystem() { return system_; }

    FileSystem& files() override { return files_; }
    WindowMessaging& windows() override { return windows_; }
    SystemServices& system() override { return system_; }

private:
    std::filesystem::path hostPathCreatingFolders(const std::string& windowsPath);

    std::filesystem::path root_;
    FakeFileSystem files_;
    FakeWindowMessaging windows_;
    FakeSystemServices system_;
    int lastProcessId_ = 1000;
};

}  // namespace brisko::fake
