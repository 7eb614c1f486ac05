#include "bill/win32/bill_export.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "bill/bill_csv.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {
namespace {

// The folder part of a path, its last separator included; the current folder when there is none.
std::string FolderOf(const char* path) {
  const char* end = std::strrchr(path, '\\');
  const char* slash = std::strrchr(path, '/');
  if (slash != nullptr && (end == nullptr || slash > end)) end = slash;
  return end != nullptr ? std::string(path, end + 1) : std::string(".");
}

// One piece of the text (WriteBillCsv's, about kCsvPieceBytes) in one call.
DWORD WritePiece(HANDLE file, const char* bytes, std::size_t size) {
  static_assert(kCsvPieceBytes < (1u << 30), "a piece fits WriteFile's 32-bit count");
  DWORD written = 0;
  if (!WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr)) return GetLastError();
  return written == size ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

std::string WriteFailure(const char* path, DWORD error) {
  char reason[512] = "";
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                     reason, sizeof reason, nullptr) == 0) {
    std::snprintf(reason, sizeof reason, "Error %lu.", static_cast<unsigned long>(error));
  }
  for (std::size_t n = std::strlen(reason); n > 0 && (reason[n - 1] == '\r' || reason[n - 1] == '\n');) {
    reason[--n] = '\0';
  }
  return "The bill could not be written to " + std::string(path) + ".\n\n" + reason;
}

}  // namespace

void AppendAnsiAsUtf8(const char* text, std::size_t length, std::string& out) {
  const int size = static_cast<int>(length);
  const int wideChars = MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideChars), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, size, wide.data(), wideChars);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideChars, nullptr, 0, nullptr,
                                        nullptr);
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(bytes));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideChars, out.data() + at, bytes, nullptr, nullptr);
}

DWORD ExportBillTo(const char* path, const Bill& bill, const std::vector<std::uint32_t>& rows) {
  return ReplaceFileWith(path, [&](HANDLE file) {
    DWORD error = ERROR_SUCCESS;
    WriteBillCsv(bill, rows, AppendAnsiAsUtf8, [&](const char* bytes, std::size_t size) {
      error = WritePiece(file, bytes, size);
      return error == ERROR_SUCCESS;
    });
    return error;
  });
}

DWORD ReplaceFileWith(const char* path, const FileContentWriter& write) {
  // Windows' move refuses to replace a read-only file, but not every implementation of it does
  // (Wine's replaces it): asked first, so the user's protection holds everywhere.
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return ERROR_ACCESS_DENIED;
  }
  char temporary[MAX_PATH];
  if (GetTempFileNameA(FolderOf(path).c_str(), "twk", 0, temporary) == 0) return GetLastError();
  DWORD error = ERROR_SUCCESS;
  {
    HANDLE opened = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    const ScopedKernelObject file(opened != INVALID_HANDLE_VALUE ? opened : nullptr);
    error = file ? write(file.get()) : GetLastError();
    // On the disk before it takes the target's name: a power cut must not leave an empty file
    // there.
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.get())) error = GetLastError();
  }
  if (error == ERROR_SUCCESS &&
      !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) DeleteFileA(temporary);
  return error;
}

std::string ExportBill(HWND owner, const Bill& bill, const std::vector<std::uint32_t>& rows,
                       const UserKey* filter) {
  owner = GetAncestor(owner, GA_ROOT);
  char path[MAX_PATH] = "";
  std::snprintf(path, sizeof path, "%s", BillCsvFileName(filter).c_str());
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = "CSV files (*.csv)\0*.csv\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrDefExt = "csv";
  // The program's current folder stays where it was.
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&dialog)) return {};
  const DWORD error = ExportBillTo(path, bill, rows);
  return error != ERROR_SUCCESS ? WriteFailure(path, error) : std::string();
}

}  // namespace tollwick
