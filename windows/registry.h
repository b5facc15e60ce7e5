// SPDX-License-Identifier: GPL-3.0-or-later
// Registry values that locate the system-information tool, and the launcher
// that starts it. Linux has no registry: there the lookup answers the one value
// the launcher asks first with the first system-information program it finds.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kavelin {

constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002;
constexpr std::uint32_t KEY_ALL_ACCESS = 0x2003F;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::size_t kRegistryBufferSize = 1024;

inline const std::string kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline const std::string kMsinfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

// A value as the registry hands it out: its type and bytes.
struct RegistryValue {
  std::uint32_t type = REG_SZ;
  std::string bytes;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // The value `name` of `key` under `root`, or nothing when the key cannot be
  // opened with `access` or has no such value.
  virtual std::optional<RegistryValue> query(std::uint32_t root, const std::string& key,
                                             const std::string& name, std::uint32_t access) = 0;
};

// The registry of this platform.
Registry& systemRegistry();

// The text of a value read with `size` bytes: the bytes cut to that size and a
// final zero byte dropped; a string as it stands, a 32-bit number as its
// decimal text. Any other type leaves `keyVal` as it was.
void decodeRegistryValue(std::uint32_t type, const std::string& bytes, std::size_t size,
                         std::string& keyVal);

// Reads value `subKeyRef` of `keyName` into `keyVal`; false (and an empty
// `keyVal`) when the key or the value cannot be read.
bool GetKeyValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal);

// Finds the system-information program and starts it with `start`; false when
// there is none or it does not start (the caller then says so).
bool StartSysInfo(Registry& registry, const std::function<bool(const std::string&)>& start,
                  const std::function<bool(const std::string&)>& fileExists);

}  // namespace kavelin
