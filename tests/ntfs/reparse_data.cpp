#include "tests/ntfs/reparse_data.h"

namespace brisko::testing {
namespace {

constexpr std::uint32_t kMountPointTag = 0xA0000003;
constexpr std::uint32_t kSymbolicLinkTag = 0xA000000C;
// A symbolic link's flags: its target is absolute.
constexpr std::uint32_t kAbsoluteTarget = 0;

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, unsigned bytes) {
    for (unsigned i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> utf16Of(const std::string& ascii) {
    std::vector<std::uint8_t> text;
    for (const char c : ascii) putLittleEndian(text, static_cast<unsigned char>(c), 2);
    return text;
}

// The tag, the length of what follows the header, and then the substitute
// name (as the NT object manager resolves it) and the print name (as dir
// shows it), both at offsets into the path buffer that follows the fields.
std::vector<std::uint8_t> reparsePoint(std::uint32_t tag, const std::string& windowsTarget, bool terminated,
                                       const std::vector<std::uint8_t>& fieldsAfterNames) {
    const std::vector<std::uint8_t> substitute = utf16Of("\\??\\" + windowsTarget);
    const std::vector<std::uint8_t> print = utf16Of(windowsTarget);
    const unsigned terminator = terminated ? 2 : 0;
    std::vector<std::uint8_t> body;
    putLittleEndian(body, 0, 2);
    putLittleEndian(body, static_cast<std::uint32_t>(substitute.size()), 2);
    putLittleEndian(body, static_cast<std::uint32_t>(substitute.size() + terminator), 2);
    putLittleEndian(body, static_cast<std::uint32_t>(print.size()), 2);
    body.insert(body.end(), fieldsAfterNames.begin(), fieldsAfterNames.end());
    body.insert(body.end(), substitute.begin(), substitute.end());
    body.insert(body.end(), terminator, 0);
    body.insert(body.end(), print.begin(), print.end());
    body.insert(body.end(), terminator, 0);

    std::vector<std::uint8_t> data;
    putLittleEndian(data, tag, 4);
    putLittleEndian(data, static_cast<std::uint32_t>(body.size()), 2);
    putLittleEndian(data, 0, 2);
    data.insert(data.end(), body.begin(), body.end());
    return data;
}

}  // namespace

// Windows ends a junction's names with a NUL, a symbolic link's without.
std::vector<std::uint8_t> junctionTo(const std::string& windowsTarget) {
    return reparsePoint(kMountPointTag, windowsTarget, true, {});
}

std::vector<std::uint8_t> symbolicLinkTo(const std::string& windowsTarget) {
    std::vector<std::uint8_t> flags;
    putLittleEndian(flags, kAbsoluteTarget, 4);
    return reparsePoint(kSymbolicLinkTag, windowsTarget, false, flags);
}

}  // namespace brisko::testing
