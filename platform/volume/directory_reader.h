#pragma once
// The one place where the volume reads the names of a folder. Everything
// that lists or looks up names goes through a DirectoryReader, so a test can
// stand in for the system's readdir (a disk that fails midway through a
// folder) without touching anything else.
#include <memory>
#include <string>

namespace brisko::volume {

// The names of one folder, "." and ".." left out, in the host's order.
class DirectoryStream {
public:
    virtual ~DirectoryStream() = default;
    // The next name. False at the end, with error 0, or on a failure, with
    // error the system's errno.
    virtual bool next(std::string& name, int& error) = 0;
};

class DirectoryReader {
public:
    virtual ~DirectoryReader() = default;
    // Starts reading the folder open at descriptor, which stays the
    // caller's; null when the folder cannot be read.
    virtual std::unique_ptr<DirectoryStream> read(int folder) = 0;
};

// opendir and readdir of the host.
DirectoryReader& systemDirectoryReader();

}  // namespace brisko::volume
