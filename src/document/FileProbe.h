// Files named by a user, looked at before they are trusted: what a name leads to, and the one set
// of words both programs use for a file they cannot use as asked. Each fault has its English words
// (tavrin-cli's own messages) and its Japanese words (the desktop program's, and the cause added to
// the program's Japanese messages).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Result.h"

namespace tavrin {

enum class Language { kEnglish, kJapanese };

// Why `path` cannot be used: "X does not exist", "X is a folder", "X is not a regular file",
// "X: the path is too long", "X is read-only", "X: the disk is full"..., or "the file name is
// empty"; in Japanese a whole sentence ("X は存在しません。"). `error` is the system's error
// number, or kIsFolder, kNotRegularFile (model/FileHead.h), kReadOnlyFile or kSymbolicLink.
std::string FileFault(const std::string& path, int error, Language language = Language::kEnglish);
// A regular file that its mode marks read-only, although the process might write it all the same.
inline constexpr int kReadOnlyFile = -3;
// A symbolic link where a file of its own is wanted.
inline constexpr int kSymbolicLink = -4;

// A file of the wrong size: "X has 20 bytes, a settings file 6594" / "X の大きさが 6594
// バイトではありません（20 バイト）。". `kind` is the file's kind as the English words name it.
std::string WrongSizeFault(const std::string& path, std::uintmax_t bytes, std::uintmax_t expected,
                           const std::string& kind, Language language = Language::kEnglish);

// A program message followed by its cause: "message (cause)" in English, the cause on a line of its
// own below the message in Japanese. Without a cause, the message alone.
std::string WithCause(const std::string& message, const std::string& cause, Language language);

// Why the program's settings-file reader refuses the file at `path`: what the name leads to, a
// file too short for the model tag, another tag, or that it cannot be read.
std::string SettingsFileProblem(const std::string& path, Language language);

// The size of the regular file at `path`; otherwise why it is none.
Result<std::uintmax_t> RegularFileSize(const std::string& path,
                                       Language language = Language::kEnglish);

// The whole content of the regular file at `path`, refused when it is larger than `maxBytes`.
Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Whether a file may be created or replaced at `path`: its folder exists, the path itself is a
// regular file or nothing yet, and the user may write there (tried, not read off the mode bits).
// Checked before work whose result would otherwise be lost.
Result<> CheckOutputPath(const std::string& path);

// Whether the two names lead to one file that exists: the same device and inode, through links,
// "..", other spellings and hard links alike. A name that leads to nothing is the same as nothing.
bool SameExistingFile(const std::string& a, const std::string& b);
// The same, and for names of files not there yet, whether they name the same place: two outputs
// of one command must not be one file either.
bool SameFilePath(const std::string& a, const std::string& b);

// The one rule for every command that writes a file from files it reads: the output must not be
// one of them. `output` as the user gave it; `inputs` every file the command reads. The failure
// names both, in `language`.
Result<> CheckOutputIsNoInput(const std::string& output, const std::vector<std::string>& inputs,
                              Language language = Language::kEnglish);

}  // namespace tavrin
