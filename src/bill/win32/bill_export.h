#pragma once
// "E&xport..." on the Bill tab: the Save As dialog, then the file written whole or not at all.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bill/bill_store.h"

namespace tollwick {

// Asks for a file (Save As, offering BillCsvFileName) and writes the rows there (BillCsv, newest
// first as the Bill tab lists them). Cancel writes nothing. Returns what the user must be told in
// an "Error!" box: empty, or the file that could not be written with the system's reason. The
// bill is never changed.
std::string ExportBill(HWND owner, const Bill& bill, const std::vector<std::uint32_t>& rows,
                       const UserKey* filter);

// The UTF-8 form of a text in the ANSI code page (CP_ACP), appended to out.
void AppendAnsiAsUtf8(const char* text, std::size_t length, std::string& out);

// The rows as BillCsv has them, written to the path by ReplaceFileWith as they are made.
DWORD ExportBillTo(const char* path, const Bill& bill, const std::vector<std::uint32_t>& rows);

// Writes a file's content into the open file: ERROR_SUCCESS or the error of the write that failed.
using FileContentWriter = std::function<DWORD(HANDLE file)>;
// Has the content written to a temporary file in the path's folder and puts it in the path's
// place in one step, so the path holds its old content or all of the new, never a part.
// ERROR_SUCCESS, or the error of the step that failed (nothing is then left behind).
DWORD ReplaceFileWith(const char* path, const FileContentWriter& write);

}  // namespace tollwick
