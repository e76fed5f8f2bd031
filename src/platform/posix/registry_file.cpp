// The substitute registry's file: location, text form, atomic saving.
#include "platform/posix/registry_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/posix/faults.h"

namespace qzr::posix {
namespace {

constexpr const char* kSignature = "QZR_TC registry 1";
constexpr size_t kMaxDepth = 512;  // levels of keys below a root, as Windows allows
constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Control characters, and the file's own '%' and '"', are written as %XX.
bool Escaped(char c) {
  auto b = static_cast<unsigned char>(c);
  return b < 0x20 || b == 0x7F || c == '%' || c == '"';
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (Escaped(c)) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexValue(hex[i]), lo = HexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

size_t EscapedSize(const std::string& text) {
  return text.size() + 2 * static_cast<size_t>(std::count_if(text.begin(), text.end(), Escaped));
}

// What FormatNode appends, counted first so the text is allocated once: a deep tree of long
// names writes its paths again for every key.
size_t FormattedSize(const RegNode& node, size_t pathSize) {
  size_t size = pathSize + 3;
  for (const RegValue& v : node.values)
    size += EscapedSize(v.name) + std::to_string(v.type).size() + 2 * v.data.size() + 5;
  for (const auto& [folded, child] : node.children) size += FormattedSize(*child, pathSize + 1 + EscapedSize(child->name));
  return size;
}

// Appended piece by piece, the path grown and cut back in place: every load of the module writes
// the whole tree again.
void FormatNode(const RegNode& node, std::string* path, std::string* out) {
  out->append("[").append(*path).append("]\n");
  for (const RegValue& v : node.values) {
    out->append("\"").append(Escape(v.name)).append("\"=").append(std::to_string(v.type)).append(":");
    for (char c : v.data) {
      *out += kHex[static_cast<unsigned char>(c) >> 4];
      *out += kHex[static_cast<unsigned char>(c) & 15];
    }
    *out += "\n";
  }
  const size_t length = path->size();
  for (const auto& [folded, child] : node.children) {
    path->append("\\").append(Escape(child->name));
    FormatNode(*child, path, out);
    path->resize(length);
  }
}

// Finds the keys of "[ROOT\A\B]" lines, making them when missing. A file has a header for every
// key, each usually the one before it and one name more, so the keys of the previous header's
// path are kept and only what follows the part both share is looked up.
class HeaderKeys {
 public:
  explicit HeaderKeys(const RegistryTree& tree) : tree_(tree) {}

  // The key of the header's inner text; null when its root is unknown, a name is invalid or the
  // key would lie deeper than the registry's 512 levels (only a damaged file says so, and a tree
  // without that bound has no bound on the work of writing it again).
  std::shared_ptr<RegNode> Find(std::string_view inner) {
    // A kept key still holds when the header starts with the text up to its end, and a name ends
    // there too. Usually the deepest one does: one comparison a header.
    while (!trail_.empty()) {
      const size_t end = trail_.back().end;
      if (end <= inner.size() && (end == inner.size() || inner[end] == '\\') &&
          inner.substr(0, end) == previous_.substr(0, end))
        break;
      trail_.pop_back();
    }
    previous_ = inner;
    if (trail_.empty()) {
      const size_t rootEnd = std::min(inner.find('\\'), inner.size());
      for (const auto& [handle, name] : kRootKeys)
        if (inner.substr(0, rootEnd) == name) trail_.push_back({rootEnd, tree_.Root(handle)});
      if (trail_.empty()) return nullptr;
    }
    for (size_t start = trail_.back().end + 1; start <= inner.size();) {
      const size_t end = std::min(inner.find('\\', start), inner.size());
      std::optional<std::string> name = Unescape(inner.substr(start, end - start));
      start = end + 1;
      // A backslash written as %5C cannot be part of a key's name: it separates keys.
      if (!name || name->empty() || name->find('\\') != std::string::npos) return nullptr;
      if (trail_.size() > kMaxDepth) return nullptr;  // the root is kept first, at depth 0
      const std::shared_ptr<RegNode>& parent = trail_.back().node;
      std::shared_ptr<RegNode> child = parent->Child(*name);
      trail_.push_back({end, child ? std::move(child) : parent->AddChild(*name)});
    }
    return trail_.back().node;
  }

 private:
  struct Kept {
    size_t end;  // where the key's name ends in previous_
    std::shared_ptr<RegNode> node;
  };
  const RegistryTree& tree_;
  std::string_view previous_;  // the text parsed stays alive while the keys are found
  std::vector<Kept> trail_;
};

// A '"name"=type:hex' line into `node`; false when it does not fit the form.
bool ParseValue(std::string_view line, RegNode* node) {
  size_t close = line.find('"', 1);
  if (close == std::string_view::npos || line.substr(close + 1, 1) != "=") return false;
  size_t colon = line.find(':', close + 2);
  if (colon == std::string_view::npos || colon == close + 2) return false;
  uint32_t type = 0;
  for (char c : line.substr(close + 2, colon - close - 2)) {
    if (c < '0' || c > '9' || type > 100000000) return false;
    type = type * 10 + static_cast<uint32_t>(c - '0');
  }
  std::optional<std::string> name = Unescape(line.substr(1, close - 1));
  std::optional<std::string> data = FromHex(line.substr(colon + 1));
  if (!name || !data) return false;
  node->SetValue(*name, type, std::move(*data));
  return true;
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) return true;
  struct stat st{};
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAllAndClose(int fd, const std::string& content) {
  size_t done = 0;
  bool ok = true;
  while (ok && done < content.size()) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  if (ok && fsync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

std::string RegistryFileLocation() {
  if (const char* file = std::getenv("QZR_REGISTRY_FILE")) return file;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/qzr_tc/registry.txt";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/qzr_tc/registry.txt";
  return {};
}

std::string FormatRegistry(const RegistryTree& tree) {
  std::string out = std::string(kSignature) + "\n";
  const auto roots = tree.NamedRoots();
  size_t size = out.size();
  for (const auto& [name, root] : roots) size += FormattedSize(*root, name.size());
  out.reserve(size);
  for (auto [name, root] : roots) FormatNode(*root, &name, &out);
  return out;
}

void ParseRegistry(const std::string& text, RegistryTree* tree) {
  HeaderKeys headers(*tree);
  std::shared_ptr<RegNode> current;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
      current = headers.Find(line.substr(1, line.size() - 2));
    else if (current && !line.empty() && line.front() == '"')
      ParseValue(line, current.get());
  }
}

RegistryLoad LoadRegistryFile(const std::string& path, RegistryTree* tree) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? RegistryLoad::kMissing : RegistryLoad::kUnreadable;
  std::string text;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (!ok) return RegistryLoad::kUnreadable;
  ParseRegistry(text, tree);
  return RegistryLoad::kLoaded;
}

bool SaveRegistryFile(const std::string& path, const RegistryTree& tree) {
  if (Faults::Check("RegistrySave", path)) return false;
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && !MakeFolders(path.substr(0, slash))) return false;
  std::string temporary = path + ".tmp";
  int fd = open(temporary.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (!WriteAllAndClose(fd, FormatRegistry(tree)) || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace qzr::posix
