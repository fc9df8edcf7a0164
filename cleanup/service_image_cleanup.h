#pragma once
// The services whose program is an infected file: their keys are deleted,
// with everything under them, in every control set of the SYSTEM key. For
// an installation that is not running (brisko-scan), where no service can
// be stopped first.
#include <string>
#include <vector>

namespace brisko {

// Whether a service's ImagePath names the file. Paths compare without
// regard to case; "\SystemRoot\", "%SystemRoot%", "\??\", quotes, a path
// relative to the Windows folder and arguments after the file are
// understood.
bool imagePathNames(const std::string& imagePath, const std::string& file, const std::string& windowsFolder);

// Deletes the services whose ImagePath names the file; the names of those
// deleted, once each.
std::vector<std::string> deleteServicesRunning(const std::string& file, const std::string& windowsFolder);

}  // namespace brisko
