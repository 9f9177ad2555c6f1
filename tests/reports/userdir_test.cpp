// Per-user folders: XDG resolution, creation of missing folders, refusal of
// folders that cannot be created.
#include "reports/userdir.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace qmx::UserDir;

// A temporary HOME and a fake environment for the duration of a test.
class UserDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "qmx_userdir_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    vars_["HOME"] = root_ + "/home";
    fs::create_directories(vars_["HOME"]);
    env_.emplace([this](std::string_view name) -> std::optional<std::string> {
      auto it = vars_.find(std::string(name));
      if (it == vars_.end()) return std::nullopt;
      return it->second;
    });
  }
  void TearDown() override {
    env_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  std::string Folder(int kind) {
    std::string path = "stale";
    EXPECT_TRUE(GetUserFolder(kind, path));
    return path;
  }
  std::string root_;
  std::map<std::string, std::string> vars_;
  std::optional<ScopedEnvironment> env_;
};

TEST_F(UserDirTest, DefaultsUnderHomeAreCreated) {
  const std::string home = vars_["HOME"];
  EXPECT_EQ(Folder(kAppData), home + "/.local/share/qmx/");
  EXPECT_EQ(Folder(kDocuments), home + "/Documents/");
  EXPECT_TRUE(fs::is_directory(home + "/.local/share/qmx"));
  EXPECT_TRUE(fs::is_directory(home + "/Documents"));
}

TEST_F(UserDirTest, XdgVariablesWin) {
  vars_["XDG_DATA_HOME"] = root_ + "/data/";
  vars_["XDG_DOCUMENTS_DIR"] = root_ + "/docs";
  EXPECT_EQ(Folder(kAppData), root_ + "/data/qmx/");
  EXPECT_EQ(Folder(kDocuments), root_ + "/docs/");
  EXPECT_TRUE(fs::is_directory(root_ + "/docs"));
}

TEST_F(UserDirTest, RelativeXdgValuesAreIgnored) {
  vars_["XDG_DATA_HOME"] = "relative/data";
  vars_["XDG_DOCUMENTS_DIR"] = "";
  EXPECT_EQ(Folder(kAppData), vars_["HOME"] + "/.local/share/qmx/");
  EXPECT_EQ(Folder(kDocuments), vars_["HOME"] + "/Documents/");
}

TEST_F(UserDirTest, DocumentsFromUserDirsFile) {
  const std::string home = vars_["HOME"];
  fs::create_directories(home + "/.config");
  {
    std::ofstream f(home + "/.config/user-dirs.dirs");
    f << "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
  }
  EXPECT_EQ(Folder(kDocuments), home + "/Dokumente/");

  // XDG_CONFIG_HOME moves the file; an absolute path is taken as it stands.
  vars_["XDG_CONFIG_HOME"] = root_ + "/cfg";
  fs::create_directories(root_ + "/cfg");
  {
    std::ofstream f(root_ + "/cfg/user-dirs.dirs");
    f << "XDG_DOCUMENTS_DIR=\"" << root_ << "/papers\"\n";
  }
  EXPECT_EQ(Folder(kDocuments), root_ + "/papers/");
}

TEST_F(UserDirTest, FolderThatCannotBeCreatedIsRefused) {
  // A regular file where a folder should be: no user, root included, can create it.
  { std::ofstream f(root_ + "/file"); }
  vars_["XDG_DATA_HOME"] = root_ + "/file/data";
  std::string path = "stale";
  EXPECT_FALSE(GetUserFolder(kAppData, path));
  EXPECT_EQ(path, "");
  vars_["HOME"] = root_ + "/file";
  EXPECT_FALSE(GetUserFolder(kDocuments, path));
}

TEST_F(UserDirTest, MissingHomeOrUnknownKindIsRefused) {
  std::string path;
  EXPECT_FALSE(GetUserFolder(7, path));
  vars_.erase("HOME");
  EXPECT_FALSE(GetUserFolder(kAppData, path));
  vars_["HOME"] = "relative";
  EXPECT_FALSE(GetUserFolder(kDocuments, path));
}

TEST_F(UserDirTest, ReadOnlyFolderIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const std::string docs = root_ + "/ro";
  fs::create_directories(docs);
  fs::permissions(docs, fs::perms::owner_read | fs::perms::owner_exec);
  vars_["XDG_DOCUMENTS_DIR"] = docs;
  std::string path;
  EXPECT_FALSE(GetUserFolder(kDocuments, path));
  fs::permissions(docs, fs::perms::owner_all);
}

}  // namespace
