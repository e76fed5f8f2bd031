// The failing seam: every part counts each call in one counter before passing it on.
#include "support/failing_platform.h"

#include <new>

#include "support/delegating_platform.h"

namespace qzr::test {
namespace {

struct Counter {
  int64_t calls = 0;
  int64_t failAt = 0;
  Raise what = Raise::kBadAlloc;
  const char* firedIn = nullptr;

  void Tick(const char* operation) {
    ++calls;
    if (calls != failAt) return;
    firedIn = operation;
    if (what == Raise::kBadAlloc) throw std::bad_alloc();
    throw 42;
  }
};

// One part of the seam, counting.
template <typename Delegating, typename Api>
class Counting final : public Delegating {
 public:
  Counting(Api& inner, Counter& counter) : Delegating(inner), counter_(counter) {}

 private:
  void Before(const char* operation) override { counter_.Tick(operation); }
  Counter& counter_;
};

}  // namespace

struct FailingPlatform::Parts {
  explicit Parts(const Platform& inner)
      : registry(*inner.registry, counter),
        profile(*inner.profile, counter),
        files(*inner.files, counter),
        system(*inner.system, counter),
        ui(*inner.ui, counter) {}
  Counter counter;
  Counting<DelegatingRegistry, RegistryApi> registry;
  Counting<DelegatingProfile, ProfileApi> profile;
  Counting<DelegatingFiles, FileApi> files;
  Counting<DelegatingSystem, SystemApi> system;
  Counting<DelegatingUi, UiApi> ui;
};

FailingPlatform::FailingPlatform() : parts_(std::make_unique<Parts>(Os())), saved_(Os()) {
  Os() = Platform{&parts_->registry, &parts_->profile, &parts_->files, &parts_->system, &parts_->ui};
}

FailingPlatform::~FailingPlatform() { Os() = saved_; }

void FailingPlatform::Arm(int64_t callNumber, Raise what) { parts_->counter = Counter{0, callNumber, what, nullptr}; }

int64_t FailingPlatform::Calls() const { return parts_->counter.calls; }

bool FailingPlatform::Fired() const { return parts_->counter.firedIn != nullptr; }

std::string FailingPlatform::FiredIn() const { return parts_->counter.firedIn ? parts_->counter.firedIn : ""; }

}  // namespace qzr::test
