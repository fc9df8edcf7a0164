#pragma once
// The names of the copies kept of a file before brisko-scan changes it:
// NAME.brisko-backup, then NAME.brisko-backup.2, .3, ... so that an older
// copy is never written over.
#include <string>

namespace brisko {

constexpr unsigned kBackupNamesTried = 999;

// The backup name of a file by its number, counted from 1.
inline std::string backupName(const std::string& file, unsigned number) {
    return file + (number == 1 ? ".brisko-backup" : ".brisko-backup." + std::to_string(number));
}

}  // namespace brisko
