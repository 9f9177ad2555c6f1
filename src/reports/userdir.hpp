#pragma once
// Per-user folders on Linux, after the XDG base-directory and user-dirs
// conventions: kind 26 is the application-data folder (print and table files),
// kind 5 the documents folder (comma-separated reports).
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qmx::UserDir {

inline constexpr int kAppData = 26;
inline constexpr int kDocuments = 5;
// The program's own folder inside the data home.
inline constexpr std::string_view kAppFolder = "qmx";

// Reads one environment variable; nullopt when it is not set.
using Environment = std::function<std::optional<std::string>(std::string_view name)>;
// Installs an environment for this thread; an empty function restores the process environment.
void SetEnvironment(Environment env);

// Installs an environment for the lifetime of the object and restores the previous one.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(Environment env);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  Environment previous_;
};

// The folder of the kind as an absolute path ending in "/", without touching it;
// nullopt for an unknown kind or when no absolute HOME is set.
std::optional<std::string> FolderPath(int kind);

// Fills path with the folder of the kind, ending in "/", creating it when missing.
// False when the folder cannot be found, created or written; path is then empty and
// why (when given) receives the reason, naming the folder and the system's cause.
bool GetUserFolder(int kind, std::string& path, std::string* why = nullptr);

}  // namespace qmx::UserDir
