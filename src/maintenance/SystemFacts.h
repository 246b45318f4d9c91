// Facts about the running system that the special menu reports.
#pragma once

#include <string>

namespace tavrin {

// The login name: $USER, else the password database's entry for the real user id.
std::string CurrentUserName();
// The process's current directory, empty when it cannot be read.
std::string CurrentDirectory();

}  // namespace tavrin
