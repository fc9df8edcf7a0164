#pragma once
// The uninstall entry and Run value that one variant creates, removed after
// every deletion of an infected file.

namespace brisko {

// In every registry view, the program's own first: 1 when some view's
// uninstall string was read and its entries then deleted or kept for other
// data; 0 when in every view the key, the value or a deletion failed.
int cleanVariantUninstallEntry();

}  // namespace brisko
