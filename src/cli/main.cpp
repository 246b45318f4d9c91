#include <iostream>
#include <string>
#include <vector>

#ifndef TAVRIN_NO_SERIAL
#include "cli/CableCommands.h"
#include "platform/serial/QtCableEnvironment.h"
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#ifndef TAVRIN_NO_SERIAL
  if (!args.empty() && (args[0] == "cable-write" || args[0] == "cable-read")) {
    tavrin::QtCableEnvironment environment;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    return args[0] == "cable-write" ? tavrin::RunCableWrite(rest, std::cout, std::cerr, environment)
                                    : tavrin::RunCableRead(rest, std::cout, std::cerr, environment);
  }
#endif
  std::cerr << "usage: tavrin-cli cable-write|cable-read ...\n";
  return 2;
}
