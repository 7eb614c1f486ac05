#include "ui/win32/single_dialog.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tollwick {
namespace {

// The open ones, by template; a handful at most.
std::vector<std::pair<int, HWND>>& OpenDialogs() {
  static std::vector<std::pair<int, HWND>> open;
  return open;
}

}  // namespace

SingleDialog::SingleDialog(HWND window, int templateId)
    : ModalDialog(window), template_(templateId) {
  OpenDialogs().emplace_back(templateId, window);
}

SingleDialog::SingleDialog(HWND window, int templateId, Environment& environment)
    : ModalDialog(window, environment), template_(templateId) {
  OpenDialogs().emplace_back(templateId, window);
}

SingleDialog::~SingleDialog() { Release(); }

void SingleDialog::Close(INT_PTR result) {
  Release();
  ModalDialog::Close(result);
}

void SingleDialog::Release() {
  auto& open = OpenDialogs();
  open.erase(std::remove(open.begin(), open.end(), std::make_pair(template_, window())), open.end());
}

HWND OpenSingleDialog(int templateId) {
  for (const auto& [shown, window] : OpenDialogs()) {
    if (shown == templateId) return window;
  }
  return nullptr;
}

}  // namespace tollwick
