// Fuzzes report saving into a temporary folder: header texts and names from the input, the
// text or comma-separated form, replacing a file (also through a link, or a FIFO without a
// reader) or claiming a new name. Whatever is saved must read back as the report's text, and
// no temporary file may be left behind.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "numerics/error.hpp"
#include "reports/report.hpp"
#include "reports/userdir.hpp"

namespace {

namespace fs = std::filesystem;

const std::string& Folder() {
  static const std::string folder = [] {
    std::string tmpl = (fs::temp_directory_path() / "qmx_fuzz_save_XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    return tmpl;
  }();
  return folder;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Takes the next text of the input, up to a zero byte.
std::string Take(const std::uint8_t*& p, const std::uint8_t* end) {
  std::string text;
  while (p < end && *p != 0 && text.size() < 200) text.push_back(static_cast<char>(*p++));
  if (p < end) ++p;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string& root = Folder();
  // Start each input from an empty folder, so a failing input reproduces on its own.
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(root, ec)) fs::remove_all(e.path(), ec);
  qmx::UserDir::ScopedEnvironment env([&root](std::string_view name) -> std::optional<std::string> {
    if (name == "HOME") return root;
    return std::nullopt;
  });

  const std::uint8_t mode = data[0];
  const std::uint8_t* p = data + 1;
  const std::uint8_t* end = data + size;
  qmx::Report::ReportData d;
  d.company = Take(p, end);
  d.location = Take(p, end);
  d.well = Take(p, end);
  d.meter_tag = Take(p, end);
  d.prepared_by = Take(p, end);
  d.fluid = static_cast<qmx::Report::Fluid>(mode % 7);
  const bool csv = (mode & 0x08) != 0;
  // A file name from the input, kept inside the folder.
  std::string name = Take(p, end);
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  if (name.empty() || name == "." || name == "..") name = "report.txt";
  // Names of temporary files are what the check below looks for.
  if (name.ends_with(".tmp")) name += "_";
  const std::string path = root + "/" + name;
  const std::string text = qmx::Report::ReportText(csv, d);

  try {
    switch ((mode >> 4) % 4) {
      case 0:  // a new file, or a replacement of an earlier one
        qmx::Report::SaveReport(csv, path, d);
        if (Read(path) != text) __builtin_trap();
        qmx::Report::SaveReport(csv, path, d);
        if (Read(path) != text) __builtin_trap();
        break;
      case 1: {  // through a symbolic link
        const std::string link = root + "/link";
        ::symlink(name.c_str(), link.c_str());
        qmx::Report::SaveReport(csv, link, d);
        if (Read(path) != text) __builtin_trap();
        break;
      }
      case 2: {  // a FIFO without a reader is refused at once
        ::mkfifo(path.c_str(), 0600);
        qmx::Report::SaveReport(csv, path, d);
        break;
      }
      default: {  // new names claimed one after another
        std::string first;
        qmx::Report::GetCSVpath(first);
        std::string a = first, b = first;
        qmx::Report::SaveNewReport(csv, a, d);
        qmx::Report::SaveNewReport(csv, b, d);
        if (a == b || Read(a) != text || Read(b) != text) __builtin_trap();
        break;
      }
    }
  } catch (const qmx::Error&) {
  }
  // No temporary file is ever left behind.
  for (const auto& e : fs::recursive_directory_iterator(root, ec)) {
    if (e.path().extension() == ".tmp") __builtin_trap();
  }
  return 0;
}
