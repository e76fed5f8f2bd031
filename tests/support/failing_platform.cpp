// The failing seam's wrappers: one per part, each call counted before it is passed on.
#include "support/failing_platform.h"

#include <new>

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

class FailingRegistry final : public RegistryApi {
 public:
  FailingRegistry(RegistryApi& inner, Counter& c) : inner_(inner), c_(c) {}
  long CreateKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    c_.Tick("CreateKey");
    return inner_.CreateKey(base, subKey, access, result);
  }
  long OpenKey(RegHandle base, const std::string& subKey, uint32_t access, RegHandle* result) override {
    c_.Tick("OpenKey");
    return inner_.OpenKey(base, subKey, access, result);
  }
  long CloseKey(RegHandle key) override {
    c_.Tick("CloseKey");
    return inner_.CloseKey(key);
  }
  long QueryValue(RegHandle key, const std::string& name, uint32_t* type, uint8_t* data, uint32_t* size) override {
    c_.Tick("QueryValue");
    return inner_.QueryValue(key, name, type, data, size);
  }
  long SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data, uint32_t size) override {
    c_.Tick("SetValue");
    return inner_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(RegHandle key, const std::string& name) override {
    c_.Tick("DeleteValue");
    return inner_.DeleteValue(key, name);
  }
  long DeleteKey(RegHandle base, const std::string& subKey) override {
    c_.Tick("DeleteKey");
    return inner_.DeleteKey(base, subKey);
  }
  long EnumKey(RegHandle key, uint32_t index, char* name, uint32_t* length) override {
    c_.Tick("EnumKey");
    return inner_.EnumKey(key, index, name, length);
  }
  long QueryInfoKey(RegHandle key, RegKeyInfo* info) override {
    c_.Tick("QueryInfoKey");
    return inner_.QueryInfoKey(key, info);
  }

 private:
  RegistryApi& inner_;
  Counter& c_;
};

class FailingProfile final : public ProfileApi {
 public:
  FailingProfile(ProfileApi& inner, Counter& c) : inner_(inner), c_(c) {}
  std::string GetString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                        const std::string& defaultValue, uint32_t bufferSize, const std::string& fileName) override {
    c_.Tick("QueryInfoKey");
    return inner_.GetString(section, key, defaultValue, bufferSize, fileName);
  }
  bool WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                   const std::optional<std::string>& value, const std::string& fileName) override {
    c_.Tick("QueryInfoKey");
    return inner_.WriteString(section, key, value, fileName);
  }

 private:
  ProfileApi& inner_;
  Counter& c_;
};

class FailingFiles final : public FileApi {
 public:
  FailingFiles(FileApi& inner, Counter& c) : inner_(inner), c_(c) {}
  long CreateProbeFile(const std::string& path) override {
    c_.Tick("CreateProbeFile");
    return inner_.CreateProbeFile(path);
  }
  bool RemoveFile(const std::string& path) override {
    c_.Tick("RemoveFile");
    return inner_.RemoveFile(path);
  }
  uint32_t GetAttributes(const std::string& path) override {
    c_.Tick("GetAttributes");
    return inner_.GetAttributes(path);
  }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    c_.Tick("SetAttributes");
    return inner_.SetAttributes(path, attributes);
  }
  bool MakeDirectory(const std::string& path) override {
    c_.Tick("MakeDirectory");
    return inner_.MakeDirectory(path);
  }
  bool Copy(const std::string& source, const std::string& target, bool failIfExists) override {
    c_.Tick("Copy");
    return inner_.Copy(source, target, failIfExists);
  }
  bool MoveReplace(const std::string& source, const std::string& target) override {
    c_.Tick("MoveReplace");
    return inner_.MoveReplace(source, target);
  }
  std::vector<FoundFile> FindFiles(const std::string& mask) override {
    c_.Tick("FindFiles");
    return inner_.FindFiles(mask);
  }
  long ReadWhole(const std::string& path, std::string* content) override {
    c_.Tick("ReadWhole");
    return inner_.ReadWhole(path, content);
  }
  long WriteWhole(const std::string& path, const std::string& content) override {
    c_.Tick("WriteWhole");
    return inner_.WriteWhole(path, content);
  }
  long AppendTo(const std::string& path, const std::string& content) override {
    c_.Tick("AppendTo");
    return inner_.AppendTo(path, content);
  }

 private:
  FileApi& inner_;
  Counter& c_;
};

class FailingSystem final : public SystemApi {
 public:
  FailingSystem(SystemApi& inner, Counter& c) : inner_(inner), c_(c) {}
  std::optional<std::string> GetEnv(const std::string& name) override {
    c_.Tick("GetEnv");
    return inner_.GetEnv(name);
  }
  std::string ModuleFileName() override {
    c_.Tick("ModuleFileName");
    return inner_.ModuleFileName();
  }
  uint16_t CodeSegmentSelector() override {
    c_.Tick("CodeSegmentSelector");
    return inner_.CodeSegmentSelector();
  }
  LocalTime Now() override {
    c_.Tick("Now");
    return inner_.Now();
  }
  std::string FormatLongTime(const LocalTime& t) override {
    c_.Tick("FormatLongTime");
    return inner_.FormatLongTime(t);
  }
  std::string FormatShortDate(const LocalTime& t) override {
    c_.Tick("FormatShortDate");
    return inner_.FormatShortDate(t);
  }
  std::string ErrorMessage(long code) override {
    c_.Tick("ErrorMessage");
    return inner_.ErrorMessage(code);
  }
  bool FarEastLocale() override {
    c_.Tick("FarEastLocale");
    return inner_.FarEastLocale();
  }
  std::string UpperCase(const std::string& text) override {
    c_.Tick("UpperCase");
    return inner_.UpperCase(text);
  }
  std::string AnsiToUtf8(const std::string& text) override {
    c_.Tick("AnsiToUtf8");
    return inner_.AnsiToUtf8(text);
  }
  std::string Utf8ToAnsi(const std::string& text) override {
    c_.Tick("Utf8ToAnsi");
    return inner_.Utf8ToAnsi(text);
  }

 private:
  SystemApi& inner_;
  Counter& c_;
};

class FailingUi final : public UiApi {
 public:
  FailingUi(UiApi& inner, Counter& c) : inner_(inner), c_(c) {}
  void ShowMessage(const std::string& text, const std::string& caption) override {
    c_.Tick("ShowMessage");
    inner_.ShowMessage(text, caption);
  }
  void ShellOpen(const std::string& target, void* parent) override {
    c_.Tick("ShellOpen");
    inner_.ShellOpen(target, parent);
  }

 private:
  UiApi& inner_;
  Counter& c_;
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
  FailingRegistry registry;
  FailingProfile profile;
  FailingFiles files;
  FailingSystem system;
  FailingUi ui;
};

FailingPlatform::FailingPlatform() : parts_(std::make_unique<Parts>(Os())), saved_(Os()) {
  Os() = Platform{&parts_->registry, &parts_->profile, &parts_->files, &parts_->system, &parts_->ui};
}

FailingPlatform::~FailingPlatform() { Os() = saved_; }

void FailingPlatform::Arm(int64_t callNumber, Raise what) {
  parts_->counter = Counter{0, callNumber, what, nullptr};
}

int64_t FailingPlatform::Calls() const { return parts_->counter.calls; }

bool FailingPlatform::Fired() const { return parts_->counter.firedIn != nullptr; }

std::string FailingPlatform::FiredIn() const { return parts_->counter.firedIn ? parts_->counter.firedIn : ""; }

}  // namespace qzr::test
