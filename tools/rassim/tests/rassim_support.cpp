#include "rassim_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sim_store.h"

namespace rassim_test {
namespace {

using tollwick::rassim::SimState;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// An inheritable scratch file for one of the child's output streams; it goes when closed.
HANDLE CreateCaptureFile() {
  char dir[MAX_PATH] = "";
  char path[MAX_PATH] = "";
  if (GetTempPathA(MAX_PATH, dir) == 0 || GetTempFileNameA(dir, "rsm", 0, path) == 0) {
    return INVALID_HANDLE_VALUE;
  }
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

std::string ReadCapture(HANDLE file) {
  std::string text;
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) text.append(chunk, got);
  return text;
}

std::string Quote(const std::string& arg) {
  // The tests pass no quotes or trailing backslashes, which would need the runtime's escaping.
  EXPECT_EQ(arg.find('"'), std::string::npos);
  return "\"" + arg + "\"";
}

}  // namespace

std::uint32_t BringUp(const std::string& entry, LinkState state, const std::string& ip) {
  SimState sim = tollwick::rassim::LoadState();
  tollwick::rassim::Connection connection;
  connection.handle = sim.nextHandle++;
  connection.state = state;
  connection.ip = ip;
  connection.entry = entry;
  sim.connections.push_back(connection);
  EXPECT_TRUE(tollwick::rassim::SaveState(sim));
  return connection.handle;
}

void SetLinkState(const std::string& entry, LinkState state) {
  SimState sim = tollwick::rassim::LoadState();
  const std::ptrdiff_t index = tollwick::rassim::FindConnection(sim, entry);
  ASSERT_GE(index, 0) << entry;
  sim.connections[static_cast<std::size_t>(index)].state = state;
  EXPECT_TRUE(tollwick::rassim::SaveState(sim));
}

void TakeDown(const std::string& entry) {
  SimState sim = tollwick::rassim::LoadState();
  const std::ptrdiff_t index = tollwick::rassim::FindConnection(sim, entry);
  ASSERT_GE(index, 0) << entry;
  sim.connections.erase(sim.connections.begin() + index);
  EXPECT_TRUE(tollwick::rassim::SaveState(sim));
}

void SetEntries(const std::vector<std::string>& entries) {
  SimState sim = tollwick::rassim::LoadState();
  sim.entries = entries;
  EXPECT_TRUE(tollwick::rassim::SaveState(sim));
}

HRASCONN AsHandle(std::uint32_t id) {
  return reinterpret_cast<HRASCONN>(static_cast<ULONG_PTR>(id));
}

std::vector<RASCONNA> ListConnections() {
  std::vector<RASCONNA> records(16);
  records[0].dwSize = sizeof(RASCONNA);
  DWORD bytes = static_cast<DWORD>(records.size() * sizeof(RASCONNA));
  DWORD count = 0;
  EXPECT_EQ(RasEnumConnectionsA(records.data(), &bytes, &count), static_cast<DWORD>(ERROR_SUCCESS));
  records.resize(count);
  return records;
}

std::vector<std::string> ListEntries() {
  std::vector<RASENTRYNAMEA> records(16);
  records[0].dwSize = sizeof(RASENTRYNAMEA);
  DWORD bytes = static_cast<DWORD>(records.size() * sizeof(RASENTRYNAMEA));
  DWORD count = 0;
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, records.data(), &bytes, &count),
            static_cast<DWORD>(ERROR_SUCCESS));
  std::vector<std::string> names;
  for (DWORD i = 0; i < count && i < records.size(); ++i) names.push_back(records[i].szEntryName);
  return names;
}

long ConnectState(HRASCONN handle) {
  RASCONNSTATUSA status{};
  status.dwSize = sizeof(status);
  if (RasGetConnectStatusA(handle, &status) != ERROR_SUCCESS) return -1;
  return static_cast<long>(status.rasconnstate);
}

std::string TextAt(const unsigned char* record, std::size_t offset, std::size_t capacity) {
  const char* text = reinterpret_cast<const char*>(record + offset);
  std::size_t length = 0;
  while (length < capacity && text[length] != '\0') ++length;
  EXPECT_LT(length, capacity) << "text field is not terminated";
  return std::string(text, length);
}

DWORD DwordAt(const unsigned char* record, std::size_t offset) {
  DWORD value = 0;
  std::memcpy(&value, record + offset, sizeof(value));
  return value;
}

void PutDwordAt(unsigned char* record, std::size_t offset, DWORD value) {
  std::memcpy(record + offset, &value, sizeof(value));
}

CommandResult RunRassim(const std::vector<std::string>& args) {
  CommandResult result;
  char self[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_GT(length, 0u);
  std::string exe(self, length);
  exe = exe.substr(0, exe.find_last_of("\\/") + 1) + "rassim.exe";

  std::string commandLine = Quote(exe);
  for (const std::string& arg : args) commandLine += " " + Quote(arg);
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');

  Handle out(CreateCaptureFile());
  Handle err(CreateCaptureFile());
  EXPECT_TRUE(out.valid() && err.valid());
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out.get();
  startup.hStdError = err.get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start " << exe << ": error " << GetLastError();
    return result;
  }
  Handle processHandle(process.hProcess);
  Handle threadHandle(process.hThread);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  result.out = ReadCapture(out.get());
  result.err = ReadCapture(err.get());
  return result;
}

}  // namespace rassim_test
