#pragma once
// Helpers of the print tests: a widget application on the offscreen platform,
// temporary folders, and the poppler tools run on a PDF. Included by one test
// file per executable (it defines the leak checker's suppressions).
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

// fontconfig keeps a few bytes of its configuration past exit under Qt's font
// database; that is the library's, not a leak of the code under test.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace qmx::print_test {

namespace fs = std::filesystem;

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "print_test";
  static char* argv[] = {name, nullptr};
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Kept until the process ends: destroying it among the static objects at
  // exit would run after parts of Qt it needs are gone.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// A fresh folder, removed by the destructor.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "qmx_print_test_XXXXXX").string();
    if (::mkdtemp(tmpl.data()) != nullptr) path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return (fs::path(path_) / name).string(); }
  bool ok() const { return !path_.empty(); }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline bool HaveTool(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a command and returns its standard output ("" when it failed).
inline std::string RunTool(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  if (::pclose(pipe) != 0) return {};
  return out;
}

}  // namespace qmx::print_test
