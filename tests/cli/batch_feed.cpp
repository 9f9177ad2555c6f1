// batch_feed CASE QMXCLI: runs `qmxcli batch` with its standard input and output connected the
// way a live feed or a parent process leaves them, and checks how the command ends.
//   nonblocking     standard input a non-blocking pipe fed slowly: every record gets its row, exit 0
//   read_error      standard input a terminal whose other side closes mid-feed: the rows of the
//                   records read are written, then exit 1 naming standard input
//   stalled_writer  the output closed after the header while the input stays open: exit 1 within
//                   seconds, not a wait for more input
//   long_records    4000 records of 100 kB each: every row written with a peak memory far below
//                   what the records in flight would take if chunks were bounded by count only
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const kHeader = "dp,static_pressure,flowing_temperature,id\n";

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string Record(int i) { return "12000,3.5e6,295,r" + std::to_string(i) + "\n"; }

struct Child {
  pid_t pid = -1;
  int out = -1;  // its standard output
  int err = -1;  // its standard error
};

// Starts qmxcli batch with `in` as standard input; `close_in_child` is closed in the child.
Child Start(const char* qmxcli, int in, int close_in_child, bool ignore_sigpipe = false,
            std::vector<const char*> args = {"--threads", "2"}) {
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) {
    std::perror("pipe");
    std::exit(2);
  }
  Child c;
  c.pid = ::fork();
  if (c.pid < 0) {
    std::perror("fork");
    std::exit(2);
  }
  if (c.pid == 0) {
    ::signal(SIGPIPE, ignore_sigpipe ? SIG_IGN : SIG_DFL);
    ::dup2(in, 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    for (int fd : {in, out[0], out[1], err[0], err[1], close_in_child}) {
      if (fd > 2) ::close(fd);
    }
    std::vector<char*> argv{const_cast<char*>(qmxcli), const_cast<char*>("batch")};
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    argv.push_back(nullptr);
    ::execv(qmxcli, argv.data());
    _exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  c.out = out[0];
  c.err = err[0];
  return c;
}

// Reads a descriptor to its end, waiting at most `ms` in all.
std::string Drain(int fd, int ms) {
  std::string text;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  char buffer[4096];
  while (std::chrono::steady_clock::now() < until) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

// The exit status, or -1 when the child is still running after `ms` (it is then killed).
// `peak_kib` receives the child's peak resident memory.
int Wait(pid_t pid, int ms, long* peak_kib = nullptr) {
  int status = 0;
  for (int waited = 0; waited < ms; waited += 20) {
    rusage usage{};
    const pid_t r = ::wait4(pid, &status, WNOHANG, &usage);
    if (r == pid && peak_kib != nullptr) *peak_kib = usage.ru_maxrss;
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    Sleep(20);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return -1;
}

int Lines(const std::string& text) {
  int n = 0;
  for (char ch : text) n += ch == '\n' ? 1 : 0;
  return n;
}

int Fail(const std::string& why, const std::string& out, const std::string& err) {
  std::fprintf(stderr, "FAIL: %s\n--- stdout\n%s\n--- stderr\n%s\n", why.c_str(), out.c_str(), err.c_str());
  return 1;
}

int NonBlocking(const char* qmxcli) {
  int in[2];
  if (::pipe(in) != 0) return 2;
  ::fcntl(in[0], F_SETFL, ::fcntl(in[0], F_GETFL) | O_NONBLOCK);
  const Child c = Start(qmxcli, in[0], in[1]);
  ::close(in[0]);
  Sleep(300);  // the command finds no input yet
  WriteAll(in[1], kHeader);
  for (int i = 1; i <= 3; ++i) {
    Sleep(200);
    WriteAll(in[1], Record(i));
  }
  ::close(in[1]);
  const std::string out = Drain(c.out, 20000);
  const std::string err = Drain(c.err, 2000);
  const int status = Wait(c.pid, 20000);
  if (status != 0) return Fail("exit " + std::to_string(status) + ", want 0", out, err);
  if (Lines(out) != 4) return Fail(std::to_string(Lines(out)) + " lines, want header + 3", out, err);
  if (out.find(",r3,") == std::string::npos) return Fail("last record missing", out, err);
  return 0;
}

int ReadError(const char* qmxcli) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    std::puts("no pseudo-terminal: case skipped");
    return 0;
  }
  const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  if (slave < 0) return 2;
  termios raw{};
  ::tcgetattr(slave, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(slave, TCSANOW, &raw);
  const Child c = Start(qmxcli, master, slave);
  ::close(master);
  WriteAll(slave, std::string(kHeader) + Record(1) + Record(2));
  Sleep(700);   // the command has read both records
  ::close(slave);  // its reads now fail with EIO
  const std::string out = Drain(c.out, 20000);
  const std::string err = Drain(c.err, 2000);
  const int status = Wait(c.pid, 20000);
  if (status != 1) return Fail("exit " + std::to_string(status) + ", want 1", out, err);
  if (err.find("cannot read standard input: ") == std::string::npos) return Fail("message", out, err);
  if (Lines(out) != 3 || out.find(",r2,") == std::string::npos) return Fail("rows of the records read", out, err);
  return 0;
}

int StalledWriter(const char* qmxcli) {
  int in[2];
  if (::pipe(in) != 0) return 2;
  // As a parent that ignores SIGPIPE leaves it: the command sees EPIPE instead of dying.
  const Child c = Start(qmxcli, in[0], in[1], true);
  ::close(in[0]);
  WriteAll(in[1], kHeader);
  // Wait for the output header, then close the output.
  std::string head;
  char ch = 0;
  for (int i = 0; i < 4096 && ch != '\n'; ++i) {
    pollfd p{c.out, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0 || ::read(c.out, &ch, 1) != 1) break;
    head += ch;
  }
  if (head.empty() || head.back() != '\n') return Fail("no output header", head, Drain(c.err, 1000));
  ::close(c.out);
  std::string records;
  for (int i = 1; i <= 1100; ++i) records += Record(i);  // more than a chunk, so rows are written
  WriteAll(in[1], records);
  // The input stays open, as a live feed's does.
  const int status = Wait(c.pid, 10000);
  const std::string err = Drain(c.err, 1000);
  ::close(in[1]);
  if (status == -1) return Fail("still running 10 s after its output failed", "", err);
  if (status != 1) return Fail("exit " + std::to_string(status) + ", want 1", "", err);
  if (err.find("cannot write") == std::string::npos) return Fail("message", "", err);
  return 0;
}

int LongRecords(const char* qmxcli) {
  int in[2];
  if (::pipe(in) != 0) return 2;
  // A sanitizer's quarantine of freed memory would hide the bound this case checks.
  ::setenv("ASAN_OPTIONS", "quarantine_size_mb=8", 1);
  const Child c = Start(qmxcli, in[0], in[1], false, {"--threads", "2", "--out", "/dev/null"});
  ::close(in[0]);
  const int records = 4000;
  const std::string head = "dp,static_pressure,flowing_temperature,note\n";
  const std::string record = "12000,3.5e6,295," + std::string(100000, 'x') + "\n";
  bool fed = WriteAll(in[1], head);
  for (int i = 0; i < records && fed; ++i) fed = WriteAll(in[1], record);
  ::close(in[1]);
  const std::string out = Drain(c.out, 60000);
  const std::string err = Drain(c.err, 5000);
  long peak = 0;
  const int status = Wait(c.pid, 60000, &peak);
  if (!fed || status != 0) return Fail("exit " + std::to_string(status) + ", want 0", out, err);
  if (err.find("batch: 4000 records, 0 errors") == std::string::npos) return Fail("summary", out, err);
  // The input alone is 400 MB; chunks of 1024 records would hold several times that.
  if (peak > 300 * 1024) return Fail("peak memory " + std::to_string(peak / 1024) + " MiB", out, err);
  std::printf("peak memory %ld MiB\n", peak / 1024);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: batch_feed nonblocking|read_error|stalled_writer|long_records QMXCLI\n", stderr);
    return 2;
  }
  ::signal(SIGPIPE, SIG_IGN);  // a command that ended early must not end this check
  const std::string name = argv[1];
  if (name == "nonblocking") return NonBlocking(argv[2]);
  if (name == "read_error") return ReadError(argv[2]);
  if (name == "stalled_writer") return StalledWriter(argv[2]);
  if (name == "long_records") return LongRecords(argv[2]);
  std::fprintf(stderr, "unknown case %s\n", argv[1]);
  return 2;
}
