// qmxcli batch [KEY=VALUE ...] [--config FILE] [--in PATH|-] [--out PATH|-] [--jsonl]
// [--threads N] [--totals none|hour|day]: recalculates a file of measured records with the
// configuration calc takes. The input is read in chunks of records, computed by N workers (each
// with its own calculation state) and written in input order, with a bounded number of chunks in
// flight so that memory stays flat whatever the file size.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/batch.hpp"
#include "app/batch_io.hpp"
#include "app/display_units.hpp"
#include "calc_keys.hpp"
#include "command.hpp"
#include "json_out.hpp"
#include "numerics/error.hpp"
#include "reports/filesave.hpp"

namespace {

using namespace qmx;

constexpr std::size_t kChunkRecords = 1024;
// A chunk also ends once it holds this many input bytes, so that long records cannot make the
// chunks in flight large; a row slot keeps at most kRowKeepBytes and the output text at most
// kOutKeepBytes of memory between chunks.
constexpr std::uint64_t kChunkBytes = std::uint64_t{4} << 20;
constexpr std::size_t kRowKeepBytes = 4096;
constexpr std::size_t kOutKeepBytes = 2 * kChunkBytes;
// How long the reader waits for input on a pipe or terminal before it looks whether the run failed.
constexpr int kPollMs = 200;
constexpr unsigned kMaxThreads = 256;
constexpr std::size_t kMaxConfigBytes = std::size_t{1} << 20;

struct Options {
  std::vector<std::string> pairs;
  std::string config;
  std::string in = "-";
  std::string out = "-";
  bool jsonl = false;
  unsigned threads = 0;
  std::string totals = "none";
  std::string units;  // unit system of the output, empty for SI
};

// The KEY=VALUE lines of a configuration file: blank lines and lines starting with # skipped. Only a
// regular file of at most 1 MiB is read (a device or FIFO could feed it without end).
std::vector<std::string> ReadConfig(const std::string& path) {
  const std::string name = "\"" + path + "\"";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) throw cli::UsageError("--config: cannot read " + name + ": " + std::strerror(errno));
  struct CloseFd {
    int fd;
    ~CloseFd() { ::close(fd); }
  } closeFd{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw cli::UsageError("--config: cannot read " + name + ": " + std::strerror(errno));
  if (!S_ISREG(st.st_mode)) throw cli::UsageError("--config: " + name + " is not a regular file");
  if (static_cast<std::uint64_t>(st.st_size) > kMaxConfigBytes) {
    throw cli::UsageError("--config: " + name + " is larger than 1 MiB");
  }
  // One byte more than the limit is asked for, so that a file grown since fstat is noticed.
  std::string text(kMaxConfigBytes + 1, '\0');
  std::size_t got = 0;
  for (int tries = 0; tries < 1000 && got < text.size(); ++tries) {
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw cli::UsageError("--config: cannot read " + name + ": " + std::strerror(errno));
    }
    got += static_cast<std::size_t>(n);
  }
  if (got > kMaxConfigBytes) throw cli::UsageError("--config: " + name + " is larger than 1 MiB");
  text.resize(got);

  std::vector<std::string> pairs;
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    std::string_view line(text.data() + start, stop - start);
    start = stop + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    const std::size_t last = line.find_last_not_of(" \t");
    line = line.substr(first, last - first + 1);
    if (line.find('=') == std::string_view::npos) {
      throw cli::UsageError("--config: line " + std::to_string(number) + " of " + name + " is not KEY=VALUE: \"" +
                            std::string(line) + "\"");
    }
    pairs.emplace_back(line);
  }
  return pairs;
}

struct Chunk {
  std::uint64_t seq = 0;
  std::size_t count = 0;
  std::vector<BATCH::InputRow> rows;
  std::vector<BATCH::Results> results;
  std::vector<std::uint8_t> ok;
  std::string out;
};

// Gives back the memory of long records and of a large output text before a chunk is used again,
// so that a few long records early in a file do not keep their memory for the whole run.
void Recycle(Chunk& c) {
  for (std::size_t i = 0; i < c.count; ++i) {
    BATCH::InputRow& row = c.rows[i];
    std::size_t held = row.fields.capacity() * sizeof(std::string) + row.error.capacity();
    for (const std::string& field : row.fields) held += field.capacity();
    if (held > kRowKeepBytes) {
      std::vector<std::string>().swap(row.fields);
      std::string().swap(row.error);
    }
  }
  if (c.out.capacity() > kOutKeepBytes) std::string().swap(c.out);
}

// The queues between the reader, the workers and the writer. Chunks circulate: free -> work ->
// done (by sequence) -> free, so at most `chunks.size()` are ever in memory.
struct Pipeline {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::unique_ptr<Chunk>> chunks;
  std::deque<Chunk*> free, work;
  std::vector<Chunk*> done;  // slot seq % size
  std::uint64_t produced = 0;
  bool inputEnded = false;
  bool abort = false;
  std::atomic<bool> aborted{false};  // abort, for the reader waiting on input without the lock
  std::string failure;

  void Fail(std::string_view why) noexcept {
    {
      std::lock_guard lock(mutex);
      if (!abort) {
        try {
          failure.assign(why);
        } catch (...) {
          failure.clear();  // out of memory: the message stays short
        }
      }
      abort = true;
      aborted.store(true);
    }
    changed.notify_all();
  }
};

void Work(Pipeline& p, const std::vector<std::string>& pairs, const BATCH::InputLayout& layout, bool jsonl,
          const BATCH::DisplayUnits* units) {
  try {
    BATCH::Context context([&pairs] { cli::ApplyCalcKeys(pairs); });
    const BATCH::RowWriter writer(layout, jsonl, units);
    for (;;) {
      Chunk* c = nullptr;
      {
        std::unique_lock lock(p.mutex);
        p.changed.wait(lock, [&] { return p.abort || !p.work.empty() || p.inputEnded; });
        if (p.abort || p.work.empty()) return;
        c = p.work.front();
        p.work.pop_front();
      }
      c->out.clear();
      for (std::size_t i = 0; i < c->count; ++i) {
        BATCH::InputRow& row = c->rows[i];
        c->ok[i] = 0;
        if (row.error.empty()) {
          try {
            context.Compute(row.record, c->results[i]);
            c->ok[i] = 1;
          } catch (const Error& e) {
            row.error = e.message();
          } catch (const std::exception& e) {
            row.error = std::string("not calculated: ") + e.what();
          }
        }
        writer.Row(row, c->ok[i] != 0 ? &c->results[i] : nullptr, c->out);
      }
      {
        std::lock_guard lock(p.mutex);
        p.done[c->seq % p.done.size()] = c;
      }
      p.changed.notify_all();
    }
  } catch (const cli::UsageError& e) {
    p.Fail(e.what());
  } catch (const std::bad_alloc&) {
    p.Fail("out of memory computing the records");
  } catch (const Error& e) {
    try {
      p.Fail(e.module() + ": " + e.message() + " (" + std::to_string(e.code()) + ")");
    } catch (const std::exception&) {
      p.Fail(e.message());  // no memory to compose the message
    }
  } catch (const std::exception& e) {
    p.Fail(e.what());
  }
}

struct Summary {
  std::uint64_t records = 0, errors = 0, warnings = 0;
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Run(Options o) {
  const auto started = std::chrono::steady_clock::now();
  double period = 0.0;
  if (o.totals == "hour") {
    period = 3600.0;
  } else if (o.totals == "day") {
    period = 86400.0;
  } else if (o.totals != "none") {
    throw cli::UsageError("--totals: none, hour or day, not \"" + o.totals + "\"");
  }
  if (period > 0.0 && !o.jsonl && o.out == "-") {
    throw cli::UsageError(
        "--totals with CSV output needs --out PATH (the totals go to PATH.totals.csv), or --jsonl (totals rows "
        "with \"period\" after the records)");
  }
  if (period > 0.0 && !o.jsonl) {
    // The totals file is made beside the output, so the output must be a regular file (or a new one):
    // beside a device or a descriptor's name (/dev/stdout) it would fail after all the work, or land in /dev.
    struct stat st {};
    const bool named = o.out == "/dev/stdout" || o.out == "/dev/stderr" || o.out == "/dev/stdin" ||
                       o.out.rfind("/dev/fd/", 0) == 0 ||
                       (o.out.rfind("/proc/", 0) == 0 && o.out.find("/fd/") != std::string::npos);
    if (named || (::stat(o.out.c_str(), &st) == 0 && !S_ISREG(st.st_mode))) {
      throw cli::UsageError("--totals with CSV output writes PATH.totals.csv beside a regular output file; \"" +
                            o.out + "\" is not one: give --out a regular file, or use --jsonl for totals rows "
                            "in the stream");
    }
  }
  if (o.threads == 0) o.threads = std::max(1u, std::thread::hardware_concurrency());
  if (o.threads > kMaxThreads) throw cli::UsageError("--threads: at most " + std::to_string(kMaxThreads));

  std::vector<std::string> pairs;
  if (!o.config.empty()) pairs = ReadConfig(o.config);
  pairs.insert(pairs.end(), o.pairs.begin(), o.pairs.end());
  // Display units go through the same functions as calc's: the unit.* pairs are taken out of the
  // configuration, applied after the other keys, and the output takes the units the state then shows.
  const std::vector<std::string> unitPairs = cli::TakeUnitKeys(pairs);
  const bool display = !o.units.empty() || !unitPairs.empty();
  std::vector<int> chosenLists;
  for (const std::string& pair : unitPairs) {
    const std::size_t dot = pair.find('.');
    const std::size_t eq = pair.find('=');
    if (dot != std::string::npos && eq != std::string::npos && dot < eq) {
      chosenLists.push_back(QMXcalc::UnitListByKey(std::string_view(pair).substr(dot + 1, eq - dot - 1)));
    }
  }
  BATCH::DisplayUnits units;
  // The configuration is checked once here, so that a bad key or unit stops before any work.
  {
    BATCH::Context probe([&] {
      cli::ApplyCalcKeys(pairs);
      if (display) {
        cli::ApplyDisplayUnits(o.units, unitPairs);
        units = BATCH::StateDisplayUnits(!o.units.empty(), chosenLists);
      }
    });
  }
  const BATCH::DisplayUnits* shown = display ? &units : nullptr;

  const std::string inName = o.in == "-" ? "standard input" : "\"" + o.in + "\"";
  int inFd = 0;
  std::uint64_t inSize = 0;
  if (o.in != "-") {
    inFd = ::open(o.in.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (inFd < 0) throw cli::CommandFailure("cannot read " + inName + ": " + std::strerror(errno));
  }
  struct CloseIn {
    int fd;
    ~CloseIn() {
      if (fd > 0) ::close(fd);
    }
  } closeIn{inFd};
  bool regularIn = false;
  {
    struct stat st {};
    if (::fstat(inFd, &st) == 0) {
      if (S_ISDIR(st.st_mode)) throw cli::CommandFailure("cannot read " + inName + ": it is a folder");
      regularIn = S_ISREG(st.st_mode);
      if (regularIn && o.in != "-") inSize = static_cast<std::uint64_t>(st.st_size);
    }
  }

  Pipeline p;
  // A failed read ends the input and is kept here: the records read before it are still written,
  // then the run fails. A pipe or terminal is waited on with poll, so that a run that failed
  // elsewhere ends while no input comes, and a descriptor left non-blocking is waited on too.
  int readError = 0;
  BATCH::CsvReader reader([inFd, regularIn, &readError, &p](char* buffer, std::size_t n) -> std::size_t {
    if (readError != 0) return 0;
    bool wait = !regularIn;
    int interrupted = 0;
    // Ends with data, the end of the input, an error or a failed run; a live feed may wait long.
    for (;;) {
      if (wait) {
        pollfd ready{inFd, POLLIN, 0};
        const int r = ::poll(&ready, 1, kPollMs);
        if (p.aborted.load()) return 0;
        if (r == 0) continue;
        if (r < 0) {
          if (errno == EINTR && ++interrupted < 1000) continue;
          readError = errno;
          return 0;
        }
      }
      const ssize_t got = ::read(inFd, buffer, n);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        wait = true;
        continue;
      }
      if (errno == EINTR && ++interrupted < 1000) continue;
      readError = errno;
      return 0;
    }
  });
  auto readFailure = [&] { return "cannot read " + inName + ": " + std::strerror(readError); };

  std::vector<std::string> header;
  std::string error;
  if (!reader.Next(header, error)) {
    if (readError != 0) throw cli::CommandFailure(readFailure());
    throw cli::UsageError("no header row in \"" + o.in + "\"");
  }
  if (readError != 0) throw cli::CommandFailure(readFailure());
  if (!error.empty()) throw cli::UsageError("header row: " + error);
  BATCH::InputLayout layout;
  if (const std::string why = BATCH::ReadHeader(header, period > 0.0, layout); !why.empty()) {
    throw cli::UsageError(why);
  }

  FileSave::Stream sink;
  const std::string outPath = o.out == "-" ? "/dev/stdout" : o.out;
  if (const std::string why = sink.Open(outPath); !why.empty()) throw cli::CommandFailure(why);
  {
    std::string head;
    BATCH::RowWriter(layout, o.jsonl, shown).Header(head);
    if (const std::string why = sink.Write(head); !why.empty()) throw cli::CommandFailure(why);
  }

  const std::size_t chunkCount = 2 * static_cast<std::size_t>(o.threads) + 2;
  p.done.assign(chunkCount, nullptr);
  for (std::size_t i = 0; i < chunkCount; ++i) {
    auto c = std::make_unique<Chunk>();
    c->rows.resize(kChunkRecords);
    c->results.resize(kChunkRecords);
    c->ok.resize(kChunkRecords);
    p.free.push_back(c.get());
    p.chunks.push_back(std::move(c));
  }

  // The writer: chunks in sequence, totals, counts and the progress line.
  Summary summary;
  BATCH::TotalsAccumulator totals(period > 0.0 ? period : 1.0);
  std::vector<BATCH::PeriodTotals> periods;
  bool isoTimes = false;
  bool isoKnown = false;
  std::atomic<std::uint64_t> bytesRead{0};
  const bool progress = ::isatty(2) != 0;
  auto write = [&] {
    std::uint64_t next = 0;
    auto lastShown = std::chrono::steady_clock::now();
    for (;;) {
      Chunk* c = nullptr;
      {
        std::unique_lock lock(p.mutex);
        p.changed.wait(lock, [&] {
          return p.abort || p.done[next % chunkCount] != nullptr || (p.inputEnded && next == p.produced);
        });
        if (p.abort) return;
        c = p.done[next % chunkCount];
        if (c == nullptr) return;  // everything written
        p.done[next % chunkCount] = nullptr;
      }
      if (const std::string why = sink.Write(c->out); !why.empty()) {
        p.Fail(why);
        return;
      }
      for (std::size_t i = 0; i < c->count; ++i) {
        const BATCH::InputRow& row = c->rows[i];
        const BATCH::Results* r = c->ok[i] != 0 ? &c->results[i] : nullptr;
        ++summary.records;
        if (r == nullptr) ++summary.errors;
        if (r != nullptr && !r->warning.empty()) ++summary.warnings;
        if (period <= 0.0) continue;
        if (std::isnan(row.time)) {
          totals.AddUntimed(periods);
          continue;
        }
        if (!isoKnown && layout.time >= 0) {
          double t = 0.0;
          BATCH::ParseTime(row.fields[static_cast<std::size_t>(layout.time)], t, isoTimes);
          isoKnown = true;
        }
        totals.Add(row.time, row.duration, r, periods);
      }
      Recycle(*c);
      {
        std::lock_guard lock(p.mutex);
        p.free.push_back(c);
        ++next;
      }
      p.changed.notify_all();
      if (progress && std::chrono::steady_clock::now() - lastShown > std::chrono::milliseconds(500)) {
        lastShown = std::chrono::steady_clock::now();
        const double elapsed = Seconds(started);
        const double rate = elapsed > 0.0 ? static_cast<double>(summary.records) / elapsed : 0.0;
        std::string line = "\r" + std::to_string(summary.records) + " records, " +
                           std::to_string(static_cast<long long>(rate)) + " records/s";
        const std::uint64_t done = bytesRead.load();
        if (inSize > 0 && done > 0 && done <= inSize) {
          const double left = elapsed * static_cast<double>(inSize - done) / static_cast<double>(done);
          line += ", " + std::to_string(static_cast<long long>(left + 0.5)) + " s left";
        }
        line += "   ";
        std::fputs(line.c_str(), stderr);
      }
    }
  };

  // Threads that cannot be started, or an exception on any thread, fail the run through the
  // pipeline, so that every thread is joined before the failure is reported.
  std::vector<std::thread> workers;
  std::thread writerThread;
  try {
    for (unsigned i = 0; i < o.threads; ++i) {
      workers.emplace_back(Work, std::ref(p), std::cref(pairs), std::cref(layout), o.jsonl, shown);
    }
    writerThread = std::thread([&] {
      try {
        write();
      } catch (const std::bad_alloc&) {
        p.Fail("out of memory writing the output");
      } catch (const std::exception& e) {
        p.Fail(e.what());
      }
    });
  } catch (const std::exception& e) {
    p.Fail(e.what());  // the system error naming why a thread could not start
  }

  // The reader, on this thread.
  try {
    bool end = false;
    while (!end) {
      Chunk* c = nullptr;
      {
        std::unique_lock lock(p.mutex);
        p.changed.wait(lock, [&] { return p.abort || !p.free.empty(); });
        if (p.abort) break;
        c = p.free.front();
        p.free.pop_front();
      }
      c->count = 0;
      const std::uint64_t chunkStart = reader.BytesRead();
      while (c->count < kChunkRecords && reader.BytesRead() - chunkStart < kChunkBytes) {
        BATCH::InputRow& row = c->rows[c->count];
        if (!reader.Next(row.fields, error)) {
          end = true;
          break;
        }
        BATCH::ReadRow(layout, row);
        if (!error.empty()) row.error = error;
        // A record the failed read cut short gets its row, but is not calculated.
        if (readError != 0) row.error = "record cut short: " + readFailure();
        ++c->count;
      }
      bytesRead.store(reader.BytesRead());
      {
        std::lock_guard lock(p.mutex);
        if (c->count == 0) {
          p.free.push_back(c);
        } else {
          c->seq = p.produced++;
          p.work.push_back(c);
        }
      }
      p.changed.notify_all();
    }
  } catch (const std::bad_alloc&) {
    p.Fail("out of memory reading the input");
  } catch (const std::exception& e) {
    p.Fail(e.what());
  }
  {
    std::lock_guard lock(p.mutex);
    p.inputEnded = true;
  }
  p.changed.notify_all();
  for (std::thread& t : workers) t.join();
  if (writerThread.joinable()) writerThread.join();
  if (progress) std::fputs("\r\033[K", stderr);
  if (p.abort) throw cli::CommandFailure(p.failure.empty() ? "out of memory" : p.failure);
  // The rows of the records read are written; the output file is not replaced.
  if (readError != 0) throw cli::CommandFailure(readFailure());

  std::string totalsText;
  std::string totalsPath;
  if (period > 0.0) {
    totals.Finish(periods);
    if (!o.jsonl) BATCH::WriteTotalsHeader(totalsText, shown);
    for (const BATCH::PeriodTotals& t : periods) BATCH::WriteTotals(t, o.jsonl, isoTimes, totalsText, shown);
    if (o.jsonl) {
      if (const std::string why = sink.Write(totalsText); !why.empty()) throw cli::CommandFailure(why);
    }
  }
  if (const std::string why = sink.Commit(); !why.empty()) throw cli::CommandFailure(why);
  if (period > 0.0 && !o.jsonl) {
    totalsPath = o.out + ".totals.csv";
    if (const std::string why = FileSave::Replace(totalsPath, totalsText); !why.empty()) {
      throw cli::CommandFailure(why);
    }
  }
  const double elapsed = Seconds(started);
  char text[256];
  std::snprintf(text, sizeof text, "batch: %llu records, %llu errors, %llu warnings, %.3f s (%.0f records/s)\n",
                static_cast<unsigned long long>(summary.records), static_cast<unsigned long long>(summary.errors),
                static_cast<unsigned long long>(summary.warnings), elapsed,
                elapsed > 0.0 ? static_cast<double>(summary.records) / elapsed : 0.0);
  std::fputs(text, stderr);
  if (const std::uint64_t back = totals.StepsBack(); back > 0) {
    std::fprintf(stderr,
                 "batch: the time goes back at %llu record(s): a period can have more than one totals row, and "
                 "the record before each step back has no flow time\n",
                 static_cast<unsigned long long>(back));
  }
  if (o.out != "-") {
    nlohmann::json paths = {{"path", o.out}};
    if (!totalsPath.empty()) paths["totals_path"] = totalsPath;
    cli::PrintJson(paths);
  }
  if (summary.errors > 0) throw cli::PartialFailure("records with errors");
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("batch", "Recalculate a file of measured records (CSV in, CSV or JSON Lines out)");
  auto o = std::make_shared<Options>();
  sub->add_option("PAIRS", o->pairs, "KEY=VALUE configuration, as calc takes it (after --config)");
  sub->add_option("--config", o->config, "File of KEY=VALUE lines (# comments)");
  sub->add_option("--in", o->in, "Input CSV file, - for standard input (default)");
  sub->add_option("--out", o->out, "Output file, - for standard output (default)");
  sub->add_flag("--jsonl", o->jsonl, "JSON Lines output instead of CSV");
  sub->add_option("--threads", o->threads, "Worker threads (default: the number of cores)");
  sub->add_option("--totals", o->totals, "Per-period totals: none (default), hour or day");
  sub->add_option("--units", o->units, "Output units of the unit system: si, common, mks or us (default: SI)");
  sub->footer(
      "Input columns (a header row; a unit from the catalogue in brackets, as dp[inw], else SI):\n"
      "  time (ISO 8601 date-time or seconds; needed for --totals), dp, static_pressure or\n"
      "  upstream_pressure, flowing_temperature, and optionally frequency, duration_s and x.C1 ... x.Ar\n"
      "  (mole percent; an empty cell keeps the configured value). Other columns pass through.\n"
      "Output: one row per record in input order (error column when it cannot be computed), SI values\n"
      "with 17 significant digits, units in the CSV header. Summary on standard error; exit 0 when\n"
      "every record was computed, 3 when some have errors, 2 for a usage error before any work, 1 when\n"
      "the input cannot be read (the rows of the records read are written; --out PATH is left as it\n"
      "was) or the output written. --config: a regular file of at most 1 MiB.\n"
      "--totals: per hour or day (UTC) the mass, standard volume and energy, with flow-weighted\n"
      "averages; CSV totals go to OUT.totals.csv (needs --out naming a regular or new file), JSON Lines\n"
      "rows with \"period\" follow the records.\n"
      "Output units: without --units or unit.* keys every value is SI. With them, each column a chosen\n"
      "list governs (dp, pressures, temperature, mass, standard and actual volume flow, energy flow,\n"
      "densities) and the totals (mass, std volume, energy totals lists; averages as their columns) are\n"
      "converted, still with 17 significant digits, and the column's CSV header and JSON member name\n"
      "carry the unit in brackets, as mass_flow[kg/hr]. Input units stay in the input header.\n" +
      cli::DisplayUnitsHelp() + "\n" + cli::KeysHelp());
  sub->callback([o] { Run(*o); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
