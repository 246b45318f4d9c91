// tavrin-cli usb-write and usb-read: the two USB commands with a folder for the stick's drive.
#pragma once

#include <string>
#include <vector>

#include "cli/CliContext.h"

namespace tavrin {

int RunUsbWrite(const std::vector<std::string>& args, CliIo& io);
int RunUsbRead(const std::vector<std::string>& args, CliIo& io);

}  // namespace tavrin
