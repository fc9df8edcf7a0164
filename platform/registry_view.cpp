#include "platform/registry.h"

namespace brisko {

const char* registryViewName(RegistryView view) {
    switch (view) {
        case RegistryView::k64Bit: return "64-bit";
        case RegistryView::k32Bit: return "32-bit";
        case RegistryView::kDefault: break;
    }
    return nullptr;
}

}  // namespace brisko
