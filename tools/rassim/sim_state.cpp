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

bool ParseHandle(std::string_view text, std::uint32_t* handle) {
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value == 0 || value > 0xFFFFFFFFu) return false;
  *handle = static_cast<std::uint32_t>(value);
  return true;
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

std::vector<std::string> CleanEntries(const std::vector<std::string>& names) {
  SimState seen;
  for (const std::string& name : names) {
    if (IsValidEntryName(name) && FindEntry(seen, name) < 0) seen.entries.push_back(name);
  }
  return seen.entries;
}

}  // namespace rassim
}  // namespace tollwick
