#include "cleanup/deferred_deletion.h"

#include <cstring>
#include <string>

#include "cleanup/rename_section.h"
#include "base/bounded_text.h"
#include "platform/system_family.h"
#include "platform/platform.h"
#include "platform/read_only_file.h"

namespace brisko {
namespace {

constexpr std::size_t kIniPathCapacity = 400;
constexpr unsigned kWindowsDirectoryOffered = 350;
constexpr unsigned kTemporaryDirectoryOffered = 260;
// wininit.ini holds a few lines of pending renames; one larger than this is
// not something to load whole and rewrite.
constexpr std::int32_t kIniSizeLimit = 1024 * 1024;

using FolderQuery = unsigned (SystemServices::*)(char*, unsigned);

// A system folder followed by a name, or false when the folder is not
// given or the whole does not fit.
bool pathInFolder(FolderQuery folder, unsigned offered, const char* name, char (&path)[kIniPathCapacity]) {
    const unsigned length = (systemServices().*folder)(path, offered);
    return length > 0 && length < offered && joinIfFits(path, sizeof path, path, length, name);
}

bool readWholeFile(const char* path, std::string& content) {
    ReadOnlyFile file(files(), path);
    const std::int32_t length = file.isOpen() ? file.length() : -1;
    if (length < 0 || length > kIniSizeLimit) return false;
    content.assign(static_cast<std::size_t>(length), '\0');
    return length == 0 || file.readExactly(0, content.data(), static_cast<unsigned>(length));
}

// Writes every byte to an open descriptor and closes it; false on any
// short write.
bool writeAllAndClose(int descriptor, const std::string& content) {
    const int written = files().write(descriptor, content.data(), static_cast<unsigned>(content.size()));
    files().close(descriptor);
    return written == static_cast<int>(content.size());
}

int createWithEntry(const char* iniPath, const std::string& entry) {
    // Never written over: a file that exists after all is not ours to create.
    const int descriptor = files().openForWriting(iniPath, WriteMode::kCreateNew);
    if (descriptor < 0) return 0;
    if (writeAllAndClose(descriptor, newFileWithRenameEntry(entry))) return 1;
    // Half an entry must not wait for the next start; the file is our own.
    files().removeFile(iniPath);
    return 0;
}

// Rewrites the file through a copy in the temporary folder, which also
// serves to put the old content back when the rewrite fails.
int rewriteWithEntry(ScanContext& scan, const char* iniPath, const std::string& entry) {
    char copyPath[kIniPathCapacity];
    if (!pathInFolder(&SystemServices::temporaryDirectory, kTemporaryDirectoryOffered, "wininit.ini", copyPath) ||
        !files().copyFile(iniPath, copyPath)) {
        return 0;
    }
    std::string previous;
    if (!readWholeFile(copyPath, previous)) return 0;
    const int descriptor = files().openForWriting(iniPath, WriteMode::kTruncateExisting);
    if (descriptor < 0) return 0;
    if (writeAllAndClose(descriptor, withRenameEntry(previous, entry))) return 1;
    if (!files().copyFile(copyPath, iniPath)) {
        scan.session.wininitOnlyInCopy = 1;
        scan.postReportLine("%s     Unable to restore, its previous content is kept in %s", iniPath, copyPath);
    }
    return 0;
}

}  // namespace

int addRenameEntry(ScanContext& scan, const char* target, const char* source) {
    char iniPath[kIniPathCapacity];
    if (!pathInFolder(&SystemServices::windowsDirectory, kWindowsDirectoryOffered, "\\wininit.ini", iniPath)) {
        return 0;
    }
    if (scan.session.wininitOnlyInCopy) return 0;
    const std::string entry = std::string(target) + "=" + source + "\r\n";
    return files().exists(iniPath) ? rewriteWithEntry(scan, iniPath, entry) : createWithEntry(iniPath, entry);
}

int scheduleDeletionAtRestart(ScanContext& scan, const char* path) {
    switch (platformFamily()) {
        case kFamilyWindows9x: {
            // wininit.ini is read before long names exist: it takes the short path.
            char shortPath[kPathCapacity];
            const unsigned length = files().shortPathName(path, shortPath, sizeof shortPath);
            if (length == 0 || length >= sizeof shortPath) return 0;
            return addRenameEntry(scan, "NUL", shortPath) != 0 ? 1 : 0;
        }
        case kFamilyNt:
            return files().deleteAtRestart(path) ? 1 : 0;
        default:
            return 0;
    }
}

}  // namespace brisko
