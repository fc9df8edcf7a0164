#pragma once
// The system actions of a scan of one folder: the live ones, but the
// running programs are not examined, since only the folder was asked for.
// A file in use there is still ended by its removal, and the autostart
// values that start a detected file are still removed.
#include "scan/system_actions.h"

namespace brisko {

class FolderScanActions : public SystemActions {
public:
    void scanMemory(Scan&) override {}
};

}  // namespace brisko
