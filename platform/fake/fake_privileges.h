#pragma once
// The simulated machine's access token: it can refuse to open, and the
// account may lack a privilege, which the adjustment then reports as
// ERROR_NOT_ALL_ASSIGNED. Its user is an administrator unless a test says
// otherwise. Counts the tokens still open.
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fault_plan.h"
#include "platform/privileges.h"

namespace brisko::fake {

class FakePrivileges : public Privileges {
public:
    explicit FakePrivileges(FaultPlan& faults) : faults_(faults) {}

    void refuseToken() { tokenRefused_ = true; }
    void withholdPrivilege(const std::string& name) { withheld_.insert(name); }
    // The user as a plain account, or one whose token is filtered.
    void removeAdministratorRights() { administrator_ = false; }

    bool isEnabled(const std::string& name) const { return enabled_.count(name) != 0; }
    // Every privilege enabling asked for, in order, granted or not.
    const std::vector<std::string>& adjustments() const { return adjustments_; }
    unsigned tokenOpenings() const { return openings_; }
    int openTokens() const { return open_; }

    std::unique_ptr<AccessToken> openOwnToken(std::uint32_t access) override;

private:
    class Token;

    FaultPlan& faults_;
    bool tokenRefused_ = false;
    bool administrator_ = true;
    std::set<std::string> withheld_;
    std::set<std::string> enabled_;
    std::vector<std::string> adjustments_;
    unsigned openings_ = 0;
    int open_ = 0;
};

}  // namespace brisko::fake
