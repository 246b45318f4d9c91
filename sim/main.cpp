// vl3400-sim: stands in for the VL-3400 timer on the other end of a serial cable.
//   vl3400-sim fn11 [--port DEV] --out RECEIVED.BIN   the timer reads the program's settings file
//   vl3400-sim fn13 [--port DEV] --image IMAGE.BIN    the timer sends its image
// Without --port it creates a pseudo-terminal pair and prints "PTY <path>" for the program.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "SimLine.h"
#include "TimerSession.h"
#include "transfer/ByteTrace.h"
#include "transfer/Frame.h"

namespace {

using sim::Bytes;
using sim::Fault;

constexpr char kUsage[] =
    "usage: vl3400-sim fn11|fn13 [--port DEV] [--out FILE] [--image FILE] [--size N]\n"
    "         [--baud 9600|19200|38400] [--fault NAME]... [--fault-frame K] [--trace FILE]\n"
    "         [--id TEXT] [--wait SECONDS] [--stats]\n"
    "faults: bad-check no-ack nak noise interrupt short long e1 flood\n"
    "  flood: after the open, frames the program does not know, as fast as the line takes\n"
    "         them, for --wait seconds\n";

struct Options {
  std::string function;
  std::string port;
  std::string out;
  std::string image;
  std::string trace;
  std::string id = "VL-3400 Ver1.06";
  int size = 256;
  int baud = 0;
  int faultFrame = 3;
  int wait = 40;
  bool stats = false;
  std::set<Fault> faults;
  bool shortImage = false;
  bool longImage = false;
  bool endWithOne = false;
  bool flood = false;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  if (argc < 2) return false;
  o.function = argv[1];
  if (o.function != "fn11" && o.function != "fn13") return false;
  const std::map<std::string, Fault> faults{{"bad-check", Fault::BadCheck},
                                            {"no-ack", Fault::NoAck},
                                            {"nak", Fault::Nak},
                                            {"noise", Fault::Noise},
                                            {"interrupt", Fault::Interrupt}};
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--stats") {
      o.stats = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--port") {
      o.port = value;
    } else if (arg == "--out") {
      o.out = value;
    } else if (arg == "--image") {
      o.image = value;
    } else if (arg == "--trace") {
      o.trace = value;
    } else if (arg == "--id") {
      o.id = value;
    } else if (arg == "--size") {
      o.size = std::atoi(value.c_str());
      if (o.size < 1 || o.size > 65535) return false;
    } else if (arg == "--baud") {
      o.baud = std::atoi(value.c_str());
      if (o.baud != 9600 && o.baud != 19200 && o.baud != 38400) return false;
    } else if (arg == "--fault-frame") {
      o.faultFrame = std::atoi(value.c_str());
    } else if (arg == "--wait") {
      o.wait = std::atoi(value.c_str());
    } else if (arg == "--fault") {
      if (value == "short") {
        o.shortImage = true;
      } else if (value == "long") {
        o.longImage = true;
      } else if (value == "e1") {
        o.endWithOne = true;
      } else if (value == "flood") {
        o.flood = true;
      } else if (faults.count(value)) {
        o.faults.insert(faults.at(value));
      } else {
        return false;
      }
    } else {
      return false;
    }
  }
  if (o.function == "fn11" && o.out.empty()) return false;
  if (o.function == "fn13" && o.image.empty()) return false;
  return true;
}

int Fail(const std::string& what) {
  std::fprintf(stderr, "vl3400-sim: %s\n", what.c_str());
  return 1;
}

bool Expect(const std::optional<Bytes>& reply, const Bytes& wanted, const char* what,
            std::string& error) {
  if (reply && *reply == wanted) return true;
  error =
      std::string(what) + ": " +
      (reply ? "unexpected reply '" + std::string(reply->begin(), reply->end()) + "'" : "no reply");
  return false;
}

// A trace is put in place when the simulator ends, also when it gives up: a failed run is the one
// whose bytes are wanted most.
class TraceKeeper {
 public:
  explicit TraceKeeper(tavrin::ByteTrace& trace) : trace_(trace) {}
  ~TraceKeeper() { trace_.Close(); }
  TraceKeeper(const TraceKeeper&) = delete;
  TraceKeeper& operator=(const TraceKeeper&) = delete;

 private:
  tavrin::ByteTrace& trace_;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  Bytes image;
  if (o.function == "fn13") {
    std::ifstream in(o.image, std::ios::binary);
    if (!in) return Fail("cannot read " + o.image);
    image.assign(std::istreambuf_iterator<char>(in), {});
    if (o.shortImage && !image.empty()) image.pop_back();
    if (o.longImage) image.push_back(0);
  }

  sim::SimLine line;
  std::string error;
  if (o.port.empty()) {
    std::string path;
    if (!line.CreatePty(o.baud, path, error)) return Fail(error);
    std::printf("PTY %s\n", path.c_str());
    std::fflush(stdout);
  } else if (!line.OpenDevice(o.port, o.baud, error)) {
    return Fail(error);
  }
  tavrin::ByteTrace trace;
  const TraceKeeper keeper(trace);
  if (!o.trace.empty()) {
    if (!trace.Open(o.trace)) return Fail("cannot create " + o.trace);
    line.SetTrace(&trace);
  }

  sim::TimerSession session(line);
  if (!session.Identify(o.id, o.wait)) return Fail(session.LastError());

  const auto start = sim::SteadyClock::now();
  const long outBefore = line.BytesOut();
  const long inBefore = line.BytesIn();
  const bool writing = o.function == "fn13";
  if (!Expect(session.Command({'O', static_cast<uint8_t>(writing ? 'W' : 'R')}), {'O', '0'}, "open",
              error)) {
    return Fail(error);
  }

  if (o.flood) {
    // Valid frames with a letter no handler knows: each is acknowledged and carries nothing on.
    Bytes unknown{'X'};
    unknown.resize(33, 0x55);
    const Bytes wire = tavrin::BuildFrame(unknown);
    const auto until = sim::SteadyClock::now() + std::chrono::seconds(o.wait);
    while (sim::SteadyClock::now() < until) {
      line.Write(wire);
      line.DropInput();  // the acknowledgements, read so that the program's writes never block
    }
    return 0;
  }

  Bytes received;
  int frame = 0;
  for (;;) {
    ++frame;
    const std::set<Fault> faults = frame == o.faultFrame ? o.faults : std::set<Fault>{};
    if (writing) {
      const std::size_t at = static_cast<std::size_t>(frame - 1) * o.size;
      if (at >= image.size()) break;
      const std::size_t n = std::min<std::size_t>(o.size, image.size() - at);
      Bytes data{'W', static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n & 0xFF)};
      data.insert(data.end(), image.begin() + at, image.begin() + at + n);
      if (!Expect(session.Command(data, faults), {'W', '0'}, "data frame", error)) {
        return Fail(error);
      }
    } else {
      const auto reply = session.Command(
          {'R', static_cast<uint8_t>(o.size >> 8), static_cast<uint8_t>(o.size & 0xFF)}, faults);
      if (!reply || reply->size() < 4 || (*reply)[0] != 'R' || (*reply)[1] != '0') {
        Expect(reply, {'R', '0'}, "read request", error);
        return Fail(error);
      }
      const std::size_t n = (*reply)[2] * 256u + (*reply)[3];
      if (reply->size() != n + 4) return Fail("read reply of the wrong length");
      if (n == 0) break;
      received.insert(received.end(), reply->begin() + 4, reply->end());
    }
  }
  if (!Expect(session.Command({'C'}), {'C', '0'}, "close", error)) return Fail(error);
  const uint8_t result = o.endWithOne ? '1' : '0';
  if (!Expect(session.Command({'E', result}), {'E', '0'}, "end", error)) return Fail(error);
  const double total = std::chrono::duration<double>(sim::SteadyClock::now() - start).count();

  if (!writing) {
    std::ofstream out(o.out, std::ios::binary);
    out.write(reinterpret_cast<const char*>(received.data()),
              static_cast<std::streamsize>(received.size()));
    out.close();
    if (!out) return Fail("cannot write " + o.out);
  }
  if (!trace.Close()) return Fail("cannot write " + o.trace);

  if (o.stats) {
    std::vector<double> latencies;
    for (const auto& t : session.Timings()) latencies.push_back(t.latencyMs);
    const long bytes = line.BytesOut() - outBefore + line.BytesIn() - inBefore;
    const double wire = o.baud ? bytes * 10.0 / o.baud : 0;
    std::printf("frames %zu\n", latencies.size());
    std::printf("latency-median-ms %.3f\n", Median(latencies));
    std::printf("latency-max-ms %.3f\n",
                latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end()));
    std::printf("bytes %ld\n", bytes);
    std::printf("total-s %.4f\n", total);
    std::printf("wire-s %.4f\n", wire);
  }
  return 0;
}
