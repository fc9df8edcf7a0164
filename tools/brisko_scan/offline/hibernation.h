#pragma once
// Whether the Windows of a volume is hibernated: asleep with its memory
// saved to C:\hiberfil.sys, as after "Hibernate" and after every shutdown
// with fast startup on. That Windows resumes with its own picture of the
// volume's file system and writes it back as it goes, so any change made
// meanwhile corrupts the volume. A Windows shut down fully, or resumed,
// leaves the file without its signature (zeros, or "wake").
#include <string>

namespace brisko {

enum class HibernationState {
    kNotHibernated,  // no hiberfil.sys, or one without a saved image
    kHibernated,     // its first four bytes are "hibr" or "HIBR"
    kUnknown,        // it is there but cannot be read
};

// Reads C:\hiberfil.sys through the file seam.
HibernationState hibernationState();

// The line that refuses a changing action on such a volume: what was
// found, and what to do.
std::string hibernationRefusal(HibernationState state);

}  // namespace brisko
