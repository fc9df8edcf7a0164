#include "tools/sample_writer/sample_arguments.h"

#include "matcher/threat_signature.h"

namespace brisko {

const char kSampleUsage[] =
    "usage: brisko-sample [--layout one|holes|none|full-table] [--near-miss NAME] RECORD OUTPUT_FILE\n"
    "       brisko-sample --runnable|--runnable-i386 RECORD OUTPUT_FILE\n"
    "  --runnable-i386  a 32-bit program, as the family's are\n"
    "  RECORD     1-based position of the signature in table order (1..125)\n"
    "  --near-miss one-byte-short | one-byte-long | probe1-changed | probe2-changed |\n"
    "              twenty-one-sections | header-offset-beyond-64k | none (the default)\n";

namespace {

std::optional<unsigned> recordNumberFrom(const std::string& word) {
    if (word.empty() || word.size() > 3 || word.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const unsigned number = static_cast<unsigned>(std::stoul(word));
    if (number < 1 || number > kSignatureCount) return std::nullopt;
    return number;
}

}  // namespace

std::optional<SampleRequest> parseSampleArguments(const std::vector<std::string>& words, std::string& error) {
    SampleRequest request{0, SampleLayout::OneSection, NearMiss::None, false, {}};
    bool shaped = false;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--runnable" || word == "--runnable-i386") {
            request.runnable = true;
            request.machine = word == "--runnable" ? RunnableMachine::kX86_64 : RunnableMachine::kI386;
        } else if (word == "--layout" || word == "--near-miss") {
            shaped = true;
            if (i + 1 == words.size()) {
                error = word + " needs a value";
                return std::nullopt;
            }
            const std::string& value = words[++i];
            if (word == "--layout") {
                const std::optional<SampleLayout> layout = layoutNamed(value);
                if (!layout) {
                    error = "unknown layout: " + value;
                    return std::nullopt;
                }
                request.layout = *layout;
            } else {
                const std::optional<NearMiss> miss = nearMissNamed(value);
                if (!miss) {
                    error = "unknown near miss: " + value;
                    return std::nullopt;
                }
                request.nearMiss = *miss;
            }
        } else if (word.size() > 1 && word[0] == '-') {
            error = "unknown option: " + word;
            return std::nullopt;
        } else {
            operands.push_back(word);
        }
    }
    if (request.runnable && shaped) {
        error = "a runnable sample takes no layout or near miss";
        return std::nullopt;
    }
    if (operands.size() != 2) {
        error = "expected a record number and an output file";
        return std::nullopt;
    }
    const std::optional<unsigned> number = recordNumberFrom(operands[0]);
    if (!number) {
        error = "record must be a number from 1 to 125: " + operands[0];
        return std::nullopt;
    }
    request.recordNumber = *number;
    request.outputPath = operands[1];
    return request;
}

}  // namespace brisko
