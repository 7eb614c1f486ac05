// Drives a running tollwick.exe from end-to-end test scripts, as a user or the system would: waits
// for its window, sends it menu commands, tray clicks and system messages, types into and presses
// the controls of its dialogs and of the page in front of a tabbed dialog, picks tabs, list rows
// and combo box entries, or kills it; gets Wine to see the default printer and measures its page;
// and, for the installer, lists the running Tollwicks and reads a key's rights.

#include <windows.h>
#include <commctrl.h>
#include <sddl.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/print_job.h"
#include "screen_bitmap.h"

namespace {

constexpr const char* kMainClass = "TOLLWICKCLASS";

// Waits, with a limit, for a window of the class (and title) to be there, or to be gone.
int WaitForWindow(const char* className, const char* title, int seconds, bool there = true) {
  for (int i = 0; i < seconds * 10; ++i) {
    if ((FindWindowA(className, title) != nullptr) == there) return 0;
    Sleep(100);
  }
  return 1;
}

DWORD ProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

// The whole screen as a 24-bit BMP.
bool Snapshot(const char* path) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return tollwick::SaveScreenBitmap(screen, path);
}

// A control of the dialog, or of the page (a child dialog) showing in it: a tabbed dialog keeps one
// page visible, and ids repeat from page to page.
HWND FindControl(const char* title, int id) {
  HWND dialog = FindWindowA("#32770", title);
  if (dialog == nullptr) return nullptr;
  if (HWND control = GetDlgItem(dialog, id)) return control;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(child)) {
      if (HWND control = GetDlgItem(child, id)) return control;
    }
  }
  return nullptr;
}

// A record placed in the program's own memory, for messages whose parameter points at one: the
// system carries only a few such messages across processes.
class RemoteRecord {
 public:
  RemoteRecord(HWND window, const void* bytes, SIZE_T size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE,
                           ProcessOf(window));
    if (process_ == nullptr) return;
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (address_ != nullptr) WriteProcessMemory(process_, address_, bytes, size, nullptr);
  }
  ~RemoteRecord() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteRecord(const RemoteRecord&) = delete;
  RemoteRecord& operator=(const RemoteRecord&) = delete;
  LPARAM get() const { return reinterpret_cast<LPARAM>(address_); }
  bool Read(void* bytes, SIZE_T size) const {
    return address_ != nullptr && ReadProcessMemory(process_, address_, bytes, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// Selects the tab with a click of the mouse on it, so the tab control tells its dialog as it does
// for a user. (A notification sent from here would not reach it: it cannot cross processes.)
bool SelectTab(const char* title, int tabId, int index) {
  HWND tabs = FindControl(title, tabId);
  if (tabs == nullptr) return false;
  RECT rect{};
  RemoteRecord remote(tabs, &rect, sizeof rect);
  if (!SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), remote.get()) ||
      !remote.Read(&rect, sizeof rect)) {
    return false;
  }
  const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(tabs, WM_LBUTTONUP, 0, point);
  return true;
}

// Selects exactly the given rows of a list view, as clicks with Ctrl held would.
bool SelectRows(const char* title, int listId, char** rows, int count) {
  HWND list = FindControl(title, listId);
  if (list == nullptr) return false;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  RemoteRecord none(list, &item, sizeof item);
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), none.get());
  for (int i = 0; i < count; ++i) {
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    RemoteRecord one(list, &item, sizeof item);
    if (one.get() == 0) return false;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(std::atoi(rows[i])), one.get());
  }
  return true;
}

// Picks the entry of a combo box with exactly this text and tells its dialog, as a choice with the
// mouse would (CBN_SELCHANGE).
bool ChooseEntry(const char* title, int boxId, const char* text) {
  HWND box = FindControl(title, boxId);
  if (box == nullptr) return false;
  // The system carries the text of this message across to the program itself.
  const LRESULT entry = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text));
  if (entry < 0 || SendMessageA(box, CB_SETCURSEL, entry, 0) != entry) return false;
  PostMessageA(GetParent(box), WM_COMMAND, MAKEWPARAM(boxId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
  return true;
}

// Wine copies the host's printers into its registry, and makes the host's default printer its
// own, when a process first loads winspool: asking for the printers does it. Prints their names,
// then the default printer's device name.
int ListPrinters() {
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
  std::string buffer(needed, '\0');
  if (needed > 0 &&
      EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, reinterpret_cast<BYTE*>(&buffer[0]), needed,
                    &needed, &count)) {
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) std::printf("printer %s\n", printers[i].pPrinterName);
  }
  std::printf("default %s\n", tollwick::DefaultPrinterName().c_str());
  return 0;
}

// The page of the default printer as a print job measures it, without starting a document:
// printable width and height, line height, left and top margins, in device units.
int PrinterMetrics() {
  const std::string name = tollwick::DefaultPrinterName();
  tollwick::ScopedDC printer(CreateDCA(nullptr, name.c_str(), nullptr, nullptr));
  if (!printer) return 1;
  const tollwick::PrintJob job(std::move(printer), tollwick::ScopedPrintDocument(nullptr, ""));
  std::printf("%d %d %d %d %d\n", PrintableWidth(job), PrintableHeight(job), LineHeight(job),
              LeftMargin(job), TopMargin(job));
  return 0;
}

// Sets the default printer's resolution, as a user would in its printing preferences: later print
// jobs made without a device mode of their own print at that many dots per inch.
int SetPrinterResolution(int dotsPerInch) {
  std::string name = tollwick::DefaultPrinterName();
  PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!OpenPrinterA(&name[0], &printer, &access)) return 1;
  DWORD needed = 0;
  GetPrinterA(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  bool done = false;
  if (needed > 0 && GetPrinterA(printer, 2, buffer.data(), needed, &needed)) {
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    if (info->pDevMode != nullptr) {
      info->pDevMode->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
      info->pDevMode->dmPrintQuality = static_cast<short>(dotsPerInch);
      info->pDevMode->dmYResolution = static_cast<short>(dotsPerInch);
      info->pSecurityDescriptor = nullptr;
      done = SetPrinterA(printer, 2, buffer.data(), 0) != FALSE;
    }
  }
  ClosePrinter(printer);
  return done ? 0 : 1;
}

// The process id of every running Tollwick's main window, one a line.
int ListMainWindows() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, kMainClass, nullptr)) != nullptr) {
    std::printf("%lu\n", static_cast<unsigned long>(ProcessOf(window)));
  }
  return 0;
}

// The DACL of a key of HKEY_LOCAL_MACHINE as stored, read with RegGetKeySecurity, in SDDL.
int PrintKeyDacl(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL, &key) != ERROR_SUCCESS) return 1;
  DWORD size = 0;
  RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
  std::vector<BYTE> descriptor(size);
  char* text = nullptr;
  const bool read =
      size > 0 &&
      RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.data(), &size) ==
          ERROR_SUCCESS &&
      ConvertSecurityDescriptorToStringSecurityDescriptorA(
          descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
  RegCloseKey(key);
  if (!read) return 1;
  std::printf("%s\n", text);
  LocalFree(text);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tollwick_ctl wait-window SECONDS\n"
               "       tollwick_ctl command ID\n"
               "       tollwick_ctl tray LPARAM\n"
               "       tollwick_ctl kill\n"
               "       tollwick_ctl send MESSAGE WPARAM LPARAM\n"
               "       tollwick_ctl wait-exit SECONDS\n"
               "       tollwick_ctl wait-dialog TITLE SECONDS\n"
               "       tollwick_ctl wait-dialog-closed TITLE SECONDS\n"
               "       tollwick_ctl dialog-text TITLE CONTROL_ID\n"
               "       tollwick_ctl press TITLE BUTTON_ID\n"
               "       tollwick_ctl click TITLE BUTTON_ID\n"
               "       tollwick_ctl set-text TITLE CONTROL_ID TEXT\n"
               "       tollwick_ctl tab TITLE TAB_CONTROL_ID INDEX\n"
               "       tollwick_ctl select-rows TITLE LIST_ID ROW...\n"
               "       tollwick_ctl row-count TITLE LIST_ID\n"
               "       tollwick_ctl choose TITLE COMBO_ID TEXT\n"
               "       tollwick_ctl printers\n"
               "       tollwick_ctl printer-metrics\n"
               "       tollwick_ctl printer-resolution DPI\n"
               "       tollwick_ctl snapshot FILE.bmp\n"
               "       tollwick_ctl windows\n"
               "       tollwick_ctl key-dacl PATH_BELOW_HKLM\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const char* verb = argv[1];
  if (std::strcmp(verb, "wait-window") == 0 && argc == 3) {
    return WaitForWindow(kMainClass, nullptr, std::atoi(argv[2]));
  }
  if (std::strcmp(verb, "wait-dialog") == 0 && argc == 4) {
    return WaitForWindow("#32770", argv[2], std::atoi(argv[3]));
  }
  if (std::strcmp(verb, "wait-dialog-closed") == 0 && argc == 4) {
    return WaitForWindow("#32770", argv[2], std::atoi(argv[3]), false);
  }
  if (std::strcmp(verb, "wait-exit") == 0 && argc == 3) {
    return WaitForWindow(kMainClass, nullptr, std::atoi(argv[2]), false);
  }
  if (std::strcmp(verb, "dialog-text") == 0 && argc == 4) {
    HWND control = FindControl(argv[2], std::atoi(argv[3]));
    if (control == nullptr) return 1;
    char text[256] = "";
    // Asked of the control itself: an edit keeps its text where only it can read it. With a limit,
    // so a program that does not answer fails the check rather than hanging it.
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    std::printf("%s\n", text);
    return 0;
  }
  if (std::strcmp(verb, "snapshot") == 0 && argc == 3) return Snapshot(argv[2]) ? 0 : 1;
  if (std::strcmp(verb, "press") == 0 && argc == 4) {
    const int id = std::atoi(argv[3]);
    HWND control = FindControl(argv[2], id);
    HWND dialog = control ? GetParent(control) : FindWindowA("#32770", argv[2]);
    if (dialog == nullptr) return 1;
    // Posted: a button that opens a modal dialog would not return until it closed.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (std::strcmp(verb, "click") == 0 && argc == 4) {
    HWND button = FindControl(argv[2], std::atoi(argv[3]));
    if (button == nullptr) return 1;
    // A click as the mouse makes it: a check box or radio button changes its state, then tells
    // its dialog.
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
  }
  if (std::strcmp(verb, "set-text") == 0 && argc == 5) {
    HWND control = FindControl(argv[2], std::atoi(argv[3]));
    if (control == nullptr) return 1;
    // As typing would, the edit tells its dialog of the change (EN_CHANGE).
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    return 0;
  }
  if (std::strcmp(verb, "tab") == 0 && argc == 5) {
    return SelectTab(argv[2], std::atoi(argv[3]), std::atoi(argv[4])) ? 0 : 1;
  }
  if (std::strcmp(verb, "select-rows") == 0 && argc >= 5) {
    return SelectRows(argv[2], std::atoi(argv[3]), argv + 4, argc - 4) ? 0 : 1;
  }
  if (std::strcmp(verb, "row-count") == 0 && argc == 4) {
    HWND list = FindControl(argv[2], std::atoi(argv[3]));
    if (list == nullptr) return 1;
    std::printf("%d\n", static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
  }
  if (std::strcmp(verb, "choose") == 0 && argc == 5) {
    return ChooseEntry(argv[2], std::atoi(argv[3]), argv[4]) ? 0 : 1;
  }
  if (std::strcmp(verb, "windows") == 0 && argc == 2) return ListMainWindows();
  if (std::strcmp(verb, "key-dacl") == 0 && argc == 3) return PrintKeyDacl(argv[2]);
  if (std::strcmp(verb, "printers") == 0 && argc == 2) return ListPrinters();
  if (std::strcmp(verb, "printer-metrics") == 0 && argc == 2) return PrinterMetrics();
  if (std::strcmp(verb, "printer-resolution") == 0 && argc == 3) {
    return SetPrinterResolution(std::atoi(argv[2]));
  }
  HWND window = FindWindowA(kMainClass, nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "tollwick_ctl: no Tollwick window\n");
    return 1;
  }
  if (std::strcmp(verb, "command") == 0 && argc == 3) {
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
    return 0;
  }
  if (std::strcmp(verb, "tray") == 0 && argc == 3) {
    PostMessageA(window, WM_APP + 100, 1000, static_cast<LPARAM>(std::atoi(argv[2])));
    return 0;
  }
  if (std::strcmp(verb, "send") == 0 && argc == 5) {
    // As the system sends WM_ENDSESSION or WM_POWERBROADCAST: it waits for the answer.
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutA(
        window, static_cast<UINT>(std::strtoul(argv[2], nullptr, 0)),
        static_cast<WPARAM>(std::strtoul(argv[3], nullptr, 0)),
        static_cast<LPARAM>(std::strtol(argv[4], nullptr, 0)), SMTO_ABORTIFHUNG, 10000, &result);
    return sent != 0 ? 0 : 1;
  }
  if (std::strcmp(verb, "kill") == 0 && argc == 2) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOf(window));
    if (process == nullptr) return 1;
    // As a crash or a power cut would: no message reaches the program.
    BOOL killed = TerminateProcess(process, 9);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    return killed ? 0 : 1;
  }
  return Usage();
}
