#include "platform/fake/fake_services.h"

#include <stdexcept>

#include "platform/fake/capitals.h"

namespace brisko::fake {

class FakeServices::Service : public OpenedService {
public:
    Service(FakeServices& owner, FakeService& service) : owner_(owner), service_(service) { ++owner_.openHandles_; }
    ~Service() override { --owner_.openHandles_; }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    bool stop(std::uint32_t& state) override {
        ++owner_.stopControls_;
        if (owner_.faults_.fails(SeamCall::kStopService)) return false;
        if (service_.refusesStop || service_.state == kServiceStopped) return false;
        service_.state = kServiceStopPending;
        settle();
        state = service_.state;
        return true;
    }

    bool queryState(std::uint32_t& state) override {
        if (owner_.faults_.fails(SeamCall::kQueryServiceState)) return false;
        if (service_.state == kServiceStopPending) {
            if (service_.stopPendingQueries > 0) --service_.stopPendingQueries;
            else settle();
        }
        state = service_.state;
        return true;
    }

private:
    void settle() {
        if (service_.stopPendingQueries > 0) return;
        service_.state = kServiceStopped;
        if (service_.processId != 0 && owner_.processes_.isRunning(service_.processId)) {
            owner_.processes_.end(service_.processId);
        }
    }

    FakeServices& owner_;
    FakeService& service_;
};

class FakeServices::Manager : public ServiceManager {
public:
    explicit Manager(FakeServices& owner) : owner_(owner) { ++owner_.openHandles_; }
    ~Manager() override { --owner_.openHandles_; }
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    std::unique_ptr<OpenedService> openService(const char* name, std::uint32_t) override {
        if (owner_.faults_.fails(SeamCall::kOpenService)) return nullptr;
        const auto found = owner_.services_.find(inCapitalLetters(name));
        if (found == owner_.services_.end() || found->second.refusesOpen) return nullptr;
        return std::make_unique<Service>(owner_, found->second);
    }

private:
    FakeServices& owner_;
};

FakeService& FakeServices::add(const std::string& name) { return services_[inCapitalLetters(name)]; }

FakeService& FakeServices::service(const std::string& name) {
    const auto found = services_.find(inCapitalLetters(name));
    if (found == services_.end()) throw std::out_of_range("no service " + name);
    return found->second;
}

std::unique_ptr<ServiceManager> FakeServices::openManager(std::uint32_t) {
    if (faults_.fails(SeamCall::kOpenServiceManager) || managerRefused_) return nullptr;
    return std::make_unique<Manager>(*this);
}

}  // namespace brisko::fake
