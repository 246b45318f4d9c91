// A pseudo-terminal pair: the test holds the master, the program opens the slave as its serial
// device. Closing the master is a device pulled out.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace tavrin::testing {

struct PseudoTerminal {
  int master = -1;
  std::string slave;
  PseudoTerminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master);
    ::unlockpt(master);
    slave = ::ptsname(master);
  }
  ~PseudoTerminal() {
    if (master >= 0) ::close(master);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
};

}  // namespace tavrin::testing
