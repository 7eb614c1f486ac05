#pragma once
// A part of the screen saved as a 24-bit BMP, drawn through GDI: unlike X screenshot tools it takes
// no server grab, which under Wine can leave a running program's message queue asleep. Shared by the
// Wine tests' page pictures and the end-to-end driver's snapshots.

#include <windows.h>

#include <cstdio>

#include "platform/win32/scoped_handles.h"

namespace tollwick {

inline bool SaveScreenBitmap(const RECT& rect, const char* path) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  WindowDC screen(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ScopedBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ScopedDC memory(CreateCompatibleDC(screen.get()));
  if (!bitmap || !memory) return false;
  {
    ScopedSelection selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    GdiFlush();
  }
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageBytes;
  FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                 std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                 std::fwrite(bits, imageBytes, 1, out) == 1;
  written = std::fclose(out) == 0 && written;
  return written;
}

}  // namespace tollwick
