#include "reports/userdir.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace qmx::UserDir {
namespace {

thread_local Environment t_env;

std::optional<std::string> Get(std::string_view name) {
  if (t_env) return t_env(name);
  const char* v = std::getenv(std::string(name).c_str());
  if (v == nullptr) return std::nullopt;
  return std::string(v);
}

// An XDG variable counts only when set to an absolute path.
std::optional<std::string> Absolute(std::optional<std::string> v) {
  if (v && !v->empty() && v->front() == '/') return v;
  return std::nullopt;
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs: a line XDG_DOCUMENTS_DIR="$HOME/Documents"
// or with an absolute path; anything else in the file is ignored.
std::optional<std::string> DocumentsFromUserDirs(const std::string& home) {
  std::string config = Absolute(Get("XDG_CONFIG_HOME")).value_or(home + "/.config");
  std::ifstream in(config + "/user-dirs.dirs");
  if (!in) return std::nullopt;
  constexpr std::string_view key = "XDG_DOCUMENTS_DIR=";
  std::string line;
  for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
      value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/'))
      value = home + value.substr(5);
    if (!value.empty() && value.front() == '/') return value;
  }
  return std::nullopt;
}

}  // namespace

void SetEnvironment(Environment env) { t_env = std::move(env); }

ScopedEnvironment::ScopedEnvironment(Environment env) : previous_(std::move(t_env)) {
  t_env = std::move(env);
}
ScopedEnvironment::~ScopedEnvironment() { t_env = std::move(previous_); }

std::optional<std::string> FolderPath(int kind) {
  std::optional<std::string> home = Absolute(Get("HOME"));
  if (!home) return std::nullopt;
  while (home->size() > 1 && home->back() == '/') home->pop_back();
  if (kind == kAppData) {
    std::string data = Absolute(Get("XDG_DATA_HOME")).value_or(*home + "/.local/share");
    return WithSlash(WithSlash(data) + std::string(kAppFolder));
  }
  if (kind == kDocuments) {
    if (auto env = Absolute(Get("XDG_DOCUMENTS_DIR"))) return WithSlash(*env);
    if (auto dirs = DocumentsFromUserDirs(*home)) return WithSlash(*dirs);
    return WithSlash(*home + "/Documents");
  }
  return std::nullopt;
}

bool GetUserFolder(int kind, std::string& path, std::string* why) {
  path.clear();
  auto fail = [why](std::string reason) {
    if (why != nullptr) *why = std::move(reason);
    return false;
  };
  std::optional<std::string> folder = FolderPath(kind);
  if (!folder) {
    if (kind != kAppData && kind != kDocuments) return fail("unknown folder kind " + std::to_string(kind));
    return fail("HOME is not set to an absolute path");
  }
  std::error_code ec;
  std::filesystem::create_directories(*folder, ec);
  if (ec) return fail("cannot create \"" + *folder + "\": " + ec.message());
  std::error_code dir_ec;
  if (!std::filesystem::is_directory(*folder, dir_ec))
    return fail("\"" + *folder + "\" is not a folder");
  if (::access(folder->c_str(), W_OK | X_OK) != 0)
    return fail("cannot write in \"" + *folder + "\": " +
                std::error_code(errno, std::generic_category()).message());
  path = std::move(*folder);
  return true;
}

}  // namespace qmx::UserDir
