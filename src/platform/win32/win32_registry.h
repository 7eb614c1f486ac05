#pragma once
// The registry interface on the real Win32 registry: each call goes to the ANSI function of the same
// name.

#include "platform/registry.h"

namespace tollwick {

class Win32Registry : public Registry {
 public:
  long CreateKey(RegKey parent, const char* path, RegKey* out) override;
  long QueryValue(RegKey key, const char* name, void* data, std::uint32_t* size) override;
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long DeleteValue(RegKey key, const char* name) override;
  long QueryValueWide(RegKey key, const char* name, std::uint32_t* type, void* data,
                      std::uint32_t* size) override;
  long SetValueWide(RegKey key, const char* name, std::uint32_t type, const void* data,
                    std::uint32_t size) override;
  long QuerySubkeyCount(RegKey key, std::uint32_t* count) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long QueryValueCount(RegKey key, std::uint32_t* count) override;
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long OpenKeyToRead(RegKey parent, const char* path, RegKey* out) override;
  long DeleteKey(RegKey key, const char* name) override;
  long CloseKey(RegKey key) override;
};

}  // namespace tollwick
