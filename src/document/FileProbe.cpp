#include "document/FileProbe.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "document/PathText.h"
#include "document/SafeWrite.h"
#include "model/FileHead.h"
#include "model/ImageLayout.h"

namespace tavrin {
namespace {

// The one table of file faults. The English words follow the path directly ("X does not exist");
// the Japanese ones make a sentence with it.
struct FaultWords {
  std::initializer_list<int> errors;
  const char* english;
  const char* japanese;
};
const FaultWords kFaultWords[] = {
    {{ENOENT}, " does not exist", " は存在しません。"},
    {{kIsFolder, EISDIR}, " is a folder", " はフォルダーです。"},
    {{kNotRegularFile}, " is not a regular file", " は通常のファイルではありません。"},
    {{ENAMETOOLONG}, ": the path is too long", " のパスが長すぎます。"},
    {{ENOTDIR},
     ": a part of the path is not a folder",
     " のパスの途中にフォルダーでないものがあります。"},
    {{EACCES, EPERM}, ": permission denied", " を使う権限がありません。"},
    {{ELOOP}, ": too many symbolic links", " はシンボリックリンクが多すぎるか、循環しています。"},
    {{kReadOnlyFile}, " is read-only", " は読み取り専用です。"},
    {{kSymbolicLink}, " is a symbolic link", " はシンボリックリンクです。"},
    {{EROFS}, ": the disk is read-only", " のディスクは読み取り専用です。"},
    {{ENOSPC, EDQUOT}, ": the disk is full", " のディスクがいっぱいです。"},
    {{EFBIG},
     ": the file is larger than the disk or the system allows",
     " はディスクかシステムが許すより大きくなります。"},
};

int KindError(const struct stat& info) {
  return S_ISDIR(info.st_mode) ? kIsFolder : kNotRegularFile;
}

std::string SizeText(std::size_t bytes) {
  constexpr std::size_t kMegabyte = 1024 * 1024;
  return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                : std::to_string(bytes) + " bytes";
}

}  // namespace

std::string FileFault(const std::string& path, int error, Language language) {
  const bool english = language == Language::kEnglish;
  if (path.empty()) return english ? "the file name is empty" : "ファイル名が空です。";
  for (const FaultWords& words : kFaultWords) {
    for (int known : words.errors) {
      if (known == error) return path + (english ? words.english : words.japanese);
    }
  }
  return path + ": " + std::strerror(error) + (english ? "" : "。");
}

std::string WrongSizeFault(const std::string& path, std::uintmax_t bytes, std::uintmax_t expected,
                           const std::string& kind, Language language) {
  if (language == Language::kEnglish) {
    return path + " has " + std::to_string(bytes) + " bytes, " + kind + " " +
           std::to_string(expected);
  }
  return path + " の大きさが " + std::to_string(expected) + " バイトではありません（" +
         std::to_string(bytes) + " バイト）。";
}

std::string WithCause(const std::string& message, const std::string& cause, Language language) {
  if (cause.empty()) return message;
  return language == Language::kEnglish ? message + " (" + cause + ")" : message + "\n\n" + cause;
}

std::string SettingsFileProblem(const std::string& path, Language language) {
  const bool english = language == Language::kEnglish;
  int error = 0;
  const std::optional<FileHead> head = ReadFileHead(path, layout::kModelTag + 4, error);
  if (!head) return FileFault(path, error, language);
  if (head->bytes.size() < layout::kModelTag + 4) {
    const std::string bytes = std::to_string(head->bytes.size());
    return english ? bytes + " bytes, too short for a settings file"
                   : path + " は " + bytes + " バイトしかなく、設定ファイルには短すぎます。";
  }
  if (head->bytes.compare(layout::kModelTag, 4, kModelTag) != 0) {
    return english ? "its model tag is not " + std::string(kModelTag)
                   : path + " の機種タグが " + std::string(kModelTag) + " ではありません。";
  }
  return english ? "it cannot be read" : path + " を読み込めません。";
}

Result<std::uintmax_t> RegularFileSize(const std::string& path, Language language) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) {
    return Fail(FileFault(path, errno, language));
  }
  if (!S_ISREG(info.st_mode)) return Fail(FileFault(path, KindError(info), language));
  return static_cast<std::uintmax_t>(info.st_size);
}

Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
  int error = 0;
  std::optional<FileHead> head = path.empty() ? std::nullopt : ReadFileHead(path, maxBytes, error);
  if (!head) return Fail(FileFault(path, error));
  if (head->cut) return Fail(path + " is larger than " + SizeText(maxBytes));
  return std::move(head->bytes);
}

Result<> CheckOutputPath(const std::string& path) {
  struct stat info {};
  if (path.empty()) return Fail(FileFault(path, ENOENT));
  if (stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return Fail(FileFault(path, KindError(info)));
  } else if (errno != ENOENT && errno != ENOTDIR) {
    return Fail(FileFault(path, errno));
  }
  // "plans/" names a folder, the one the file would go into.
  std::string folder = path;
  if (folder.back() == '/') {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  } else {
    folder = FolderOf(folder);
  }
  if (stat(folder.c_str(), &info) != 0) {
    return Fail(errno == ENOENT ? "the folder " + folder + " does not exist"
                                : FileFault(folder, errno));
  }
  if (!S_ISDIR(info.st_mode)) return Fail(folder + " is not a folder");
  // The user's rights decide, not the mode bits: root writes in a folder of mode 555, nobody on a
  // read-only mount or past an ACL. The temporary file the write would begin with is made and
  // dropped.
  StagedFile trial;
  if (trial.Create(path) != WriteStep::kDone) {
    const int error = errno;
    return Fail("cannot write " + FileFault(path, error));
  }
  trial.Discard();
  return {};
}

bool SameExistingFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool SameFilePath(const std::string& a, const std::string& b) {
  if (SameExistingFile(a, b)) return true;
  std::error_code error;
  const std::filesystem::path one = std::filesystem::weakly_canonical(a, error);
  if (error) return a == b;
  const std::filesystem::path other = std::filesystem::weakly_canonical(b, error);
  return !error && one == other;
}

Result<> CheckOutputIsNoInput(const std::string& output, const std::vector<std::string>& inputs,
                              Language language) {
  for (const std::string& input : inputs) {
    if (!SameExistingFile(output, input)) continue;
    return Fail(language == Language::kEnglish
                    ? output + " is the same file as the input " + input + "; it is left as it is"
                    : output + " は入力のファイル " + input +
                          " と同じファイルです。上書きせずにそのままにしました。");
  }
  return {};
}

}  // namespace tavrin
