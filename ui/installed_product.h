#pragma once
// Whether the maker's antivirus product is installed: its key and folder
// value are present in some view of the registry. The value's contents are not used.

namespace brisko {

bool installedProductPresent();

}  // namespace brisko
