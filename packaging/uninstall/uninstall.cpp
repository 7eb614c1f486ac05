// uninstall.exe, what the uninstall entry runs: it hands the work to the uninstaller proper
// (uninstall.dat, the NSIS uninstaller beside it), run from a copy in the temporary folder, and
// returns when that is done, with its exit code. NSIS's own uninstaller would hand the work to such a
// copy and return at once, leaving a deployment tool racing with it; run in place instead, it holds
// its own file open and could not remove itself. This program holds no handle on its file, so the
// uninstaller proper can move it out of the folder while it waits, and the folder goes whole.

#include <windows.h>

#include <string>

namespace {

// Everything after the program's own name on the command line (the uninstaller's switches, /S for
// one), without a "_?=" of the caller's: that one is always given here, last.
std::wstring Switches() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    const wchar_t* close = wcschr(line + 1, L'"');
    line = close != nullptr ? close + 1 : line + wcslen(line);
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  std::wstring switches(line);
  const std::size_t folder = switches.find(L"_?=");
  if (folder != std::wstring::npos) switches.erase(folder);
  return switches;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

DWORD Run() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return GetLastError();
  const std::wstring folder = FolderOf(self);

  // A name of its own in the temporary folder, with the extension a program has.
  wchar_t temp[MAX_PATH];
  wchar_t reserved[MAX_PATH];
  if (GetTempPathW(MAX_PATH, temp) == 0 || GetTempFileNameW(temp, L"tlw", 0, reserved) == 0) {
    return GetLastError();
  }
  const std::wstring copy = std::wstring(reserved) + L".exe";
  if (!CopyFileW((folder + L"\\uninstall.dat").c_str(), copy.c_str(), FALSE)) {
    const DWORD error = GetLastError();
    DeleteFileW(copy.c_str());
    DeleteFileW(reserved);
    return error;
  }
  // "_?=" (last, unquoted) runs the copy itself on the program's folder rather than another copy.
  std::wstring command = L"\"" + copy + L"\"" + Switches() + L" _?=" + folder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD exitCode;
  if (CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = GetLastError();
    CloseHandle(process.hProcess);
  } else {
    exitCode = GetLastError();
  }
  DeleteFileW(reserved);
  if (!DeleteFileW(copy.c_str())) MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return static_cast<int>(Run()); }
