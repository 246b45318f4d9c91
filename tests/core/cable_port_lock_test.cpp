// The lock files of serial ports as the system's programs leave them in the lock folder: the
// process named as text or as a binary int, running or ended, the user's own file or another's.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "TempFolder.h"
#include "WithoutPermissionOverride.h"
#include "transfer/PortLock.h"

extern char** environ;

namespace tavrin::testing {
namespace {

std::string Binary(int pid) {
  std::string bytes(sizeof pid, '\0');
  std::memcpy(bytes.data(), &pid, sizeof pid);
  return bytes;
}

TEST(PortLock, TheFileIsNamedAsTheOtherSerialProgramsNameIt) {
  const struct {
    std::string device, file;
  } cases[] = {
      {"/dev/ttyS0", "/var/lock/LCK..ttyS0"},
      {"/dev/ttyUSB10", "/var/lock/LCK..ttyUSB10"},
      {"/dev/pts/3", "/var/lock/LCK..pts_3"},
      {"/dev/serial/by-id/usb-x", "/var/lock/LCK..serial_by-id_usb-x"},
      {"/tmp/line", "/var/lock/LCK.._tmp_line"},
      {"ttyS1", "/var/lock/LCK..ttyS1"},
      {"/devices/ttyS2", "/var/lock/LCK.._devices_ttyS2"},
  };
  for (const auto& c : cases) EXPECT_EQ(PortLockPath("/var/lock", c.device), c.file) << c.device;
}

TEST(PortLock, TheProcessIsReadAsTextOrAsABinaryInt) {
  const struct {
    std::string bytes;
    long pid;
  } cases[] = {
      {"      1234\n", 1234},              // the usual form: ten columns and a line end
      {"1234\n", 1234},                    //
      {"1234", 1234},                      // no line end
      {"1234\ntavrin-cli\nhost\n", 1234},  // Qt's own lock file
      {"  42 \n", 42},                     //
      {Binary(1234), 1234},                // the binary form of older programs
      {Binary(4194304), 4194304},          // the highest id the system hands out
      {"4194304\n", 4194304},              //
      {"4194305\n", 0},                    // one past it names no process
      {Binary(4194305), 0},                //
      {Binary(-5), 0},                     //
      {Binary(0), 0},                      //
      {"0000000000\n", 0},                 //
      {"12345678901\n", 0},                // eleven digits
      {"", 0},                             //
      {"\n", 0},                           //
      {"    \n", 0},                       //
      {"pid\n", 0},                        //
      {"12ab\n", 0},                       // digits first, the whole no number
      {"-123\n", 0},                       //
      {"+123\n", 0},                       //
      {"123", 123},                        // three bytes can only be text
      {std::string("123\0", 4), 3355185},  // four bytes that are no text: an int
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LockFilePid(c.bytes), c.pid) << "\"" << c.bytes << "\" (" << c.bytes.size() << ")";
  }
}

pid_t Spawn(std::vector<const char*> argv) {
  argv.push_back(nullptr);
  pid_t pid = 0;
  posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv.data()), environ);
  return pid;
}

// Children that run until the test ends them, the user's own and another user's (as the command
// "sleep 30"), and the id of one that has ended.
class Processes {
 public:
  Processes() {
    running = Spawn({"sleep", "30"});
    othersRunning =
        Spawn({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "sleep", "30"});
    ended = Spawn({"true"});
    waitpid(ended, nullptr, 0);
    // Until the other user's child runs its command, it is still root's setpriv.
    const std::string cmdline = "/proc/" + std::to_string(othersRunning) + "/cmdline";
    for (int i = 0; i < 200 && ReadBytes(cmdline).rfind("sleep", 0) != 0; ++i) usleep(10000);
  }
  ~Processes() {
    for (pid_t pid : {running, othersRunning}) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  pid_t running = 0;
  pid_t othersRunning = 0;
  pid_t ended = 0;
};

TEST(PortLock, ALockIsHeldWhileItsProcessRunsAndGoesWithIt) {
  Processes processes;
  const std::string live = std::to_string(processes.running);
  const std::string dead = std::to_string(processes.ended);
  const uid_t nobody = 65534;
  const struct {
    const char* what;
    std::string bytes;
    uid_t owner;
    mode_t folderMode;
    bool asUser;  // without the capabilities that let root past every mode
    bool held;    // else free: the file gone, or never there
    long pid;
    bool running;
    std::string ownerName;
  } cases[] = {
      {"running, as text", "      " + live + "\n", 0, 0755, false, true, processes.running, true,
       ""},
      {"running, as a binary int", Binary(processes.running), 0, 0755, false, true,
       processes.running, true, ""},
      {"running, in Qt's form", live + "\nsleep\nhost\n", 0, 0755, false, true, processes.running,
       true, ""},
      {"running, another user's file", live + "\n", nobody, 0755, false, true, processes.running,
       true, "nobody"},
      {"another user's process that runs", std::to_string(processes.othersRunning) + "\n", nobody,
       0755, true, true, processes.othersRunning, true, "nobody"},
      {"ended: removed", "      " + dead + "\n", 0, 0755, false, false, 0, false, ""},
      {"ended, as a binary int: removed", Binary(processes.ended), 0, 0755, false, false, 0, false,
       ""},
      {"ended, in a folder the user may not change", dead + "\n", nobody, 0555, true, true,
       processes.ended, false, "nobody"},
      {"naming no process: kept", "garbage\n", 0, 0755, false, true, 0, false, ""},
      {"empty: kept", "", 0, 0755, false, true, 0, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string file = folder / "LCK..ttyS0";
    WriteBytes(file, c.bytes);
    ASSERT_EQ(chown(file.c_str(), c.owner, 0), 0);
    ASSERT_EQ(chmod(folder.path().c_str(), c.folderMode), 0);
    std::optional<PortLock> lock;
    {
      std::optional<WithoutPermissionOverride> user;
      if (c.asUser) user.emplace();
      lock = HeldPortLock(folder.path(), "/dev/ttyS0");
    }
    ASSERT_EQ(lock.has_value(), c.held);
    EXPECT_EQ(std::filesystem::exists(file), c.held);
    if (!lock) continue;
    EXPECT_EQ(lock->file, file);
    EXPECT_EQ(lock->pid, c.pid);
    EXPECT_EQ(lock->running, c.running);
    EXPECT_EQ(lock->command, c.running ? "sleep 30" : "");
    EXPECT_EQ(lock->owner, c.ownerName);
  }
  TempFolder none;
  EXPECT_EQ(HeldPortLock(none.path(), "/dev/ttyS0"), std::nullopt);
}

// A lock the user may not read, or a link in a lock's place, still locks the port; who holds it
// is not known.
TEST(PortLock, ALockThatCannotBeReadStillLocks) {
  TempFolder folder;
  const std::string file = folder / "LCK..ttyS0";
  WriteBytes(file, "      1\n");
  ASSERT_EQ(chmod(file.c_str(), 0), 0);
  ASSERT_EQ(chown(file.c_str(), 65534, 0), 0);
  std::optional<PortLock> lock;
  {
    WithoutPermissionOverride user;
    lock = HeldPortLock(folder.path(), "/dev/ttyS0");
  }
  EXPECT_EQ(lock, (PortLock{file, 0, false, "", "nobody"}));

  std::filesystem::create_symlink(folder / "elsewhere", folder / "LCK..ttyS1");
  EXPECT_EQ(HeldPortLock(folder.path(), "/dev/ttyS1"),
            (PortLock{folder / "LCK..ttyS1", 0, false, "", ""}));
}

}  // namespace
}  // namespace tavrin::testing
