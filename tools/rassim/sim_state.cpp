#include "sim_state.h"

namespace tollwick {
namespace rassim {
namespace {

constexpr char kNoIp[] = "none";

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Splits off the text up to the next space; false when there is no space.
bool TakeField(std::string_view* rest, std::string_view* field) {
  const std::size_t space = rest->find(' ');
  if (space == std::string_view::npos) return false;
  *field = rest->substr(0, space);
  rest->remove_prefix(space + 1);
  return true;
}

// Decimal digits only, up to `max`; more than 19 digits are refused before they could overflow.
bool ParseDecimal(std::string_view text, std::uint64_t max, std::uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (result > max) return false;
  *value = result;
  return true;
}

bool ParseHandle(std::string_view text, std::uint32_t* handle) {
  return ParseCount(text, handle) && *handle != 0;
}

// The bytes `rate` moves in `elapsed` milliseconds, modulo 2^32 as the counters keep them. Whole
// seconds and the rest apart, each product fits in 64 bits however long the rate has run.
std::uint32_t BytesMoved(std::uint32_t rate, std::uint64_t elapsed) {
  const std::uint64_t seconds = (elapsed / 1000) & 0xFFFFFFFFu;  // only its low 32 bits count
  const auto whole = static_cast<std::uint32_t>(rate * seconds);
  const auto part = static_cast<std::uint32_t>(rate * (elapsed % 1000) / 1000);
  return whole + part;
}

}  // namespace

const char* LinkStateName(LinkState state) {
  switch (state) {
    case LinkState::kConnecting: return "connecting";
    case LinkState::kAuthenticating: return "authenticating";
    case LinkState::kConnected: return "connected";
  }
  return "connected";
}

bool ParseLinkState(std::string_view text, LinkState* state) {
  for (LinkState candidate :
       {LinkState::kConnecting, LinkState::kAuthenticating, LinkState::kConnected}) {
    if (text == LinkStateName(candidate)) {
      *state = candidate;
      return true;
    }
  }
  return false;
}

bool ParseCount(std::string_view text, std::uint32_t* count) {
  std::uint64_t value = 0;
  if (!ParseDecimal(text, 0xFFFFFFFFu, &value)) return false;
  *count = static_cast<std::uint32_t>(value);
  return true;
}

void AdvanceTraffic(Traffic* traffic, std::uint64_t now) {
  const std::uint64_t elapsed = now > traffic->since ? now - traffic->since : 0;
  traffic->received += BytesMoved(traffic->receiveRate, elapsed);
  traffic->sent += BytesMoved(traffic->sendRate, elapsed);
  traffic->since = now;
}

bool HasTraffic(const Traffic& traffic) {
  return traffic.received != 0 || traffic.sent != 0 || traffic.receiveRate != 0 ||
         traffic.sendRate != 0 || traffic.statsFail;
}

bool IsValidEntryName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxEntryName &&
         name.find('\0') == std::string_view::npos;
}

bool IsValidIpAddress(std::string_view text) {
  if (text.size() > kMaxIpAddress) return false;
  int parts = 0;
  std::size_t pos = 0;
  while (true) {
    std::size_t digits = 0;
    unsigned value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[pos] - '0');
      ++pos;
      if (++digits > 3) return false;
    }
    if (digits == 0 || value > 255) return false;
    ++parts;
    if (pos == text.size()) return parts == 4;
    if (text[pos] != '.' || parts == 4) return false;
    ++pos;
  }
}

bool SameEntryName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

std::ptrdiff_t FindEntry(const SimState& state, std::string_view name) {
  for (std::size_t i = 0; i < state.entries.size(); ++i) {
    if (SameEntryName(state.entries[i], name)) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

std::ptrdiff_t FindConnection(const SimState& state, std::string_view entryName) {
  for (std::size_t i = 0; i < state.connections.size(); ++i) {
    if (SameEntryName(state.connections[i].entry, entryName)) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

const Connection* FindConnectionByHandle(const std::vector<Connection>& connections,
                                         std::uint32_t handle) {
  for (const Connection& connection : connections) {
    if (connection.handle == handle) return &connection;
  }
  return nullptr;
}

std::string EncodeMultiString(const std::vector<std::string>& texts) {
  std::string data;
  for (const std::string& text : texts) {
    data += text;
    data += '\0';
  }
  data += '\0';
  return data;
}

std::vector<std::string> DecodeMultiString(const char* data, std::size_t size) {
  std::vector<std::string> texts;
  std::size_t pos = 0;
  while (pos < size && data[pos] != '\0') {
    std::size_t end = pos;
    while (end < size && data[end] != '\0') ++end;
    texts.emplace_back(data + pos, end - pos);
    pos = end + 1;
  }
  return texts;
}

std::string EncodeConnection(const Connection& connection) {
  std::string text = std::to_string(connection.handle);
  text += ' ';
  text += LinkStateName(connection.state);
  text += ' ';
  text += connection.ip.empty() ? kNoIp : connection.ip;
  text += ' ';
  text += connection.entry;
  return text;
}

bool DecodeConnection(std::string_view text, Connection* connection) {
  std::string_view handle, state, ip;
  if (!TakeField(&text, &handle) || !TakeField(&text, &state) || !TakeField(&text, &ip)) {
    return false;
  }
  Connection decoded;
  if (!ParseHandle(handle, &decoded.handle) || !ParseLinkState(state, &decoded.state)) return false;
  if (ip != kNoIp) {
    if (!IsValidIpAddress(ip)) return false;
    decoded.ip = std::string(ip);
  }
  if (!IsValidEntryName(text)) return false;
  decoded.entry = std::string(text);
  *connection = decoded;
  return true;
}

std::vector<std::string> EncodeConnections(const std::vector<Connection>& connections) {
  std::vector<std::string> texts;
  texts.reserve(connections.size());
  for (const Connection& connection : connections) texts.push_back(EncodeConnection(connection));
  return texts;
}

std::vector<Connection> DecodeConnections(const std::vector<std::string>& texts) {
  std::vector<Connection> connections;
  for (const std::string& text : texts) {
    Connection connection;
    if (DecodeConnection(text, &connection) &&
        FindConnectionByHandle(connections, connection.handle) == nullptr) {
      connections.push_back(connection);
    }
  }
  return connections;
}

std::vector<std::string> EncodeTraffic(const std::vector<Connection>& connections) {
  std::vector<std::string> texts;
  for (const Connection& connection : connections) {
    const Traffic& traffic = connection.traffic;
    if (!HasTraffic(traffic)) continue;
    texts.push_back(std::to_string(connection.handle) + ' ' + std::to_string(traffic.received) +
                    ' ' + std::to_string(traffic.sent) + ' ' +
                    std::to_string(traffic.receiveRate) + ' ' + std::to_string(traffic.sendRate) +
                    ' ' + std::to_string(traffic.since) + ' ' + (traffic.statsFail ? '1' : '0'));
  }
  return texts;
}

void DecodeTraffic(const std::vector<std::string>& texts, std::vector<Connection>* connections) {
  for (const std::string& text : texts) {
    std::string_view rest = text;
    std::string_view handle, received, sent, receiveRate, sendRate, since;
    std::uint32_t id = 0;
    std::uint64_t failing = 0;
    Traffic traffic;
    if (!TakeField(&rest, &handle) || !TakeField(&rest, &received) || !TakeField(&rest, &sent) ||
        !TakeField(&rest, &receiveRate) || !TakeField(&rest, &sendRate) ||
        !TakeField(&rest, &since) || !ParseHandle(handle, &id) ||
        !ParseCount(received, &traffic.received) || !ParseCount(sent, &traffic.sent) ||
        !ParseCount(receiveRate, &traffic.receiveRate) ||
        !ParseCount(sendRate, &traffic.sendRate) ||
        !ParseDecimal(since, UINT64_MAX, &traffic.since) || !ParseDecimal(rest, 1, &failing)) {
      continue;
    }
    traffic.statsFail = failing == 1;
    for (Connection& connection : *connections) {
      if (connection.handle == id) connection.traffic = traffic;
    }
  }
}

std::vector<std::string> CleanEntries(const std::vector<std::string>& names) {
  SimState seen;
  for (const std::string& name : names) {
    if (IsValidEntryName(name) && FindEntry(seen, name) < 0) seen.entries.push_back(name);
  }
  return seen.entries;
}

}  // namespace rassim
}  // namespace tollwick
