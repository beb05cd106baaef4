// The channel table, program end and the failure report.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "records/detail.hpp"

namespace rec {
namespace detail {
namespace {

constexpr std::size_t kFlushAt = 1 << 16;
constexpr std::size_t kReadBlock = 1 << 16;

EndingHandler& ending_handler() {
  static EndingHandler handler = nullptr;
  return handler;
}

// Writes all of `data` to `fd`; returns 0 or an errno value.
int write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

std::string_view message_of(int code) {
  switch (code) {
    case kErrorInFormat: return "error in format";
    case kIllegalUnit: return "illegal unit number";
    case kNullFileName: return "null file name";
    case kOffEndOfRecord: return "off end of record";
    case kBadListInput: return "incomprehensible list input";
    case kOutOfFreeSpace: return "out of free space";
    case kUnexpectedCharacter: return "read unexpected character";
    case kNewFileExists: return "'new' file exists";
    default: return {};
  }
}

std::string trim_name(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return std::string(name);
}

}  // namespace

// ---- Channel ----------------------------------------------------------------

void Channel::next_record() {
  record.clear();
  record_has_lf = false;
  if (eof) return;
  for (;;) {
    if (rpos < rbuf.size()) {
      const char* start = rbuf.data() + rpos;
      const std::size_t avail = rbuf.size() - rpos;
      const void* nl = std::memchr(start, '\n', avail);
      if (nl != nullptr) {
        const auto len = static_cast<std::size_t>(static_cast<const char*>(nl) - start);
        record.append(start, len);
        rpos += len + 1;
        record_has_lf = true;
        return;
      }
      record.append(start, avail);
    }
    rbuf.resize(kReadBlock);
    rpos = 0;
    ssize_t n;
    do {
      n = ::read(fd, rbuf.data(), kReadBlock);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {  // end of data (a read error ends the data too)
      rbuf.clear();
      return;
    }
    rbuf.resize(static_cast<std::size_t>(n));
  }
}

void Channel::prepare_write() {
  if (reading_mode) {
    // Writing after reading continues where the reading stands.
    if (regular) {
      const off_t unread = static_cast<off_t>(rbuf.size() - rpos);
      ::lseek(fd, -unread, SEEK_CUR);
    }
    rbuf.clear();
    rpos = 0;
    reading_mode = false;
  }
}

void Channel::end_record() {
  wbuf.push_back('\n');
  written = true;
  if (wbuf.size() >= kFlushAt || fd == 2 || (is_std && ::isatty(fd))) {
    if (const int err = flush(); err != 0) {
      ReportInfo info;
      info.unit = -1;
      failure_report(err, "write", info);
    }
  }
}

int Channel::flush() {
  if (wbuf.empty() || fd < 0) return 0;
  const int err = write_all(fd, wbuf.data(), wbuf.size());
  wbuf.clear();
  return err;
}

// ---- ChannelTable -------------------------------------------------------

ChannelTable& ChannelTable::instance() {
  static ChannelTable table;
  return table;
}

ChannelTable::ChannelTable() { connect_standard(); }

void ChannelTable::connect_standard() {
  const int units[3] = {0, 5, 6};
  const int fds[3] = {2, 0, 1};
  for (int i = 0; i < 3; ++i) {
    Channel& ch = channels_[units[i]];
    ch = Channel{};
    ch.fd = fds[i];
    ch.is_std = true;
  }
}

Channel* ChannelTable::find(int unit) {
  if (unit < 0 || unit >= kChannels) return nullptr;
  Channel& ch = channels_[unit];
  return ch.connected() ? &ch : nullptr;
}

int ChannelTable::open(int unit, std::string_view name_text, std::string_view status, Exits exits) {
  const std::string name = trim_name(name_text);
  ReportInfo info;
  info.unit = unit;
  info.name = name;
  info.opening = true;
  if (unit < 0 || unit >= kChannels) return fail(kIllegalUnit, "open", info, exits);
  if (name.empty()) return fail(kNullFileName, "open", info, exits);

  struct stat st {};
  const bool exists = ::stat(name.c_str(), &st) == 0;
  Channel& ch = channels_[unit];
  if (ch.connected()) {
    if (exists && !ch.is_std && ch.dev == st.st_dev && ch.ino == st.st_ino) return 0;
    close(unit);
  }

  const char letter = status.empty() ? 'U' : static_cast<char>(status[0] & ~0x20);
  int fd = -1;
  if (letter == 'N') {
    fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return fail(errno == EEXIST ? kNewFileExists : errno, "open", info, exits);
  } else {
    const int create = letter == 'O' ? 0 : O_CREAT;
    fd = ::open(name.c_str(), O_RDWR | create | O_CLOEXEC, 0666);
    // An input file we may only read is still an input file.
    if (fd < 0 && (errno == EACCES || errno == EROFS) && exists) {
      fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) return fail(errno, "open", info, exits);
  }
  struct stat now {};
  ::fstat(fd, &now);
  ch = Channel{};
  ch.fd = fd;
  ch.name = name;
  ch.dev = now.st_dev;
  ch.ino = now.st_ino;
  ch.regular = S_ISREG(now.st_mode);
  return 0;
}

void ChannelTable::close(int unit) {
  if (unit < 0 || unit >= kChannels) return;
  Channel& ch = channels_[unit];
  if (!ch.connected()) return;
  const int err = ch.flush();
  if (!ch.is_std) {
    // Everything after the last record written goes: a file that held ten
    // lines and received three holds exactly those three.
    if (ch.written && ch.regular) {
      const off_t pos = ::lseek(ch.fd, 0, SEEK_CUR);
      if (pos >= 0) (void)::ftruncate(ch.fd, pos);
    }
    ::close(ch.fd);
  }
  const std::string name = ch.name;
  ch = Channel{};
  if (err != 0) {
    ReportInfo info;
    info.unit = unit;
    info.name = name;
    failure_report(err, "close", info);
  }
}

void ChannelTable::close_all() {
  for (int unit = 0; unit < kChannels; ++unit) close(unit);
}

void ChannelTable::reset() {
  close_all();
  connect_standard();
}

Channel& ChannelTable::ensure(int unit, bool reading, std::string_view layout) {
  if (unit < 0 || unit >= kChannels) {
    ReportInfo info;
    info.unit = unit;
    info.layout = layout;
    info.reading = reading;
    failure_report(kIllegalUnit, "startio", info);
  }
  Channel& ch = channels_[unit];
  if (!ch.connected()) {
    // A transfer on an unconnected channel goes to the file fort.<unit>.
    open(unit, "fort." + std::to_string(unit), "UNKNOWN", kNoExit);
  }
  return ch;
}

// ---- Program end and the failure report ----------------------------------

[[noreturn]] void end_program(Ending how) {
  // A failure while closing (a write error) ends the program from inside
  // close_all(); that inner end must not close again. The flag is cleared
  // on every way out, including a handler that throws.
  static bool closing = false;
  if (!closing) {
    closing = true;
    struct Clear {
      ~Clear() { closing = false; }
    } clear;
    ChannelTable::instance().close_all();
  }
  if (EndingHandler h = ending_handler()) {
    ChannelTable::instance().reset();
    h(how);
  }
  if (how == Ending::plain_stop) std::exit(0);
  std::abort();
}

[[noreturn]] void failure_report(int code, std::string_view context, const ReportInfo& info) {
  std::string text(context);
  text += ": ";
  if (code == kEndOfFile) {
    text += "end of file";
  } else if (const std::string_view msg = message_of(code); !msg.empty()) {
    text += msg;
  } else if (code > 0 && code < 100) {
    text += std::strerror(code);
  } else {
    text += "illegal error number ";
    text += std::to_string(code);
  }
  text += '\n';
  if (info.internal) {
    text += "apparent state: internal I/O\n";
  } else if (info.unit >= 0) {
    text += "apparent state: unit ";
    text += std::to_string(info.unit);
    if (info.name.empty()) {
      text += " (unnamed)\n";
    } else {
      text += " named ";
      text += info.name;
      text += '\n';
    }
  }
  if (!info.layout.empty()) {
    text += "last format: ";
    text += info.layout;
    text += '\n';
  }
  text += "lately ";
  text += info.opening ? "opening" : (info.reading ? "reading" : "writing");
  text += " sequential formatted ";
  text += info.internal ? "internal" : "external";
  text += " IO\n";
  // Anything already queued for standard error comes first.
  if (Channel* err = ChannelTable::instance().find(0)) (void)err->flush();
  (void)write_all(2, text.data(), text.size());
  end_program(Ending::failure);
}

int fail(int code, std::string_view context, const ReportInfo& info, Exits exits) {
  if ((code == kEndOfFile && exits.end) || (code != kEndOfFile && exits.err)) return code;
  failure_report(code, context, info);
}

}  // namespace detail

// ---- Public entry points ----------------------------------------------------

int open(int unit, std::string_view name, std::string_view status, Exits exits) {
  return detail::ChannelTable::instance().open(unit, name, status, exits);
}

void close(int unit) { detail::ChannelTable::instance().close(unit); }

void close_all() { detail::ChannelTable::instance().close_all(); }

void reset_channels() { detail::ChannelTable::instance().reset(); }

void stop() { detail::end_program(Ending::plain_stop); }

EndingHandler set_ending_handler(EndingHandler handler) {
  EndingHandler old = detail::ending_handler();
  detail::ending_handler() = handler;
  return old;
}

}  // namespace rec
