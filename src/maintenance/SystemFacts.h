// Facts about the running system that the special menu reports.
#pragma once

#include <string>

namespace tavrin {

// The login name: $USER, else the password database's entry for the real user id.
std::string CurrentUserName();
// The process's current directory, empty when it cannot be read.
std::string CurrentDirectory();

// The system's name from the text of an os-release file: PRETTY_NAME, else NAME and VERSION;
// empty when it names none.
std::string OsReleaseName(const std::string& osRelease);
// OsReleaseName of /etc/os-release, else of /usr/lib/os-release.
std::string OperatingSystemName();
// The running kernel's release ("uname -r"), empty when unknown.
std::string KernelRelease();

}  // namespace tavrin
