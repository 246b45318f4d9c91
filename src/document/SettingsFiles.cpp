#include "document/SettingsFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "document/FileProbe.h"
#include "document/PairSave.h"
#include "document/PathText.h"

namespace tavrin {
namespace {

constexpr char kOpenFailed[] = "%s のオープンに失敗しました。";
constexpr char kNotOurFile[] = "%s は対象外のファイルです。";
constexpr char kReadFailed[] = "%s の読み込みに失敗しました。";
constexpr char kWriteFailed[] = "%s への書き込みに失敗しました。";
constexpr char kCloseFailed[] = "%s のクローズに失敗しました。";
constexpr std::size_t kHeaderSize = 36;

std::size_t CharacterCount(const std::string& utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

bool PathFits(const std::string& path) {
  return !path.empty() && CharacterCount(path) <= kMaxPathChars;
}

// Only regular files are read: a folder or a device is not a schedule, and a pipe would hang.
int OpenForReading(const std::string& path, int extraFlags = 0) {
  if (!PathFits(path)) return -1;
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | extraFlags);
  if (fd < 0) return -1;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Reads up to `size` bytes from `offset`; a short count means the end of the file.
bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset, std::size_t& got) {
  got = 0;
  char* at = static_cast<char*>(buffer);
  while (got < size) {
    ssize_t n = pread(fd, at + got, size - got, offset + static_cast<off_t>(got));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

bool TagMatches(const unsigned char* tag) {
  for (std::size_t i = 0; i < 4; ++i) {
    unsigned char c = tag[i];
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    if (c != static_cast<unsigned char>(kModelTag[i])) return false;
  }
  return true;
}

Failure Fail(const char* pattern, const std::string& path) {
  return tavrin::Fail(FormatMessage(pattern, path));
}

std::size_t FileNameStart(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// The text without the extension of its last path component.
std::string WithoutExtension(const std::string& path) {
  std::size_t start = FileNameStart(path);
  std::string extension = ExtensionOf(std::string_view(path).substr(start));
  return path.substr(0, path.size() - extension.size());
}

}  // namespace

bool HasModelTag(const SettingsImage& image) {
  return TagMatches(image.data() + layout::kModelTag);
}

bool HasModelTag(const ScheduleModel& model) {
  return TagMatches(reinterpret_cast<const unsigned char*>(model.modelTag.data()));
}

Result<> ReadSettingsFile(const std::string& path, SettingsImage& target) {
  InitImage(target);
  int fd = OpenForReading(path);
  if (fd < 0) return Fail(kOpenFailed, path);

  unsigned char header[kHeaderSize] = {};
  std::size_t got = 0;
  if (!ReadAt(fd, header, sizeof header, 0, got)) {
    close(fd);
    return Fail(kOpenFailed, path);
  }
  if (!TagMatches(header + layout::kModelTag)) {
    close(fd);
    return Fail(kNotOurFile, path);
  }
  // Read aside so that a failed read never leaves a half-read image in the target; the bytes a
  // short file does not reach keep the initial values.
  SettingsImage image = target;
  if (!ReadAt(fd, image.data(), image.size(), 0, got)) {
    close(fd);
    return Fail(kReadFailed, path);
  }
  if (close(fd) != 0) return Fail(kCloseFailed, path);
  target = image;
  return {};
}

Result<> ReadSettingsFileWithCause(const std::string& path, SettingsImage& target,
                                   Language language) {
  Result<> read = ReadSettingsFile(path, target);
  if (read) return read;
  const std::string cause = PathFits(path) ? SettingsFileProblem(path, language)
                                           : FileFault(path, ENAMETOOLONG, language);
  return tavrin::Fail(WithCause(read.message(), cause, language));
}

Result<> ReadWholeSettingsFile(const std::string& path, SettingsImage& target) {
  int fd = OpenForReading(path, O_NOFOLLOW);
  if (fd < 0) return Fail(kOpenFailed, path);
  struct stat info {};
  SettingsImage image{};
  std::size_t got = 0;
  const bool whole = fstat(fd, &info) == 0 && info.st_size == static_cast<off_t>(image.size()) &&
                     ReadAt(fd, image.data(), image.size(), 0, got) && got == image.size();
  if (close(fd) != 0 && whole) return Fail(kCloseFailed, path);
  if (!whole) return Fail(kReadFailed, path);
  if (!HasModelTag(image)) return Fail(kNotOurFile, path);
  target = image;
  return {};
}

Result<> WriteSettingsFile(const std::string& path, const SettingsImage& image) {
  if (!PathFits(path)) return Fail(kOpenFailed, path);
  const WriteOutcome outcome = WriteFileAtomically(path, image.data(), image.size());
  if (outcome != WriteStep::kDone) return SettingsWriteFailure(outcome.step, path, outcome.error);
  return {};
}

Failure SettingsWriteFailure(WriteStep step, const std::string& path, int error) {
  const char* pattern = kWriteFailed;
  if (step == WriteStep::kOpen) pattern = kOpenFailed;
  if (step == WriteStep::kClose) pattern = kCloseFailed;
  const std::string cause =
      error == 0 ? std::string() : FileFault(path, error, Language::kJapanese);
  return tavrin::Fail(WithCause(FormatMessage(pattern, path), cause, Language::kJapanese));
}

Result<> ReadNameFile(const std::string& path, ProgramNameTable& names) {
  std::memset(&names, 0, sizeof names);
  int fd = OpenForReading(path);
  if (fd < 0) return Fail(kOpenFailed, path);
  ProgramNameTable read{};
  std::size_t got = 0;
  const bool ok = ReadAt(fd, &read, sizeof read, 0, got);
  if (close(fd) != 0 && ok) return Fail(kCloseFailed, path);
  if (!ok) return Fail(kReadFailed, path);
  names = read;
  return {};
}

Result<> WriteNameFile(const std::string& path, const ProgramNameTable& names) {
  if (!PathFits(path)) return Fail(kOpenFailed, path);
  const WriteOutcome outcome = WriteFileAtomically(path, &names, sizeof names);
  if (outcome != WriteStep::kDone) return SettingsWriteFailure(outcome.step, path, outcome.error);
  return {};
}

Result<> WriteSettingsAndNames(const std::string& settingsPath, const SettingsImage& image,
                               const std::string& namePath, const ProgramNameTable& names,
                               WriteSystem& system, const PairSaveOptions& options) {
  const FileContent files[] = {{settingsPath, image.data(), image.size()},
                               {namePath, &names, sizeof names}};
  for (const FileContent& file : files) {
    if (!PathFits(file.path)) return Fail(kOpenFailed, file.path);
  }
  const std::string realNames = FileBehindLink(namePath);
  const std::string key = PairKey(realNames);
  PairLock lock;
  if (!lock.Acquire(FolderOf(realNames), key)) {
    return tavrin::Fail(
        FormatMessage("%s "
                      "は他のプログラムが保存中のため、保存できませんでした。しばらくしてから保存し"
                      "直して下さい。",
                      settingsPath));
  }
  std::optional<JournaledSave> journal;
  if (!options.dataFolder.empty()) {
    const std::string notice = RecoveryNotice(SettleJournal(options.dataFolder, key, system),
                                              settingsPath, options.language);
    if (!notice.empty() && options.notices) options.notices->push_back(notice);
    journal.emplace(options.dataFolder, key, files, system);
  }
  const WriteOutcome outcome = WriteFilesTogether(files, system, journal ? &*journal : nullptr);
  if (outcome.step != WriteStep::kDone)
    return SettingsWriteFailure(outcome.step, files[outcome.file].path, outcome.error);
  return {};
}

Result<> LoadFromFile(const std::string& path, SettingsImage& image) {
  InitImage(image);
  Result<> read = ReadSettingsFile(path, image);
  if (!read) InitImage(image);
  return read;
}

std::vector<std::string> NamesInAnyCase(const std::string& folder, const std::string& name) {
  const auto folded = [](std::string text) {
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
  };
  std::vector<std::string> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string entryName = entry.path().filename().string();
    if (folded(entryName) == folded(name)) found.push_back(entryName);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string ExtensionOf(std::string_view text) {
  std::size_t dot = text.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return std::string(text.substr(dot));
}

void EnsureBinExtension(DocumentPaths& paths) {
  if (!ExtensionOf(paths.settingsTitle).empty()) return;
  paths.settingsTitle += ".BIN";
  paths.settingsPath += ".BIN";
}

void DeriveNamePaths(DocumentPaths& paths) {
  const std::string real = FileBehindLink(paths.settingsPath);
  const bool linked = real != paths.settingsPath;
  paths.nameFolder = linked ? FolderOf(real) : paths.settingsFolder;
  // Only the file name loses its extension: a dot in a folder name must not send the name file
  // out of the folder ("my.data/plan" gives "my.data/plan.TXT", not "my.TXT").
  paths.namePath = WithoutExtension(real) + ".TXT";
  paths.nameTitle = WithoutExtension(linked ? FileNameOf(real) : paths.settingsTitle) + ".TXT";
}

}  // namespace tavrin
