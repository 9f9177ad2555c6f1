#pragma once
// Writing whole text files without ever destroying what was there: a regular file
// is replaced by rename from a temporary file in its folder (keeping its mode and
// owner), a symbolic link is followed, a device or FIFO is written in place, and a
// new name is claimed atomically so concurrent writers never overwrite each other.
#include <string>
#include <string_view>

namespace qmx::FileSave {

// Writes text to path. A regular file (or the file at the end of a chain of
// symbolic links) is replaced whole or not at all and keeps its permissions; a
// new file gets 0666 less the umask; a character device, FIFO or socket is
// written directly; a directory is refused. Returns an empty text on success,
// otherwise the reason, naming the path and the system's cause; a failure leaves
// the earlier file and no temporary file behind.
std::string Replace(const std::string& path, std::string_view text);

// Writes text under a name nobody else holds: path itself, or when that name is
// taken "<stem>_2<ext>", "<stem>_3<ext>" ... up to "<stem>_<max_number><ext>". The name
// is claimed atomically, so writers at the same moment all keep their files.
// path receives the name used. Returns an empty text on success, otherwise the
// reason; nothing is left behind on failure.
std::string CreateNew(std::string& path, std::string_view text, int max_number = 1000);

// Writes a file too large to hold in memory, in pieces, with the guarantee of Replace: a
// regular file is written beside the target and renamed over it by Commit, so that a failure
// at any point (or a Stream destroyed without Commit) leaves the earlier file and no temporary
// file; a device, FIFO or open descriptor ("/dev/stdout") is written directly.
class Stream {
 public:
  Stream() = default;
  ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  // Each returns an empty text on success, otherwise the reason naming the path.
  std::string Open(const std::string& path);
  std::string Write(std::string_view text);
  std::string Commit();

 private:
  std::string path_, target_, temp_;
  int fd_ = -1;
  bool ownFd_ = false;  // the descriptor was opened here (not a named descriptor)
};

}  // namespace qmx::FileSave
