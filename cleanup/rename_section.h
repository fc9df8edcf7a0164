#pragma once
// The editing of wininit.ini's [rename] section, apart from any file: the
// text in, the text with one more entry out.
#include <string>
#include <string_view>

namespace brisko {

// The content of a new wininit.ini holding the one entry.
std::string newFileWithRenameEntry(std::string_view entry);

// The content with the entry added at the end of its first [rename]
// section: right before the next header line, or at the end of the file
// when the section runs to it; a file with no such section gets one at its
// end. Lines are taken as a line reader of 648 bytes in text mode takes
// them, so a line of more than 647 characters comes in pieces and a piece
// that begins with '[' counts as a header. Every byte of the old content
// stays as it was; an unterminated last line is ended with CR LF before
// anything is added after it. The entry is "target=source\r\n".
std::string withRenameEntry(std::string_view content, std::string_view entry);

}  // namespace brisko
