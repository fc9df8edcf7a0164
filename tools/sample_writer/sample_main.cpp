// brisko-sample: writes one synthetic sample for a record of the signature
// table. See sample_arguments.h for the command line.
#include <cstdio>
#include <fstream>
#include <string>

#include "matcher/threat_signature.h"
#include "tools/sample_writer/runnable_sample.h"
#include "tools/sample_writer/sample_arguments.h"
#include "tools/sample_writer/sample_writer.h"

int main(int argc, char** argv) {
    using namespace brisko;
    std::string error;
    const std::optional<SampleRequest> request =
        parseSampleArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!request) {
        std::fprintf(stderr, "brisko-sample: %s\n%s", error.c_str(), kSampleUsage);
        return 2;
    }
    const ThreatSignature& record = signatureTable[request->recordNumber - 1];
    const std::vector<std::uint8_t> image =
        request->runnable ? buildRunnableSample(record, request->machine)
                          : buildSample(record, request->layout, request->nearMiss);
    if (image.empty() && request->runnable) {
        std::fprintf(stderr, "brisko-sample: record %u (%.*s) cannot be made runnable\n", request->recordNumber,
                     static_cast<int>(threatNameOf(record).size()), threatNameOf(record).data());
        return 1;
    }
    if (image.empty()) {
        std::fprintf(stderr, "brisko-sample: layout %s with near miss %s cannot hold record %u (%.*s)\n",
                     layoutName(request->layout), nearMissName(request->nearMiss), request->recordNumber,
                     static_cast<int>(threatNameOf(record).size()), threatNameOf(record).data());
        return 1;
    }
    std::ofstream out(request->outputPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "brisko-sample: cannot write %s\n", request->outputPath.c_str());
        return 1;
    }
    const char* runnable = request->machine == RunnableMachine::kI386 ? "runnable i386" : "runnable x86-64";
    const std::string shape = request->runnable ? runnable : std::string("layout ") + layoutName(request->layout);
    std::printf("%s: %zu bytes, record %u (%.*s), %s, near miss %s\n", request->outputPath.c_str(), image.size(),
                request->recordNumber, static_cast<int>(threatNameOf(record).size()), threatNameOf(record).data(),
                shape.c_str(), nearMissName(request->nearMiss));
    return 0;
}
