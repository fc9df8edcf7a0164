// The command line of brisko-sample, and one run of the program itself.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tools/sample_writer/runnable_sample.h"
#include "tools/sample_writer/sample_arguments.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

struct ArgumentCase {
    const char* words[7];  // ends at the first null
    bool valid;
    unsigned recordNumber;
    SampleLayout layout;
    NearMiss nearMiss;
    bool runnable = false;
    RunnableMachine machine = RunnableMachine::kX86_64;
};

constexpr ArgumentCase kCases[] = {
    {{"5", "out.bin"}, true, 5, SampleLayout::OneSection, NearMiss::None},
    {{"--layout", "holes", "--near-miss", "probe2-changed", "125", "out.bin"}, true, 125,
     SampleLayout::SectionsWithHoles, NearMiss::Probe2Changed},
    {{"1", "--layout", "none", "out.bin"}, true, 1, SampleLayout::NoSections, NearMiss::None},
    {{"--near-miss", "header-offset-beyond-64k", "17", "out.bin"}, true, 17, SampleLayout::OneSection,
     NearMiss::HeaderOffsetBeyond64K},
    {{"0", "out.bin"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"126", "out.bin"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"5x", "out.bin"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"5"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"5", "out.bin", "extra"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"--layout", "diagonal", "5", "out.bin"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"--near-miss", "almost", "5", "out.bin"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"5", "out.bin", "--layout"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"--verbose", "5", "out.bin"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"--runnable", "5", "out.bin"}, true, 5, SampleLayout::OneSection, NearMiss::None, true},
    {{"5", "--runnable", "out.bin"}, true, 5, SampleLayout::OneSection, NearMiss::None, true},
    {{"--runnable-i386", "5", "out.bin"}, true, 5, SampleLayout::OneSection, NearMiss::None, true,
     RunnableMachine::kI386},
    {{"--runnable-i386", "--near-miss", "probe1-changed", "5", "out.bin"}, false, 0, SampleLayout::OneSection,
     NearMiss::None},
    {{"--runnable", "--layout", "holes", "5", "out.bin"}, false, 0, SampleLayout::OneSection, NearMiss::None},
    {{"--near-miss", "probe1-changed", "--runnable", "5", "out.bin"}, false, 0, SampleLayout::OneSection,
     NearMiss::None},
};

TEST(SampleArguments, ParsesOptionsAndOperands) {
    for (const ArgumentCase& testCase : kCases) {
        std::vector<std::string> words;
        for (const char* const* word = testCase.words; word != std::end(testCase.words) && *word; ++word) {
            words.push_back(*word);
        }
        std::string joined;
        for (const std::string& word : words) joined += word + " ";
        SCOPED_TRACE(joined);

        std::string error;
        const std::optional<SampleRequest> request = parseSampleArguments(words, error);
        ASSERT_EQ(request.has_value(), testCase.valid) << error;
        if (!request) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(request->recordNumber, testCase.recordNumber);
        EXPECT_EQ(request->layout, testCase.layout);
        EXPECT_EQ(request->nearMiss, testCase.nearMiss);
        EXPECT_EQ(request->runnable, testCase.runnable);
        EXPECT_EQ(request->machine, testCase.machine);
        EXPECT_EQ(request->outputPath, "out.bin");
    }
}

TEST(SampleArguments, EveryKindHasANameThatParsesBack) {
    for (const SampleLayout layout : kAllLayouts) EXPECT_EQ(layoutNamed(layoutName(layout)), layout);
    for (const NearMiss miss : kAllNearMisses) EXPECT_EQ(nearMissNamed(nearMissName(miss)), miss);
    EXPECT_EQ(nearMissNamed("none"), NearMiss::None);
}

int runSampleTool(const std::string& arguments) {
    const int status = std::system((std::string("'") + BRISKO_SAMPLE_TOOL + "' " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SampleTool, WritesTheSampleOfTheNumberedRecord) {
    const std::string output = testing::TempDir() + "brisko_sample_" + std::to_string(getpid()) + ".bin";
    ASSERT_EQ(runSampleTool("--layout holes --near-miss probe1-changed 121 '" + output + "'"), 0);
    std::ifstream in(output, std::ios::binary);
    const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(output.c_str());
    EXPECT_TRUE(written == buildSample(signatureTable[120], SampleLayout::SectionsWithHoles, NearMiss::Probe1Changed));
}

TEST(SampleTool, WritesARunnableSampleForEitherMachine) {
    const std::string output = testing::TempDir() + "brisko_runnable_" + std::to_string(getpid()) + ".bin";
    for (const auto& [option, machine] : {std::pair{"--runnable", RunnableMachine::kX86_64},
                                          std::pair{"--runnable-i386", RunnableMachine::kI386}}) {
        SCOPED_TRACE(option);
        unsigned record = 0;
        while (record < kSignatureCount && buildRunnableSample(signatureTable[record], machine).empty()) ++record;
        ASSERT_LT(record, kSignatureCount);
        ASSERT_EQ(runSampleTool(std::string(option) + " " + std::to_string(record + 1) + " '" + output + "'"), 0);
        std::ifstream in(output, std::ios::binary);
        const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::remove(output.c_str());
        EXPECT_TRUE(written == buildRunnableSample(signatureTable[record], machine));
    }
}

TEST(SampleTool, ReportsMistakesAndRefusals) {
    EXPECT_EQ(runSampleTool("126 /dev/null"), 2);
    // Record 6 is 12 KiB, too small to put its headers past 64 KiB.
    EXPECT_EQ(runSampleTool("--near-miss header-offset-beyond-64k 6 /dev/null"), 1);
}

}  // namespace
}  // namespace brisko
