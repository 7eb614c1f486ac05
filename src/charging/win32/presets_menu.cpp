#include "charging/win32/presets_menu.h"

#include <string>
#include <vector>

#include "charging/discount_presets.h"

namespace tollwick {

namespace {

void InsertItem(HMENU menu, UINT position, const char* text, UINT id, ULONG_PTR data, UINT state) {
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
  item.fType = MFT_STRING;
  item.fState = state;
  item.wID = id;
  item.dwItemData = data;
  item.dwTypeData = const_cast<char*>(text);
  InsertMenuItemA(menu, position, TRUE, &item);
}

}  // namespace

void FillPresetsMenu(HMENU menu, const SettingsStore& store, UINT firstId) {
  const std::vector<std::string> names = PresetNames(store);
  for (UINT i = 0; i < names.size(); ++i) InsertItem(menu, i, names[i].c_str(), firstId + i, i, 0);
  if (names.empty()) InsertItem(menu, 0, "No presets", firstId, 1, MFS_GRAYED | MFS_DISABLED);
}

}  // namespace tollwick
