#include "platform/fake/fake_privileges.h"

namespace brisko::fake {

class FakePrivileges::Token : public AccessToken {
public:
    Token(FakePrivileges& owner, std::uint32_t access) : owner_(owner), access_(access) { ++owner_.open_; }
    ~Token() override { --owner_.open_; }
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;

    std::uint32_t enablePrivilege(const char* name) override {
        owner_.adjustments_.push_back(name);
        if (owner_.faults_.fails(SeamCall::kEnablePrivilege)) return 5;  // ERROR_ACCESS_DENIED
        // Without adjust rights the call itself fails: ERROR_ACCESS_DENIED.
        if ((access_ & kTokenAdjustPrivileges) == 0) return 5;
        if (owner_.withheld_.count(name) != 0) return kErrorNotAllAssigned;
        owner_.enabled_.insert(name);
        return 0;
    }

    // Reading the token's groups needs the query right.
    bool actsAsAdministrator() override { return (access_ & kTokenQuery) != 0 && owner_.administrator_; }

private:
    FakePrivileges& owner_;
    std::uint32_t access_;
};

std::unique_ptr<AccessToken> FakePrivileges::openOwnToken(std::uint32_t access) {
    ++openings_;
    if (faults_.fails(SeamCall::kOpenOwnToken) || tokenRefused_) return nullptr;
    return std::make_unique<Token>(*this, access);
}

}  // namespace brisko::fake
