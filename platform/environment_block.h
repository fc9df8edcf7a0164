#pragma once
// Environment variables as the backends without a real environment keep
// them (the simulated machine, an offline volume), and the expansion of
// "%NAME%" references as ExpandEnvironmentStrings does it: names match
// case-blind, and a reference to a name not set stays as written.
#include <map>
#include <string>

namespace brisko {

class EnvironmentBlock {
public:
    void set(const std::string& name, const std::string& value);

    std::string expand(const char* text) const;

    // Expands into buffer as ExpandEnvironmentStrings answers: the size
    // needed with the terminator, the text written only when it fits.
    unsigned expandInto(const char* text, char* buffer, unsigned capacity) const;

private:
    std::map<std::string, std::string> variables_;  // by name in small letters
};

}  // namespace brisko
