// The matcher stops at the first record that matches, so a sample of a
// record must not match any record before it in the table.
#include <gtest/gtest.h>

#include "tests/tools/pe_test_reader.h"
#include "tests/tools/sample_test_support.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko::test {
namespace {

TEST(FirstMatchOrder, NoSampleMatchesAnEarlierRecord) {
    for (const SampleLayout layout : kAllLayouts) {
        for (unsigned index = 0; index < kSignatureCount; ++index) {
            SCOPED_TRACE(describe(index, layout));
            const Bytes sample = buildSample(signatureTable[index], layout);
            ASSERT_TRUE(matchesRecord(signatureTable[index], sample));
            for (unsigned earlier = 0; earlier < index; ++earlier) {
                EXPECT_FALSE(matchesRecord(signatureTable[earlier], sample)) << "matches record " << earlier + 1;
            }
        }
    }
}

}  // namespace
}  // namespace brisko::test
