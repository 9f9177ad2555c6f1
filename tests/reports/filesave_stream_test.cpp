// Files written in pieces: replaced whole on Commit with their permissions kept, untouched when
// the stream is dropped before it, with no temporary file left either way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <fstream>
#include <sstream>

#include "reports/filesave.hpp"

namespace {

namespace fs = std::filesystem;

class FileSaveStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "qmx_stream_XXXXXX").string();
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
  std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(root_), {})); }
  std::string root_;
};

TEST_F(FileSaveStreamTest, CommitReplacesWholeAndKeepsTheMode) {
  { std::ofstream(P("out.csv")) << "earlier"; }
  ::chmod(P("out.csv").c_str(), 0640);
  qmx::FileSave::Stream s;
  ASSERT_EQ(s.Open(P("out.csv")), "");
  ASSERT_EQ(s.Write("a,b\n"), "");
  EXPECT_EQ(Read(P("out.csv")), "earlier");  // nothing shows before Commit
  ASSERT_EQ(s.Write("1,2\n"), "");
  ASSERT_EQ(s.Commit(), "");
  EXPECT_EQ(Read(P("out.csv")), "a,b\n1,2\n");
  struct stat st {};
  ASSERT_EQ(::stat(P("out.csv").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileSaveStreamTest, DroppedStreamLeavesTheEarlierFile) {
  { std::ofstream(P("out.csv")) << "earlier"; }
  {
    qmx::FileSave::Stream s;
    ASSERT_EQ(s.Open(P("out.csv")), "");
    ASSERT_EQ(s.Write("partial"), "");
  }
  EXPECT_EQ(Read(P("out.csv")), "earlier");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileSaveStreamTest, FolderAndMissingFolderAreRefused) {
  qmx::FileSave::Stream a;
  EXPECT_NE(a.Open(root_).find("it is a folder"), std::string::npos);
  qmx::FileSave::Stream b;
  EXPECT_NE(b.Open(P("no/such/out.csv")), "");
  qmx::FileSave::Stream c;
  ASSERT_EQ(c.Open("/dev/full"), "");
  EXPECT_NE(c.Write("x").find("/dev/full"), std::string::npos);
}

}  // namespace
