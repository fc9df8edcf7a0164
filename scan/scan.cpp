#include "scan/scan.h"

#include "scan/file_examination.h"

namespace brisko {

void Scan::offerFile(const char* path, std::uint64_t listedLength) {
    matchFile(*this, kWalkThreatLabel, path, listedLength);
}

}  // namespace brisko
