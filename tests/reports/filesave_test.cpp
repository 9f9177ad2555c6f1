// Whole-file writes: permissions kept, links followed, devices and FIFOs written in
// place, folders refused, failures named with nothing lost or left behind, and new
// names claimed without ever overwriting a concurrent writer's file.
#include "reports/filesave.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using qmx::FileSave::CreateNew;
using qmx::FileSave::Replace;

class FileSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "qmx_filesave_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  std::string P(const std::string& name) const { return root_ + "/" + name; }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static mode_t Mode(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(root_)) names.insert(e.path().filename().string());
    return names;
  }
  std::string root_;
};

TEST_F(FileSaveTest, ReplacedFileKeepsItsPermissions) {
  for (mode_t mode : {0600, 0640, 0604, 0755}) {
    const std::string path = P("report.txt");
    Write(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    EXPECT_EQ(Replace(path, "new text"), "");
    EXPECT_EQ(Read(path), "new text");
    EXPECT_EQ(Mode(path) & 07777, mode) << std::oct << mode;
    EXPECT_EQ(Names(), std::set<std::string>{"report.txt"});
  }
}

TEST_F(FileSaveTest, NewFileTakesTheUmask) {
  for (mode_t mask : {022, 077, 002}) {
    const mode_t old = ::umask(mask);
    const std::string path = P("new" + std::to_string(mask) + ".txt");
    const std::string why = Replace(path, "x");
    ::umask(old);
    EXPECT_EQ(why, "");
    EXPECT_EQ(Mode(path) & 07777, 0666 & ~mask) << std::oct << mask;
  }
}

TEST_F(FileSaveTest, SymbolicLinksAreFollowed) {
  fs::create_directory(P("real"));
  Write(P("real/target.txt"), "old");
  ASSERT_EQ(::chmod(P("real/target.txt").c_str(), 0600), 0);
  fs::create_symlink("real/target.txt", P("relative"));
  fs::create_symlink(P("relative"), P("chain"));
  EXPECT_EQ(Replace(P("chain"), "through two links"), "");
  EXPECT_TRUE(S_ISLNK(Mode(P("chain"))));
  EXPECT_TRUE(S_ISLNK(Mode(P("relative"))));
  EXPECT_EQ(Read(P("real/target.txt")), "through two links");
  EXPECT_EQ(Mode(P("real/target.txt")) & 07777, 0600u);
  EXPECT_EQ(fs::directory_iterator(P("real"))->path().filename(), "target.txt");

  // A dangling link gets its target created.
  fs::create_symlink("real/later.txt", P("dangling"));
  EXPECT_EQ(Replace(P("dangling"), "created"), "");
  EXPECT_TRUE(S_ISLNK(Mode(P("dangling"))));
  EXPECT_EQ(Read(P("real/later.txt")), "created");

  // A loop of links is refused, naming the path.
  fs::create_symlink("loop_b", P("loop_a"));
  fs::create_symlink("loop_a", P("loop_b"));
  EXPECT_EQ(Replace(P("loop_a"), "x"),
            "cannot write \"" + P("loop_a") + "\": Too many levels of symbolic links");
}

TEST_F(FileSaveTest, FifoIsWrittenInPlace) {
  const std::string fifo = P("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Nobody reading: refused at once instead of waiting forever.
  EXPECT_EQ(Replace(fifo, "lost"), "cannot write \"" + fifo + "\": no process is reading it");
  std::string got;
  std::thread reader([&] { got = Read(fifo); });
  std::string why = "not tried";
  // The reader opens the FIFO in its own time; retry briefly until it does.
  for (int i = 0; i < 500; ++i) {
    why = Replace(fifo, "through the pipe");
    if (why.empty()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  reader.join();
  EXPECT_EQ(why, "");
  EXPECT_EQ(got, "through the pipe");
  EXPECT_TRUE(S_ISFIFO(Mode(fifo)));
}

TEST_F(FileSaveTest, DevicesAreWrittenWithoutReplacing) {
  EXPECT_EQ(Replace("/dev/null", "discarded"), "");
  EXPECT_TRUE(S_ISCHR(Mode("/dev/null")));
  // A full disk, also reached through a link: the reason names the given path.
  if (::access("/dev/full", W_OK) == 0) {
    EXPECT_EQ(Replace("/dev/full", "x"), "cannot write \"/dev/full\": No space left on device");
    fs::create_symlink("/dev/full", P("full"));
    EXPECT_EQ(Replace(P("full"), "x"), "cannot write \"" + P("full") + "\": No space left on device");
    EXPECT_TRUE(S_ISLNK(Mode(P("full"))));
    EXPECT_TRUE(S_ISCHR(Mode("/dev/full")));
  }
}

TEST_F(FileSaveTest, FolderIsRefused) {
  fs::create_directory(P("dir"));
  EXPECT_EQ(Replace(P("dir"), "x"), "cannot write \"" + P("dir") + "\": it is a folder");
  fs::create_symlink("dir", P("to_dir"));
  EXPECT_EQ(Replace(P("to_dir"), "x"), "cannot write \"" + P("to_dir") + "\": it is a folder");
  EXPECT_TRUE(fs::is_directory(P("dir")));
  EXPECT_EQ(Replace("", "x"), "no file name given");
}

TEST_F(FileSaveTest, MissingFolderNamesThePathAndLeavesNothing) {
  EXPECT_EQ(Replace(P("missing/r.txt"), "x"),
            "cannot create a file beside \"" + P("missing/r.txt") + "\": No such file or directory");
  std::string path = P("missing/r.csv");
  EXPECT_EQ(CreateNew(path, "x"),
            "cannot create a file beside \"" + P("missing/r.csv") + "\": No such file or directory");
  EXPECT_TRUE(Names().empty());
}

TEST_F(FileSaveTest, ReadOnlyFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  Write(P("locked.txt"), "keep");
  ASSERT_EQ(::chmod(P("locked.txt").c_str(), 0444), 0);
  EXPECT_EQ(Replace(P("locked.txt"), "x"), "cannot write \"" + P("locked.txt") + "\": Permission denied");
  EXPECT_EQ(Read(P("locked.txt")), "keep");
}

TEST_F(FileSaveTest, NewNamesNeverReplaceAnything) {
  Write(P("r.csv"), "first");
  fs::create_symlink(P("elsewhere"), P("r_2.csv"));
  std::string path = P("r.csv");
  EXPECT_EQ(CreateNew(path, "third"), "");
  EXPECT_EQ(path, P("r_3.csv"));
  EXPECT_EQ(Read(P("r.csv")), "first");
  EXPECT_FALSE(fs::exists(P("elsewhere")));
  EXPECT_EQ(Read(P("r_3.csv")), "third");
  EXPECT_EQ(Names(), (std::set<std::string>{"r.csv", "r_2.csv", "r_3.csv"}));

  // Every number taken: refused, naming the last one tried.
  path = P("r.csv");
  EXPECT_EQ(CreateNew(path, "x", 3), "cannot create \"" + P("r.csv") + "\": every name up to \"" +
                                         P("r_3.csv") + "\" is taken");
  EXPECT_EQ(Names().size(), 3u);
}

TEST_F(FileSaveTest, ConcurrentSavesAllKeepTheirFiles) {
  constexpr int kWriters = 20;
  std::vector<std::string> paths(kWriters, P("QMX_Report_7Dec26_953.csv"));
  std::vector<std::string> why(kWriters);
  std::vector<std::thread> threads;
  for (int i = 0; i < kWriters; ++i) {
    threads.emplace_back([&, i] { why[i] = CreateNew(paths[i], "report " + std::to_string(i)); });
  }
  for (auto& t : threads) t.join();
  std::set<std::string> distinct(paths.begin(), paths.end());
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kWriters));
  for (int i = 0; i < kWriters; ++i) {
    EXPECT_EQ(why[i], "");
    EXPECT_EQ(Read(paths[i]), "report " + std::to_string(i));
  }
  EXPECT_EQ(Names().size(), static_cast<std::size_t>(kWriters));
}

TEST_F(FileSaveTest, ConcurrentReplacementsLeaveOneWholeFile) {
  const std::string path = P("print.txt");
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&, i] { EXPECT_EQ(Replace(path, std::string(10000, char('a' + i))), ""); });
  }
  for (auto& t : threads) t.join();
  const std::string text = Read(path);
  ASSERT_EQ(text.size(), 10000u);
  EXPECT_EQ(text, std::string(10000, text[0]));
  EXPECT_EQ(Names(), std::set<std::string>{"print.txt"});
}

}  // namespace
