#include "ui/win32/icon_sizes.h"

namespace tollwick {

namespace {

// Looked up rather than linked: the per-DPI calls came with Windows 10 (1607), so the program
// still starts on older Windows, and MinGW's import library lacks LoadIconWithScaleDown, which only
// version 6 of comctl32 (the one the manifest asks for) has.
template <typename Function>
Function SystemFunction(const char* module, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryA(module), name)));
}

}  // namespace

int TrayIconSize() {
  static const auto metricForDpi =
      SystemFunction<int(WINAPI*)(int, UINT)>("user32.dll", "GetSystemMetricsForDpi");
  static const auto dpiOfWindow =
      SystemFunction<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow");
  if (metricForDpi != nullptr && dpiOfWindow != nullptr) {
    if (HWND taskBar = FindWindowA("Shell_TrayWnd", nullptr)) {
      if (const UINT dpi = dpiOfWindow(taskBar)) return metricForDpi(SM_CXSMICON, dpi);
    }
  }
  return GetSystemMetrics(SM_CXSMICON);
}

ScopedIcon LoadIconOfSize(HINSTANCE instance, int icon, int size) {
  static const auto load = SystemFunction<HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*)>(
      "comctl32.dll", "LoadIconWithScaleDown");
  HICON loaded = nullptr;
  if (load != nullptr && SUCCEEDED(load(instance, MAKEINTRESOURCEW(icon), size, size, &loaded))) {
    return ScopedIcon(loaded);
  }
  // Without common controls 6: the image nearest in size, scaled either way.
  return ScopedIcon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(icon), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace tollwick
