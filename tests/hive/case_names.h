#pragma once
// The test name of a table case given by its "name": every character that
// cannot stand in a test name becomes '_'. For INSTANTIATE_TEST_SUITE_P:
//
//     INSTANTIATE_TEST_SUITE_P(Cases, SomeTest, ::testing::ValuesIn(kCases), CaseName());
#include <cctype>
#include <string>

namespace brisko::testing {

struct CaseName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const {
        std::string name;
        for (const char c : std::string(info.param.name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    }
};

}  // namespace brisko::testing
