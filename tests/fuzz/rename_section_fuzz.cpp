// The wininit.ini editor, on any bytes as the old file, against a plain
// reference: the old bytes, all kept in order, with the entry added exactly
// once, right before the header that ends the first [rename] section, or at
// the end: after a CR LF that ends an unterminated last line and, when there
// is no such section, a new header. Lines are read in pieces of at most 647
// characters, and a piece is what may be a header.
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "cleanup/rename_section.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::string_view kEntry = "NUL=C:\\WINDOWS\\SAMPLE.EXE\r\n";
constexpr std::string_view kHeader = "[rename]";
constexpr std::size_t kPieceLength = 647;

bool headerAt(std::string_view text, std::size_t at) {
    if (text.size() - at < kHeader.size()) return false;
    for (std::size_t i = 0; i < kHeader.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != kHeader[i]) return false;
    }
    return true;
}

// Where pieces begin: at every line start, and every 647 characters into a
// line while some of it is left, if only its line end (LF or CR LF, which
// goes with the piece before it when that is shorter).
std::vector<std::size_t> pieceStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t line = 0; line < text.size();) {
        const std::size_t feed = text.find('\n', line);
        const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
        std::size_t lineEnd = 0;
        if (feed != std::string_view::npos) lineEnd = feed > line && text[feed - 1] == '\r' ? 2 : 1;
        const std::size_t characters = end - line - lineEnd;
        for (std::size_t taken = 0; taken <= characters && line + taken < end; taken += kPieceLength) {
            starts.push_back(line + taken);
        }
        line = end;
    }
    return starts;
}

std::string expectedResult(std::string_view content) {
    const std::vector<std::size_t> starts = pieceStarts(content);
    bool inSection = false;
    for (std::size_t at : starts) {
        if (inSection && content[at] == '[') {
            return std::string(content.substr(0, at)) + std::string(kEntry) + std::string(content.substr(at));
        }
        if (!inSection && headerAt(content, at)) inSection = true;
    }
    std::string result(content);
    if (!content.empty() && content.back() != '\n') result += "\r\n";
    if (!inSection) result += std::string(kHeader) + "\r\n";
    return result + std::string(kEntry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(brisko::withRenameEntry(content, kEntry) == expectedResult(content));
    FUZZ_CHECK(brisko::newFileWithRenameEntry(kEntry) == std::string(kHeader) + "\r\n" + std::string(kEntry));
    return 0;
}
