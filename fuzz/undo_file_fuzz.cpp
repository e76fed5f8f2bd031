// Feeds: a registry tree of the input's making below a key of the substitute registry (key
// names and value names of any UTF-16 units, lone surrogates too; every value type; data of any
// bytes, string data of any units, with and without its terminating zero) to the undo files'
// writer: ReadRegBackup of the whole key, the body of the .reg file a Save writes before it
// deletes the key, made into the file's bytes.
// Checks: the writer refuses exactly the trees with a key name a header cannot hold ("]", a line
// end); otherwise a reader of the format written apart from it (reg_file_reader) reads the body
// back as the same tree: every key, depth first, with every value's name, type and data.
#include <cstdlib>

#include "apply/reg_backup.h"
#include "fuzz_support.h"
#include "platform/posix/backends.h"
#include "platform/posix/registry_tree.h"
#include "reg_file_reader.h"
#include "apply/reg_file_text.h"
#include "util/utf16.h"
#include "util/utf16_bytes.h"

namespace {
using namespace qzr;
using fuzz::Check;

constexpr const char* kTop = "Software\\QZR_fuzz_undo";

// Text of the input's UTF-16 units, as the substitute keeps it (UTF-8, a lone surrogate in its
// own three-byte form): what a wide call gives, the wide call gives back.
std::string WideText(fuzz::ByteReader& in, size_t maxUnits) {
  return Utf16ToUtf8(Utf16FromLeBytes(in.Text(maxUnits * 2)));
}

// A name of the input's units; the system takes names up to a zero, and a backslash separates
// key names.
std::string Name(fuzz::ByteReader& in, size_t maxLength, bool key) {
  std::string name = WideText(in, maxLength);
  name = name.substr(0, name.find('\0'));
  if (key)
    for (char& c : name)
      if (c == '\\') c = '/';
  return name;
}

// The tree below `node` as the reader gives it back, depth first in the registry's order.
void Expected(const posix::RegNode& node, const std::string& name, std::vector<fuzz::RegFileKey>* keys,
              bool* writable) {
  fuzz::RegFileKey key{name, false, {}};
  for (const posix::RegValue& v : node.values) {
    const bool text = v.type == win::kRegSz || v.type == win::kRegExpandSz || v.type == win::kRegMultiSz;
    key.Values.emplace(v.name, std::make_pair(v.type, text ? Utf16LeBytes(Utf8ToUtf16(v.data)) : v.data));
  }
  keys->push_back(std::move(key));
  for (const auto& [upper, child] : node.children) {
    if (child->name.find_first_of("]\r\n") != std::string::npos) *writable = false;
    Expected(*child, name + "\\" + child->name, keys, writable);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Never the user's registry file, however the target is started.
  static const int inMemory = setenv("QZR_REGISTRY_FILE", "", 1);
  (void)inMemory;
  static posix::Registry registry;
  Override<RegistryApi> seam(Os().registry, &registry);
  // The key is made anew for every input; the rest of the registry stays as it was loaded.
  std::shared_ptr<posix::RegNode> software = registry.Tree().Root(kHkeyCurrentUser)->Child("Software");
  if (!software) software = registry.Tree().Root(kHkeyCurrentUser)->AddChild("Software");
  software->RemoveChild("QZR_fuzz_undo");
  std::shared_ptr<posix::RegNode> top = software->AddChild("QZR_fuzz_undo");
  std::vector<std::shared_ptr<posix::RegNode>> keys{top};
  fuzz::ByteReader in(data, size);
  while (!in.Empty() && keys.size() < 24) {
    const uint8_t what = in.Byte();
    std::shared_ptr<posix::RegNode> parent = keys[what % keys.size()];
    if (what & 0x80) {
      std::string name = Name(in, 12, true);
      if (!name.empty()) keys.push_back(parent->AddChild(name));
      continue;
    }
    std::string name = Name(in, 40, false);
    const uint8_t typeByte = in.Byte();
    static const uint32_t kTypes[] = {win::kRegSz, win::kRegExpandSz, win::kRegBinary, win::kRegDword,
                                      win::kRegMultiSz, win::kRegQword, 0, 0x1234};
    const uint32_t type = typeByte & 0x80 ? typeByte : kTypes[typeByte % 8];
    const bool text = type == win::kRegSz || type == win::kRegExpandSz || type == win::kRegMultiSz;
    std::string bytes = text ? WideText(in, typeByte & 0x40 ? 100 : 6) : in.Text(typeByte & 0x40 ? 200 : 12);
    if (typeByte & 0x20) bytes += '\0';
    parent->SetValue(name, type, bytes);
  }

  std::vector<fuzz::RegFileKey> expected;
  bool writable = true;
  Expected(*top, std::string("HKEY_CURRENT_USER\\") + kTop, &expected, &writable);
  const std::optional<RegBackup> backup = ReadRegBackup(kHkeyCurrentUser, kTop, "", true);
  Check(backup.has_value() == writable, "the writer refuses exactly the key names a header cannot hold");
  if (!backup) return 0;
  std::vector<fuzz::RegFileKey> read;
  std::string error;
  if (!fuzz::ReadRegFile(RegFileBytes(kRegFileHeader + backup->Body), &read, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    fuzz::Fail("the body is a registry file");
  }
  Check(read == expected, "the body read back is the tree");
  return 0;
}
