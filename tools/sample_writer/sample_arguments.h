#pragma once
// The command line of brisko-sample:
//   brisko-sample [--layout one|holes|none|full-table] [--near-miss NAME] RECORD OUTPUT_FILE
//   brisko-sample --runnable|--runnable-i386 RECORD OUTPUT_FILE
// RECORD is the 1-based position of the signature in table order.
#include <optional>
#include <string>
#include <vector>

#include "tools/sample_writer/runnable_sample.h"
#include "tools/sample_writer/sample_kinds.h"

namespace brisko {

struct SampleRequest {
    unsigned recordNumber;  // 1-based
    SampleLayout layout;
    NearMiss nearMiss;
    // A sample that really runs (buildRunnableSample); no layout or near miss.
    bool runnable;
    std::string outputPath;
    RunnableMachine machine = RunnableMachine::kX86_64;
};

extern const char kSampleUsage[];

// Parses the words after the program name. On a mistake returns nothing and
// says what was wrong in `error`.
std::optional<SampleRequest> parseSampleArguments(const std::vector<std::string>& words, std::string& error);

}  // namespace brisko
