#include "reports/filesave.hpp"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace qmx::FileSave {
namespace {

constexpr int kMaxLinkHops = 40;    // as the kernel's own limit on symbolic links
constexpr int kMaxTempTries = 100;  // random temporary names tried before giving up

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string Cause(int err) { return std::error_code(err, std::generic_category()).message(); }

std::string Reason(std::string_view what, const std::string& path, int err) {
  return std::string(what) + " " + Quoted(path) + ": " + Cause(err);
}

// The folder part of a path, ending in "/", or "" for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomSuffix() {
  thread_local std::mt19937_64 engine{(static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                      static_cast<std::uint64_t>(::getpid())};
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string s(8, 'x');
  for (char& c : s) c = kChars[engine() % (sizeof(kChars) - 1)];
  return s;
}

// A temporary file beside the target, removed on destruction unless released.
class Temp {
 public:
  ~Temp() { Discard(); }
  // Creates the file exclusively with the mode (the umask applies); 0 or errno.
  int Open(const std::string& target, mode_t mode) {
    const std::string folder = FolderOf(target);
    // Hidden, and short enough for any file-name limit.
    const std::string name = "." + NameOf(target).substr(0, 200) + ".";
    int err = EEXIST;
    for (int i = 0; i < kMaxTempTries && err == EEXIST; ++i) {
      path_ = folder + name + RandomSuffix() + ".tmp";
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
      err = fd_ >= 0 ? 0 : errno;
    }
    if (err != 0) path_.clear();
    return err;
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Closes the descriptor; 0 or errno.
  int Close() {
    int err = 0;
    if (fd_ >= 0 && ::close(fd_) != 0) err = errno;
    fd_ = -1;
    return err;
  }
  // The file now lives under another name (renamed) and must not be removed.
  void Release() { path_.clear(); }
  void Discard() {
    Close();
    if (!path_.empty()) ::unlink(path_.c_str());
    path_.clear();
  }

 private:
  int fd_ = -1;
  std::string path_;
};

// Writes all of text; 0 or errno.
int WriteAll(int fd, std::string_view text) {
  std::size_t done = 0;
  // Each pass writes at least one byte or fails; EINTR retries are bounded too.
  for (int tries = 0; done < text.size() && tries < 1000000; ++tries) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    done += static_cast<std::size_t>(n);
  }
  return done == text.size() ? 0 : EIO;
}

// Makes a rename or link in the folder durable; a folder that cannot be synced is no failure.
void SyncFolder(const std::string& path) {
  const std::string folder = FolderOf(path);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// Writes text into the temporary file, flushed to disk and closed; 0 or errno.
int Fill(Temp& tmp, std::string_view text) {
  int err = WriteAll(tmp.fd(), text);
  if (err == 0 && ::fsync(tmp.fd()) != 0) err = errno;
  const int closed = tmp.Close();
  return err != 0 ? err : closed;
}

// Writes into an existing file that is not a regular file (a device, FIFO or an
// open descriptor named through /proc), without creating or renaming anything;
// messages name path, the name the caller gave.
std::string WriteInPlace(const std::string& file, const std::string& path, std::string_view text) {
  // A FIFO without a reader would block forever: open without waiting.
  const int fd = ::open(file.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENXIO) return "cannot write " + Quoted(path) + ": no process is reading it";
    return Reason("cannot open", path, errno);
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  int err = WriteAll(fd, text);
  if (::close(fd) != 0 && err == 0) err = errno;
  return err == 0 ? std::string() : Reason("cannot write", path, err);
}

// The file at the end of a chain of symbolic links from path (path itself when it
// is no link). exists tells whether it is there; via_proc is set when the chain
// enters /proc, whose links name open descriptors rather than paths.
int Resolve(const std::string& path, std::string& target, struct stat& st, bool& exists,
            bool& via_proc) {
  target = path;
  exists = false;
  via_proc = false;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(st.st_mode)) {
      exists = true;
      return 0;
    }
    if (target.rfind("/proc/", 0) == 0) {
      via_proc = true;
      return 0;
    }
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) >= sizeof buffer) return ENAMETOOLONG;
    std::string link(buffer, static_cast<std::size_t>(n));
    target = (!link.empty() && link.front() == '/') ? link : FolderOf(target) + link;
  }
  return ELOOP;
}

// The descriptor a path names when it is one of the process's own open files
// ("/dev/stdout", "/dev/fd/3", "/proc/self/fd/3"), else -1: such a file is written
// through the open descriptor so that its position is shared with the caller.
int NamedDescriptor(const std::string& path) {
  if (path == "/dev/stdin") return 0;
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (std::string_view prefix : {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/")}) {
    if (path.size() <= prefix.size() || path.size() > prefix.size() + 6 ||
        path.compare(0, prefix.size(), prefix) != 0)
      continue;
    int fd = 0;
    for (std::size_t i = prefix.size(); i < path.size(); ++i) {
      if (path[i] < '0' || path[i] > '9') return -1;
      fd = fd * 10 + (path[i] - '0');
    }
    return fd;
  }
  return -1;
}

}  // namespace

std::string Replace(const std::string& path, std::string_view text) {
  if (path.empty()) return "no file name given";
  if (const int fd = NamedDescriptor(path); fd >= 0) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Reason("cannot write", path, errno);
    if (S_ISDIR(st.st_mode)) return "cannot write " + Quoted(path) + ": it is a folder";
    const int err = WriteAll(fd, text);
    return err == 0 ? std::string() : Reason("cannot write", path, err);
  }
  std::string target;
  struct stat st {};
  bool exists = false;
  bool via_proc = false;
  if (int err = Resolve(path, target, st, exists, via_proc); err != 0)
    return Reason("cannot write", path, err);
  // A link that names an open descriptor ("pipe:[...]") resolves to no path, yet opens.
  struct stat opened {};
  if (!exists && !via_proc && ::stat(path.c_str(), &opened) == 0) via_proc = true;
  if (via_proc) {
    if (::stat(path.c_str(), &st) != 0) return Reason("cannot write", path, errno);
    if (S_ISDIR(st.st_mode)) return "cannot write " + Quoted(path) + ": it is a folder";
    return WriteInPlace(path, path, text);
  }
  if (exists && S_ISDIR(st.st_mode)) return "cannot write " + Quoted(path) + ": it is a folder";
  if (exists && !S_ISREG(st.st_mode)) return WriteInPlace(target, path, text);
  // A file the user may not write is not replaced behind its back.
  if (exists && ::access(target.c_str(), W_OK) != 0) return Reason("cannot write", path, errno);

  Temp tmp;
  if (int err = tmp.Open(target, exists ? 0600 : 0666); err != 0)
    return Reason("cannot create a file beside", path, err);
  if (exists) {
    // Owner first: a change of owner clears the set-id bits that the mode then restores.
    [[maybe_unused]] const int owned = ::fchown(tmp.fd(), st.st_uid, st.st_gid);
    ::fchmod(tmp.fd(), st.st_mode & 07777);
  }
  if (int err = Fill(tmp, text); err != 0) return Reason("cannot write", path, err);
  if (::rename(tmp.path().c_str(), target.c_str()) != 0) return Reason("cannot replace", path, errno);
  tmp.Release();
  SyncFolder(target);
  return {};
}

std::string CreateNew(std::string& path, std::string_view text, int max_number) {
  if (path.empty()) return "no file name given";
  const std::string folder = FolderOf(path);
  const std::string name = NameOf(path);
  const std::size_t dot = name.rfind('.');
  const std::string ext = (dot == std::string::npos || dot == 0) ? std::string() : name.substr(dot);
  const std::string stem = folder + name.substr(0, name.size() - ext.size());

  Temp tmp;
  if (int err = tmp.Open(path, 0666); err != 0) return Reason("cannot create a file beside", path, err);
  if (int err = Fill(tmp, text); err != 0) return Reason("cannot write", path, err);

  for (int k = 1; k <= max_number; ++k) {
    const std::string candidate = k == 1 ? path : stem + "_" + std::to_string(k) + ext;
    // link() never replaces an existing name: whoever links first owns it.
    if (::link(tmp.path().c_str(), candidate.c_str()) == 0) {
      tmp.Discard();
      SyncFolder(candidate);
      path = candidate;
      return {};
    }
    const int err = errno;
    if (err == EEXIST) continue;
    if (err != EPERM && err != EOPNOTSUPP && err != EXDEV && err != EMLINK && err != ENOSYS)
      return Reason("cannot create", candidate, err);
    // A file system without hard links: claim the name with an exclusive create,
    // then move the written file over the empty claim.
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return Reason("cannot create", candidate, errno);
    }
    ::close(fd);
    if (::rename(tmp.path().c_str(), candidate.c_str()) != 0) {
      const int rename_err = errno;
      ::unlink(candidate.c_str());
      return Reason("cannot create", candidate, rename_err);
    }
    tmp.Release();
    SyncFolder(candidate);
    path = candidate;
    return {};
  }
  return "cannot create " + Quoted(path) + ": every name up to " +
         Quoted(stem + "_" + std::to_string(max_number) + ext) + " is taken";
}

Stream::~Stream() {
  if (ownFd_ && fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

std::string Stream::Open(const std::string& path) {
  if (path.empty()) return "no file name given";
  path_ = path;
  if (const int fd = NamedDescriptor(path); fd >= 0) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Reason("cannot write", path, errno);
    if (S_ISDIR(st.st_mode)) return "cannot write " + Quoted(path) + ": it is a folder";
    fd_ = fd;
    return {};
  }
  struct stat st {};
  bool exists = false;
  bool via_proc = false;
  if (int err = Resolve(path, target_, st, exists, via_proc); err != 0) return Reason("cannot write", path, err);
  struct stat opened {};
  if (!exists && !via_proc && ::stat(path.c_str(), &opened) == 0) via_proc = true;
  if (via_proc) {
    if (::stat(path.c_str(), &st) != 0) return Reason("cannot write", path, errno);
    exists = true;
    target_ = path;
  }
  if (exists && S_ISDIR(st.st_mode)) return "cannot write " + Quoted(path) + ": it is a folder";
  if (exists && !S_ISREG(st.st_mode)) {
    // A FIFO is opened waiting for its reader: the stream has nothing else to do meanwhile.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return Reason("cannot open", path, errno);
    ownFd_ = true;
    return {};
  }
  if (exists && ::access(target_.c_str(), W_OK) != 0) return Reason("cannot write", path, errno);
  Temp tmp;
  if (int err = tmp.Open(target_, exists ? 0600 : 0666); err != 0) {
    return Reason("cannot create a file beside", path, err);
  }
  if (exists) {
    [[maybe_unused]] const int owned = ::fchown(tmp.fd(), st.st_uid, st.st_gid);
    ::fchmod(tmp.fd(), st.st_mode & 07777);
  }
  // The temporary file is owned here from now on.
  fd_ = ::dup(tmp.fd());
  if (fd_ < 0) return Reason("cannot write", path, errno);
  ownFd_ = true;
  temp_ = tmp.path();
  tmp.Close();
  tmp.Release();
  return {};
}

std::string Stream::Write(std::string_view text) {
  if (fd_ < 0) return "cannot write " + Quoted(path_) + ": not open";
  const int err = WriteAll(fd_, text);
  return err == 0 ? std::string() : Reason("cannot write", path_, err);
}

std::string Stream::Commit() {
  if (fd_ < 0) return "cannot write " + Quoted(path_) + ": not open";
  if (temp_.empty()) {
    // Written in place: a device or descriptor has nothing to rename.
    int err = 0;
    if (ownFd_ && ::close(fd_) != 0) err = errno;
    fd_ = -1;
    return err == 0 ? std::string() : Reason("cannot write", path_, err);
  }
  int err = ::fsync(fd_) != 0 ? errno : 0;
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err != 0) return Reason("cannot write", path_, err);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return Reason("cannot replace", path_, errno);
  temp_.clear();
  SyncFolder(target_);
  return {};
}

}  // namespace qmx::FileSave
