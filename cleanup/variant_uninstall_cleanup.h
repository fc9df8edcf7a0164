#pragma once
// The uninstall entry and Run value that one variant creates, removed after
// every deletion of an infected file.

namespace brisko {

int cleanVariantUninstallEntry();

}  // namespace brisko
