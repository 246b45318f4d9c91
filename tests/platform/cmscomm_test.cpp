// The serial control over a real pseudo-terminal: open through the COM mapping, why an open
// failed, byte-array input events, output, and a vanished device closing the port instead of
// erroring for ever.
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "PseudoTerminal.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "WithoutPermissionOverride.h"
#include "platform/serial/CMSComm.h"
#include "platform/serial/QtWindowTimers.h"

namespace tavrin {
namespace {

using Pty = testing::PseudoTerminal;

bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

TEST(CMSComm, CarriesBytesBothWaysOverAPseudoTerminal) {
  Pty pty;
  CMSComm comm;
  comm.SetPortPaths({"/nonexistent/tty", pty.slave});
  comm.SetRThreshold(1);
  comm.SetSThreshold(1);
  comm.SetDTREnable(true);
  comm.SetRTSEnable(true);
  comm.SetSettings("38400,N,8,1");
  comm.SetCommPort(1);
  EXPECT_FALSE(comm.SetPortOpen(true));
  comm.SetCommPort(3);
  EXPECT_FALSE(comm.SetPortOpen(true));
  comm.SetCommPort(2);
  ASSERT_TRUE(comm.SetPortOpen(true));
  EXPECT_TRUE(comm.PortOpen());
  EXPECT_FALSE(comm.SetPortOpen(true));
  EXPECT_EQ(comm.BaudRate(), 38400);

  std::vector<uint8_t> received;
  std::vector<CommEventCode> events;
  QObject::connect(&comm, &CMSComm::Comm, [&] {
    events.push_back(comm.CommEvent());
    if (comm.CommEvent() == CommEventCode::Receive) {
      const auto bytes = comm.Input();
      received.insert(received.end(), bytes.begin(), bytes.end());
    }
  });
  const uint8_t frame[] = {0x10, 0x02, 'Q', 0x00, 0x10, 0x03, 'Q'};
  ASSERT_EQ(::write(pty.master, frame, sizeof frame), static_cast<ssize_t>(sizeof frame));
  EXPECT_TRUE(WaitFor([&] { return received.size() == sizeof frame; }));
  EXPECT_EQ(received, std::vector<uint8_t>(frame, frame + sizeof frame));

  EXPECT_TRUE(comm.OutputText(std::string(1, '\x06')).ok());
  comm.SetOutBufferCount(0);
  const uint8_t reply[] = {0x10, 0x02, 'Q', '0', 0x10, 0x03, 0x61};
  EXPECT_TRUE(comm.OutputBytes(reply).ok());
  std::vector<uint8_t> sent;
  EXPECT_TRUE(WaitFor([&] {
    pollfd p{pty.master, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0) {
      uint8_t buffer[64];
      const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
      if (n > 0) sent.insert(sent.end(), buffer, buffer + n);
    }
    return sent.size() == 8;
  }));
  // The ACK handed over just before the frame survives the frame's emptying of the buffer.
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(sent[0], 0x06);
  EXPECT_TRUE(WaitFor([&] {
    return std::find(events.begin(), events.end(), CommEventCode::Send) != events.end();
  }));

  // The other end goes away: the port closes at once rather than erroring in a loop.
  ::close(pty.master);
  pty.master = -1;
  EXPECT_TRUE(WaitFor([&] { return !comm.PortOpen(); }));
  // What is written now reaches no line, and the link is told so.
  EXPECT_FALSE(comm.OutputBytes(reply).ok());
  EXPECT_FALSE(comm.OutputText(std::string(1, '\x05')).ok());
}

// Each port as the user meets it: open, shut by its mode to everyone, open to one group, held by
// a program that runs (its lock in the lock folder), left locked by one that ended, none at all.
TEST(CMSComm, SaysWhyThePortDidNotOpen) {
  Pty open, shut, uucp, held, stale;
  ASSERT_EQ(::chmod(shut.slave.c_str(), 0), 0);
  const struct group* uucpGroup = ::getgrnam("uucp");
  ASSERT_NE(uucpGroup, nullptr);
  ASSERT_EQ(::chown(uucp.slave.c_str(), 0, uucpGroup->gr_gid), 0);
  ASSERT_EQ(::chmod(uucp.slave.c_str(), 0060), 0);
  testing::TempFolder locks;
  testing::ScopedEnv env;
  env.Set("TAVRIN_LOCK_DIR", locks.path().c_str());
  const std::string heldLock = PortLockPath(locks.path(), held.slave);
  testing::WriteBytes(heldLock, "      " + std::to_string(::getppid()) + "\n");
  testing::WriteBytes(PortLockPath(locks.path(), stale.slave), "      4194304\n");
  CMSComm comm;
  comm.SetPortPaths(
      {open.slave, shut.slave, uucp.slave, held.slave, stale.slave, "/nonexistent/tty"});
  const struct {
    int port;
    bool opens;
    PortOpenError error;
    std::string group;
    long lockPid;
  } cases[] = {
      {2, false, PortOpenError::PermissionDenied, "", 0},
      {3, false, PortOpenError::PermissionDenied, "uucp", 0},
      {4, false, PortOpenError::Locked, "", ::getppid()},
      // A lock whose process has ended goes, and the port opens.
      {5, true, PortOpenError::None, "", 0},
      {6, false, PortOpenError::Other, "", 0},
      {1, true, PortOpenError::None, "", 0},
  };
  for (const auto& c : cases) {
    comm.SetCommPort(c.port);
    {
      testing::WithoutPermissionOverride user;
      EXPECT_EQ(comm.SetPortOpen(true), c.opens) << c.port;
    }
    const PortRefusal refusal = comm.OpenError();
    EXPECT_EQ(refusal.error, c.error) << c.port;
    EXPECT_EQ(refusal.group, c.group) << c.port;
    EXPECT_EQ(refusal.lock.pid, c.lockPid) << c.port;
    comm.SetPortOpen(false);
  }
  EXPECT_FALSE(std::filesystem::exists(PortLockPath(locks.path(), stale.slave)));
  EXPECT_TRUE(std::filesystem::exists(heldLock));
  // A port already open is no question of permission.
  comm.SetPortOpen(true);
  EXPECT_FALSE(comm.SetPortOpen(true));
  EXPECT_EQ(comm.OpenError().error, PortOpenError::Other);
}

TEST(CMSComm, RefusesSettingsItCannotUse) {
  Pty pty;
  CMSComm comm;
  comm.SetPortPaths({pty.slave});
  comm.SetCommPort(1);
  comm.SetSettings("19200,X,8,1");
  EXPECT_FALSE(comm.SettingsValid());
  EXPECT_FALSE(comm.SetPortOpen(true));
  comm.SetSettings("9600,E,7,2");
  EXPECT_TRUE(comm.SettingsValid());
  EXPECT_TRUE(comm.SetPortOpen(true));
  comm.SetPortOpen(false);
  EXPECT_FALSE(comm.PortOpen());
}

TEST(QtWindowTimers, RepeatUntilKilledAndRestartWhenSetAgain) {
  std::vector<LinkTimer> fired;
  QtWindowTimers timers([&](LinkTimer id) { fired.push_back(id); });
  timers.SetTimer(LinkTimer::FrameGap, 20);
  EXPECT_TRUE(WaitFor([&] { return fired.size() >= 3; }));
  timers.KillTimer(LinkTimer::FrameGap);
  EXPECT_FALSE(timers.IsRunning(LinkTimer::FrameGap));
  const std::size_t count = fired.size();
  WaitFor([] { return false; }, 100);
  EXPECT_EQ(fired.size(), count);
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
