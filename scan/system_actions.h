#pragma once
// The steps by which a scan acts on the running system beyond the files it
// walks: the memory scan, the registry and hosts cleanup at a detection,
// the ending of processes, the deletion at the next start and the restart.
// Each does the real thing; a test of one part of the scan overrides the
// steps of the parts it stands in for.

namespace brisko {

class Scan;

class SystemActions {
public:
    virtual ~SystemActions() = default;

    // Tests the running processes' images before the drives are walked.
    virtual void scanMemory(Scan& scan);
    // At every detection, while infectedPath holds the file: the hosts
    // check, then the autostart values that start the file.
    virtual void cleanAfterDetection(Scan& scan, const char* threatName);
    // After every deletion of an infected file.
    virtual void cleanVariantEntries();
    // Ends the processes that run the file; 1 when ended or none had to be.
    virtual int terminateByPath(const char* path);
    // 1 when the system will delete the file at its next start.
    virtual int scheduleDeletionAtRestart(Scan& scan, const char* path);
    virtual void restartSystem();
};

}  // namespace brisko
