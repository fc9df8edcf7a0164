#include "cleanup/rename_section.h"

#include "base/text_compare.h"

namespace brisko {
namespace {

constexpr const char* kRenameHeader = "[rename]";
constexpr std::size_t kHeaderTestLength = 8;
// Characters a 648-byte line buffer takes at once, its terminator aside.
constexpr std::size_t kPieceLength = 647;

// The raw bytes of the next piece from start: up to and including a line
// feed, or kPieceLength characters as text mode counts them (CR LF as one).
std::string_view nextPiece(std::string_view content, std::size_t start) {
    std::size_t end = start;
    std::size_t taken = 0;
    while (end < content.size() && taken < kPieceLength) {
        if (content[end] == '\n') {
            ++end;
            break;
        }
        if (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') {
            end += 2;
            break;
        }
        ++end;
        ++taken;
    }
    return content.substr(start, end - start);
}

bool isRenameHeader(std::string_view piece) {
    const std::string line(piece);  // terminated, as the line buffer is
    return equalIgnoringCase(line.c_str(), kRenameHeader, kHeaderTestLength);
}

}  // namespace

std::string newFileWithRenameEntry(std::string_view entry) {
    return std::string(kRenameHeader) + "\r\n" + std::string(entry);
}

std::string withRenameEntry(std::string_view content, std::string_view entry) {
    std::string result;
    result.reserve(content.size() + entry.size() + 16);
    bool inSection = false;
    bool inserted = false;
    for (std::size_t start = 0; start < content.size();) {
        const std::string_view piece = nextPiece(content, start);
        if (!inserted) {
            if (inSection && piece.front() == '[') {
                result += entry;
                inserted = true;
            } else if (!inSection && isRenameHeader(piece)) {
                inSection = true;
            }
        }
        result += piece;
        start += piece.size();
    }
    if (inserted) return result;
    if (!result.empty() && result.back() != '\n') result += "\r\n";
    if (!inSection) result += std::string(kRenameHeader) + "\r\n";
    result += entry;
    return result;
}

}  // namespace brisko
