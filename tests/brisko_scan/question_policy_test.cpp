#include <gtest/gtest.h>

#include "tools/brisko_scan/question_policy.h"

namespace brisko {
namespace {

TEST(QuestionPolicyTest, RestartsOnlyWhenForcedAndNeverStops) {
    struct Case {
        const Question& question;
        RestartChoice restart;
        int answer;
    };
    const Case cases[] = {
        {kRestartQuestion, RestartChoice::kNever, kAnswerNo},
        {kRestartQuestion, RestartChoice::kForce, kAnswerYes},
        // The process that could not be ended: OK restarts, Cancel does not.
        {kMemoryRestartQuestion, RestartChoice::kNever, kAnswerCancel},
        {kMemoryRestartQuestion, RestartChoice::kForce, kAnswerOk},
        {kStopScanQuestion, RestartChoice::kNever, kAnswerNo},
        {kStopScanQuestion, RestartChoice::kForce, kAnswerNo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question.text);
        SCOPED_TRACE(c.restart == RestartChoice::kForce ? "force" : "never");
        EXPECT_EQ(answerWithoutAsking(c.question, c.restart), c.answer);
    }
}

TEST(QuestionPolicyTest, NamesEachAnswer) {
    EXPECT_STREQ(answerNameOf(kAnswerOk), "OK");
    EXPECT_STREQ(answerNameOf(kAnswerCancel), "Cancel");
    EXPECT_STREQ(answerNameOf(kAnswerYes), "Yes");
    EXPECT_STREQ(answerNameOf(kAnswerNo), "No");
}

}  // namespace
}  // namespace brisko
