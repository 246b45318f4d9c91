#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/UsbCommands.h"
#include "document/DataFolder.h"
#include "model/Translation.h"

#ifndef TAVRIN_NO_SERIAL
#include "cli/CableCommands.h"
#include "platform/serial/QtCableEnvironment.h"
#endif

namespace {

#ifndef TAVRIN_NO_SERIAL
// The cable transfers need the serial port and an event loop, which only this build has.
int RunCableWriteCommand(const std::vector<std::string>& args, tavrin::CliIo& io) {
  tavrin::QtCableEnvironment environment;
  return tavrin::RunCableWrite(args, io, environment);
}

int RunCableReadCommand(const std::vector<std::string>& args, tavrin::CliIo& io) {
  tavrin::QtCableEnvironment environment;
  return tavrin::RunCableRead(args, io, environment);
}
#endif

// One line per subcommand.
const tavrin::Command kCommands[] = {
    {"dump", tavrin::TrMark("print a settings file (.BIN) and its program names as JSON"),
     tavrin::RunDump},
    {"pack", tavrin::TrMark("write a settings file and its name file from JSON"), tavrin::RunPack},
    {"export", tavrin::TrMark("write the CSV report of a settings file"), tavrin::RunExport},
    {"agenda", tavrin::TrMark("print what the timer will run on each date of a settings file"),
     tavrin::RunAgenda},
    {"check", tavrin::TrMark("check a settings file or model JSON for errors and warnings"),
     tavrin::RunCheck},
    {"diff", tavrin::TrMark("list what differs between two settings files or model JSON files"),
     tavrin::RunDiff},
    {"next-year",
     tavrin::TrMark("copy a school year's periods and dates into the next school year"),
     tavrin::RunNextYear},
    {"usb-write", tavrin::TrMark("write a settings file to a USB stick for the timer"),
     tavrin::RunUsbWrite},
    {"usb-read", tavrin::TrMark("read the timer's settings file from a USB stick"),
     tavrin::RunUsbRead},
#ifndef TAVRIN_NO_SERIAL
    {"cable-write", tavrin::TrMark("serve a settings file to the timer over a serial cable"),
     RunCableWriteCommand},
    {"cable-read", tavrin::TrMark("receive the timer's settings over a serial cable"),
     RunCableReadCommand},
#endif
};

}  // namespace

int main(int argc, char** argv) {
  tavrin::UseCatalogue(tavrin::InstalledLocaleFolder(tavrin::ExecutablePath()));
  std::vector<std::string> args(argv + 1, argv + argc);
  tavrin::CliIo io{std::cout, std::cerr, tavrin::ShippedDataFolders(tavrin::ExecutablePath())};
  return tavrin::Dispatch(kCommands, args, io);
}
