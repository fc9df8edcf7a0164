#pragma once
// A simulated Windows machine for tests: real files under a temporary root
// (one folder per drive), windows and a message queue, a process table whose
// programs hold files open, a registry with performance data, services, an
// access token, a recorded system (version, message boxes, shutdowns, exit)
// and a clock whose sleeps only add up; one fault plan can make any of its
// calls fail. Constructing one
// installs it as the current platform; destroying it removes it and its
// files.
#include <filesystem>
#include <string>

#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_privileges.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_services.h"
#include "platform/fake/fake_system_control.h"
#include "platform/fake/fake_system_services.h"
#include "platform/fake/fake_window_messaging.h"
#include "platform/platform.h"

namespace brisko::fake {

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

    // Adds drive C: holding the Windows, system and temporary folders.
    void addWindowsInstallation();

    // Arranging files by Windows path; folders on the way are created.
    void writeFile(const std::string& windowsPath, const std::string& bytes);
    void makeDirectory(const std::string& windowsPath);
    bool fileExists(const std::string& windowsPath) const;
    std::string readFile(const std::string& windowsPath) const;

    // Starts a program that holds the file open (its own image is not one
    // of the machine's files); returns its process id.
    int runProgramHolding(const std::string& windowsPath);
    // Starts the program at windowsPath, which holds its image open.
    int runProgram(const std::string& windowsPath);
    void endProgram(int processId);

    // Shared by every part of the machine.
    FaultPlan& faults() { return faults_; }
    FakeFileSystem& fakeFiles() { return files_; }
    FakeWindowMessaging& fakeWindows() { return windows_; }
    FakeSystemServices& fakeSystem() { return system_; }
    FakeSystemControl& fakeControl() { return control_; }
    FakeProcesses& fakeProcesses() { return processes_; }
    FakeRegistry& fakeRegistry() { return registry_; }
    FakeServices& fakeServices() { return services_; }
    FakePrivileges& fakePrivileges() { return privileges_; }

    FileSystem& files() override { return files_; }
    WindowMessaging& windows() override { return windows_; }
    SystemServices& system() override { return system_; }
    Processes& processes() override { return processes_; }
    Registry& registry() override { return registry_; }
    Services& services() override { return services_; }
    Privileges& privileges() override { return privileges_; }
    SystemControl& control() override { return control_; }

private:
    std::filesystem::path hostPathCreatingFolders(const std::string& windowsPath);

    std::filesystem::path root_;
    FaultPlan faults_;
    FakeFileSystem files_{faults_};
    FakeWindowMessaging windows_{faults_};
    FakeSystemServices system_{faults_};
    FakeSystemControl control_{faults_};
    FakePrivileges privileges_{faults_};
    FakeProcesses processes_{faults_, files_, privileges_};
    FakeRegistry registry_{faults_, processes_};
    FakeServices services_{faults_, processes_};
};

}  // namespace brisko::fake
