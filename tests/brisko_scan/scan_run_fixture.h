#pragma once
// Runs the real brisko-scan program over a scratch volume folder and
// collects what it printed and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temporary_folder.h"

namespace brisko::testing {

struct ScanRun {
    int exitStatus;
    std::vector<std::string> lines;  // standard output
    std::string errors;
};

class ScanRunTest : public ::testing::Test {
protected:
    ScanRunTest() { std::filesystem::create_directories(volume_); }

    void write(const std::string& relative, const std::vector<std::uint8_t>& bytes) {
        const std::filesystem::path path = volume_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void write(const std::string& relative, const std::string& text) {
        write(relative, std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    ScanRun scan(const std::string& arguments) {
        const std::string errors = (root_ / "stderr").string();
        const std::string command = std::string(BRISKO_SCAN_PROGRAM) + " " + arguments + " 2>" + errors;
        ScanRun run{};
        FILE* output = ::popen(command.c_str(), "r");
        std::array<char, 1024> line{};
        while (std::fgets(line.data(), line.size(), output) != nullptr) {
            std::string text = line.data();
            if (!text.empty() && text.back() == '\n') text.pop_back();
            run.lines.push_back(text);
        }
        const int status = ::pclose(output);
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errors);
        run.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return run;
    }

    TemporaryFolder scratch_{"brisko-scan-test"};
    std::filesystem::path root_ = scratch_.path();
    std::filesystem::path volume_ = root_ / "volume";
};

}  // namespace brisko::testing
