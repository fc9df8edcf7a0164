#pragma once
// How a console answers the scan's questions without asking anyone: a
// deployment runs where nobody reads a prompt, so the command line decides.
#include "session/scan_questions.h"

namespace brisko {

// --restart: whether the machine may be restarted when a removal needs it.
// It answers both restart questions: after a locked file, and after an
// infected process that could not be ended.
enum class RestartChoice {
    kNever,
    kForce,
};

// The answer, one of the kAnswer values. Stopping the scan is always
// refused: a console scan ends only when it is done.
int answerWithoutAsking(const Question& question, RestartChoice restart);

// "OK", "Cancel", "Yes" or "No", as a console shows the answer given.
const char* answerNameOf(int answer);

}  // namespace brisko
