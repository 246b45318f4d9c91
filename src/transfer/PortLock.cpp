#include "transfer/PortLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "model/FileHead.h"

namespace tavrin {
namespace {

constexpr char kDefaultLockFolder[] = "/var/lock";
constexpr std::size_t kCommandBytes = 120;
// The highest process id Linux hands out (PID_MAX_LIMIT on 64-bit systems).
constexpr long long kPidLimit = 1 << 22;

// The user the file belongs to, named; nothing for the user's own.
std::string OwnerOf(uid_t uid) {
  if (uid == geteuid()) return {};
  passwd entry{};
  passwd* found = nullptr;
  char buffer[1024];
  if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
    return found->pw_name;
  }
  return "uid " + std::to_string(uid);
}

// Cut at a character's start: a Shift-JIS or UTF-8 name is never split.
std::string Shortened(std::string text) {
  if (text.size() <= kCommandBytes) return text;
  std::size_t end = kCommandBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text + "…";
}

// The process's command line with its arguments, else its name; nothing where /proc does not
// tell.
std::string CommandOf(long pid) {
  const std::string proc = "/proc/" + std::to_string(pid) + "/";
  int error = 0;
  if (auto line = ReadFileHead(proc + "cmdline", kCommandBytes + 8, error)) {
    std::replace(line->bytes.begin(), line->bytes.end(), '\0', ' ');
    while (!line->bytes.empty() && line->bytes.back() == ' ') line->bytes.pop_back();
    if (!line->bytes.empty()) return Shortened(line->bytes + (line->cut ? " …" : ""));
  }
  if (auto name = ReadFileHead(proc + "comm", 64, error)) {
    while (!name->bytes.empty() && name->bytes.back() == '\n') name->bytes.pop_back();
    return name->bytes;
  }
  return {};
}

bool Running(long pid) { return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

}  // namespace

std::string PortLockFolder() {
  const char* folder = std::getenv("TAVRIN_LOCK_DIR");
  return folder != nullptr && *folder != '\0' ? folder : kDefaultLockFolder;
}

std::string PortLockPath(const std::string& folder, const std::string& device) {
  std::string name = device.starts_with("/dev/") ? device.substr(5) : device;
  std::replace(name.begin(), name.end(), '/', '_');
  return folder + "/LCK.." + name;
}

long LockFilePid(std::string_view bytes) {
  const std::string_view text = bytes.substr(std::min(bytes.find_first_not_of(' '), bytes.size()));
  const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
  const bool ended = digits == text.size() || text[digits] == '\n' || text[digits] == ' ';
  long long pid = 0;
  if (digits > 0 && digits <= 10 && ended) {
    pid = std::stoll(std::string(text.substr(0, digits)));
  } else if (bytes.size() == sizeof(int)) {
    int binary = 0;
    std::memcpy(&binary, bytes.data(), sizeof binary);
    pid = binary;
  }
  // No process id passes the system's limit: such bytes name no process, not a dead one.
  return pid > 0 && pid <= kPidLimit ? static_cast<long>(pid) : 0;
}

std::optional<PortLock> HeldPortLock(const std::string& folder, const std::string& device) {
  PortLock lock;
  lock.file = PortLockPath(folder, device);
  const int fd = open(lock.file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (fd < 0) {
    // A lock the user may not read, or a link in its place, locks the port all the same; only
    // who holds it is unknown.
    if (lstat(lock.file.c_str(), &info) != 0) return std::nullopt;
    lock.owner = OwnerOf(info.st_uid);
    return lock;
  }
  int error = 0;
  const std::optional<FileHead> head = ReadOpenFileHead(fd, 64, error);
  if (fstat(fd, &info) == 0) lock.owner = OwnerOf(info.st_uid);
  close(fd);
  lock.pid = head ? LockFilePid(head->bytes) : 0;
  if (lock.pid == 0) return lock;
  lock.running = Running(lock.pid);
  if (lock.running) {
    lock.command = CommandOf(lock.pid);
  } else if (unlink(lock.file.c_str()) == 0) {
    return std::nullopt;
  }
  return lock;
}

}  // namespace tavrin
