#include "fuzz/harness.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "records/records.hpp"

namespace fuzz {

namespace {

// Thrown by the ending handler in place of exit(0) / abort(). Deliberately
// not derived from std::exception, so no library handler can swallow it.
struct ProgramEnded {
  rec::Ending how;
};

void throw_ending(rec::Ending how) { throw ProgramEnded{how}; }

[[noreturn]] void die(const char* what, const std::string& detail) {
  const std::string line = std::string("fuzz harness: ") + what + ": " + detail + "\n";
  (void)!::write(2, line.data(), line.size());
  std::abort();
}

// Process-wide set-up, done at the first input: the ending handler, and
// standard output sent to /dev/null (echo lines and list output are of no
// interest and would only slow the run down; libFuzzer reports on standard
// error).
struct Harness {
  int home = -1;  // the directory the process started in

  Harness() {
    home = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (home < 0) die("open", ".");
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
      ::dup2(null, 1);
      ::close(null);
    }
    rec::set_ending_handler(throw_ending);
  }

  static Harness& instance() {
    static Harness harness;
    return harness;
  }
};

// A fresh directory per input, entered only while the body runs, so that
// libFuzzer's own relative paths (corpus, artifacts) keep working between
// inputs, and removed afterwards (libFuzzer ends with _Exit, so nothing
// would clean up a directory kept for the whole process).
std::string make_scratch() {
  const char* tmp = std::getenv("TMPDIR");
  std::string tmpl = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/proj-fuzz.XXXXXX";
  if (::mkdtemp(tmpl.data()) == nullptr) die("mkdtemp", tmpl);
  return tmpl;
}

void write_file(std::string_view name, std::string_view bytes) {
  const std::string n(name);
  const int fd = ::open(n.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) die("create", n);
  while (!bytes.empty()) {
    const ssize_t k = ::write(fd, bytes.data(), bytes.size());
    if (k <= 0) die("write", n);
    bytes.remove_prefix(static_cast<std::size_t>(k));
  }
  ::close(fd);
}

// A file the program wrote must hold whole records only: empty, or ending
// with the line-feed of its last record.
void check_complete(const std::string& name) {
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) die("open output", name);
  struct stat st {};
  ::fstat(fd, &st);
  char last = '\n';
  if (st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) != 1) die("read output", name);
  ::close(fd);
  if (last != '\n') die("output file ends inside a record", name);
}

// Removes every file of the scratch directory, checking outputs on the way.
void clear_directory(std::initializer_list<InputFile> inputs) {
  DIR* dir = ::opendir(".");
  if (dir == nullptr) die("opendir", "scratch directory");
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view n = e->d_name;
    if (n != "." && n != "..") names.emplace_back(n);
  }
  ::closedir(dir);
  for (const std::string& n : names) {
    bool input = false;
    for (const InputFile& f : inputs) input |= f.name == n;
    if (!input) check_complete(n);
    if (::unlink(n.c_str()) != 0) die("unlink", n);
  }
}

}  // namespace

void run_program(std::initializer_list<InputFile> inputs, const std::function<void()>& body) {
  const Harness& harness = Harness::instance();
  const std::string scratch = make_scratch();
  if (::chdir(scratch.c_str()) != 0) die("chdir", scratch);
  for (const InputFile& f : inputs) write_file(f.name, f.bytes);
  try {
    body();
    // A body that returns leaves its channels as a program end would.
    rec::reset_channels();
  } catch (const ProgramEnded&) {
    // The record layer has closed every channel and reconnected the standard
    // ones before the handler threw.
  }
  clear_directory(inputs);
  if (::fchdir(harness.home) != 0) die("fchdir", "start directory");
  if (::rmdir(scratch.c_str()) != 0) die("rmdir", scratch);
}

std::vector<std::string_view> split(std::string_view data, char separator, std::size_t max_parts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < max_parts) {
    const std::size_t at = data.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + 1);
  }
  parts.push_back(data);
  return parts;
}

}  // namespace fuzz
