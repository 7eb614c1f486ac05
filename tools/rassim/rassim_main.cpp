// rassim.exe: the control command of the simulated Remote Access Service. It edits the state that
// the simulator's rasapi32.dll serves (sim_store.h); a program already running in the same Wine
// prefix sees each change on its next call.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "sim_state.h"
#include "sim_store.h"

namespace {

using tollwick::rassim::Connection;
using tollwick::rassim::LinkState;
using tollwick::rassim::SimState;
using tollwick::rassim::Traffic;

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kBadUsage = 2;

constexpr char kDefaultIp[] = "10.0.0.1";

constexpr char kUsage[] =
    "Usage: rassim COMMAND [ARGUMENTS]\n"
    "Drives the simulated Remote Access Service (rasapi32.dll) of this Wine prefix.\n"
    "\n"
    "  add-entry NAME        add a phone-book entry\n"
    "  remove-entry NAME     remove a phone-book entry\n"
    "  up NAME [--ip A.B.C.D | --no-ip] [--state STATE]\n"
    "                        bring up a connection to NAME, adding NAME to the phone book\n"
    "                        if it is not there (default: --ip 10.0.0.1 --state connected)\n"
    "  state NAME STATE      move the connection to NAME to STATE\n"
    "  down NAME             drop the connection to NAME\n"
    "  down-all              drop every connection\n"
    "  traffic NAME [--received N] [--sent N]\n"
    "                        add N bytes to the counters of the connection to NAME\n"
    "  counters NAME [--received N] [--sent N]\n"
    "                        set those counters to N (0: as after a restart)\n"
    "  rate NAME [--received N] [--sent N]\n"
    "                        let those counters grow by N bytes a second (0: stop)\n"
    "  stats-fail NAME on|off\n"
    "                        make the statistics call fail for that connection, or work again\n"
    "  list                  show the phone book and the connections, in order\n"
    "  reset                 empty the phone book and drop every connection\n"
    "  help                  show this text\n"
    "\n"
    "STATE is connecting, authenticating or connected. NAME is 1 to 256 characters and is\n"
    "matched without regard to case. N is 0 to 4294967295; the counters are 32 bits and wrap\n"
    "at 4 GiB, as the service's do. Give --received, --sent or both.\n"
    "Exit status: 0 done, 1 refused (no such entry or connection, or it is already there),\n"
    "2 bad usage.\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "rassim: %s\n\n%s", message.c_str(), kUsage);
  return kBadUsage;
}

int Refuse(const std::string& message) {
  std::fprintf(stderr, "rassim: %s\n", message.c_str());
  return kRefused;
}

bool CheckName(const std::string& name, std::string* problem) {
  if (tollwick::rassim::IsValidEntryName(name)) return true;
  *problem = "an entry name must be 1 to 256 characters long";
  return false;
}

int Save(const SimState& state) {
  if (tollwick::rassim::SaveState(state)) return kDone;
  return Refuse("cannot write HKEY_CURRENT_USER\\" + std::string(tollwick::rassim::kStoreKey));
}

int AddEntry(const std::string& name) {
  tollwick::rassim::StoreLock lock;
  SimState state = tollwick::rassim::LoadState();
  if (tollwick::rassim::FindEntry(state, name) >= 0) {
    return Refuse("\"" + name + "\" is already in the phone book");
  }
  state.entries.push_back(name);
  return Save(state);
}

int RemoveEntry(const std::string& name) {
  tollwick::rassim::StoreLock lock;
  SimState state = tollwick::rassim::LoadState();
  const std::ptrdiff_t index = tollwick::rassim::FindEntry(state, name);
  if (index < 0) return Refuse("\"" + name + "\" is not in the phone book");
  state.entries.erase(state.entries.begin() + index);
  return Save(state);
}

int Up(const std::string& name, const std::string& ip, LinkState linkState) {
  tollwick::rassim::StoreLock lock;
  SimState state = tollwick::rassim::LoadState();
  if (tollwick::rassim::FindConnection(state, name) >= 0) {
    return Refuse("a connection to \"" + name + "\" is already up");
  }
  if (tollwick::rassim::FindEntry(state, name) < 0) state.entries.push_back(name);
  Connection connection;
  connection.handle = state.nextHandle++;
  connection.state = linkState;
  connection.ip = ip;
  connection.entry = name;
  state.connections.push_back(connection);
  const int result = Save(state);
  if (result == kDone) {
    std::printf("%s: handle 0x%08X, %s\n", name.c_str(), static_cast<unsigned>(connection.handle),
                tollwick::rassim::LinkStateName(linkState));
  }
  return result;
}

int SetState(const std::string& name, LinkState linkState) {
  tollwick::rassim::StoreLock lock;
  SimState state = tollwick::rassim::LoadState();
  const std::ptrdiff_t index = tollwick::rassim::FindConnection(state, name);
  if (index < 0) return Refuse("no connection to \"" + name + "\" is up");
  state.connections[static_cast<std::size_t>(index)].state = linkState;
  return Save(state);
}

int Down(const std::string& name) {
  tollwick::rassim::StoreLock lock;
  SimState state = tollwick::rassim::LoadState();
  const std::ptrdiff_t index = tollwick::rassim::FindConnection(state, name);
  if (index < 0) return Refuse("no connection to \"" + name + "\" is up");
  state.connections.erase(state.connections.begin() + index);
  return Save(state);
}

// Moves the counters of the connection to NAME on to now, then lets `change` alter them.
template <typename Change>
int ChangeTraffic(const std::string& name, Change change) {
  tollwick::rassim::StoreLock lock;
  SimState state = tollwick::rassim::LoadState();
  const std::ptrdiff_t index = tollwick::rassim::FindConnection(state, name);
  if (index < 0) return Refuse("no connection to \"" + name + "\" is up");
  Traffic& traffic = state.connections[static_cast<std::size_t>(index)].traffic;
  tollwick::rassim::AdvanceTraffic(&traffic, tollwick::rassim::Now());
  change(&traffic);
  return Save(state);
}

int DownAll() {
  tollwick::rassim::StoreLock lock;
  SimState state = tollwick::rassim::LoadState();
  state.connections.clear();
  return Save(state);
}

int List() {
  const SimState state = tollwick::rassim::LoadState();
  std::printf("Phone book: %u %s\n", static_cast<unsigned>(state.entries.size()),
              state.entries.size() == 1 ? "entry" : "entries");
  for (const std::string& entry : state.entries) std::printf("  %s\n", entry.c_str());
  std::printf("Connections: %u\n", static_cast<unsigned>(state.connections.size()));
  const std::uint64_t now = tollwick::rassim::Now();
  for (const Connection& connection : state.connections) {
    std::printf("  0x%08X  %-14s  %-15s  %s\n", static_cast<unsigned>(connection.handle),
                tollwick::rassim::LinkStateName(connection.state),
                connection.ip.empty() ? "none" : connection.ip.c_str(), connection.entry.c_str());
    Traffic traffic = connection.traffic;
    tollwick::rassim::AdvanceTraffic(&traffic, now);
    std::printf("              received %u bytes at %u/s, sent %u bytes at %u/s%s\n",
                static_cast<unsigned>(traffic.received), static_cast<unsigned>(traffic.receiveRate),
                static_cast<unsigned>(traffic.sent), static_cast<unsigned>(traffic.sendRate),
                traffic.statsFail ? ", statistics fail" : "");
  }
  return kDone;
}

int Reset() {
  tollwick::rassim::StoreLock lock;
  if (tollwick::rassim::ResetState()) return kDone;
  return Refuse("cannot write HKEY_CURRENT_USER\\" + std::string(tollwick::rassim::kStoreKey));
}

int ParseUp(const std::vector<std::string>& args) {
  if (args.size() < 2) return UsageError("up needs an entry name");
  const std::string& name = args[1];
  std::string problem;
  if (!CheckName(name, &problem)) return UsageError(problem);
  std::string ip = kDefaultIp;
  bool ipGiven = false;
  bool stateGiven = false;
  LinkState linkState = LinkState::kConnected;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--ip" || option == "--no-ip") {
      if (ipGiven) return UsageError("give one of --ip and --no-ip, once");
      ipGiven = true;
      if (option == "--no-ip") {
        ip.clear();
        continue;
      }
      if (++i == args.size()) return UsageError("--ip needs an address");
      if (!tollwick::rassim::IsValidIpAddress(args[i])) {
        return UsageError("\"" + args[i] + "\" is not an address of the form A.B.C.D (0 to 255)");
      }
      ip = args[i];
    } else if (option == "--state") {
      if (stateGiven) return UsageError("give --state once");
      stateGiven = true;
      if (++i == args.size()) return UsageError("--state needs a state");
      if (!tollwick::rassim::ParseLinkState(args[i], &linkState)) {
        return UsageError("unknown state \"" + args[i] + "\"");
      }
    } else {
      return UsageError("unknown option \"" + option + "\"");
    }
  }
  return Up(name, ip, linkState);
}

// traffic, counters and rate: a name, then --received N, --sent N or both.
int ParseTraffic(const std::vector<std::string>& args) {
  const std::string& command = args[0];
  if (args.size() < 2) return UsageError(command + " needs an entry name");
  const std::string& name = args[1];
  std::string problem;
  if (!CheckName(name, &problem)) return UsageError(problem);
  std::optional<std::uint32_t> received;
  std::optional<std::uint32_t> sent;
  for (std::size_t i = 2; i < args.size(); i += 2) {
    const std::string& option = args[i];
    std::optional<std::uint32_t>* value = option == "--received" ? &received
                                          : option == "--sent"   ? &sent
                                                                 : nullptr;
    if (value == nullptr) return UsageError("unknown option \"" + option + "\"");
    if (value->has_value()) return UsageError("give " + option + " once");
    std::uint32_t number = 0;
    if (i + 1 == args.size() || !tollwick::rassim::ParseCount(args[i + 1], &number)) {
      return UsageError(option + " needs a number from 0 to 4294967295");
    }
    *value = number;
  }
  if (!received && !sent) return UsageError(command + " needs --received, --sent or both");

  if (command == "traffic") {
    // Unsigned sums wrap at 4 GiB, as the service's counters do.
    return ChangeTraffic(name, [&](Traffic* traffic) {
      traffic->received += received.value_or(0);
      traffic->sent += sent.value_or(0);
    });
  }
  if (command == "counters") {
    return ChangeTraffic(name, [&](Traffic* traffic) {
      traffic->received = received.value_or(traffic->received);
      traffic->sent = sent.value_or(traffic->sent);
    });
  }
  return ChangeTraffic(name, [&](Traffic* traffic) {
    traffic->receiveRate = received.value_or(traffic->receiveRate);
    traffic->sendRate = sent.value_or(traffic->sendRate);
  });
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("no command given");
  const std::string& command = args[0];
  if (command == "help" || command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return kDone;
  }
  if (command == "up") return ParseUp(args);
  if (command == "traffic" || command == "counters" || command == "rate") return ParseTraffic(args);

  // The remaining commands take a fixed number of arguments, the first of them a name.
  struct Shape {
    const char* command;
    std::size_t arguments;
  };
  static const Shape kShapes[] = {{"add-entry", 1}, {"remove-entry", 1}, {"state", 2},
                                  {"down", 1},      {"down-all", 0},     {"list", 0},
                                  {"reset", 0},     {"stats-fail", 2}};
  const Shape* shape = nullptr;
  for (const Shape& candidate : kShapes) {
    if (command == candidate.command) shape = &candidate;
  }
  if (shape == nullptr) return UsageError("unknown command \"" + command + "\"");
  if (args.size() != shape->arguments + 1) {
    return UsageError(command + " takes " + std::to_string(shape->arguments) + " argument" +
                      (shape->arguments == 1 ? "" : "s"));
  }
  std::string problem;
  if (shape->arguments > 0 && !CheckName(args[1], &problem)) return UsageError(problem);

  if (command == "add-entry") return AddEntry(args[1]);
  if (command == "remove-entry") return RemoveEntry(args[1]);
  if (command == "down") return Down(args[1]);
  if (command == "down-all") return DownAll();
  if (command == "list") return List();
  if (command == "reset") return Reset();
  if (command == "stats-fail") {
    if (args[2] != "on" && args[2] != "off") return UsageError("stats-fail takes on or off");
    const bool fail = args[2] == "on";
    return ChangeTraffic(args[1], [fail](Traffic* traffic) { traffic->statsFail = fail; });
  }
  LinkState linkState = LinkState::kConnected;
  if (!tollwick::rassim::ParseLinkState(args[2], &linkState)) {
    return UsageError("unknown state \"" + args[2] + "\"");
  }
  return SetState(args[1], linkState);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return Run(args);
}
