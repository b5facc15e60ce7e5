// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry.h"

#include <QStandardPaths>
#include <QString>

namespace kavelin {
namespace {

// On Linux the first of these found on PATH stands for the system-information
// program.
const char* const kSystemInfoPrograms[] = {"hardinfo", "gnome-system-monitor", "kinfocenter",
                                           "xfce4-taskmanager"};

class LinuxRegistry : public Registry {
 public:
  std::optional<RegistryValue> query(std::uint32_t root, const std::string& key,
                                     const std::string& name, std::uint32_t) override {
    if (root != HKEY_LOCAL_MACHINE || key != kMsinfoKey || name != "PATH") return std::nullopt;
    for (const char* program : kSystemInfoPrograms) {
      const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
      if (!path.isEmpty()) return RegistryValue{REG_SZ, path.toStdString() + '\0'};
    }
    return std::nullopt;
  }
};

}  // namespace

Registry& systemRegistry() {
  static LinuxRegistry registry;
  return registry;
}

void decodeRegistryValue(std::uint32_t type, const std::string& bytes, std::size_t size,
                         std::string& keyVal) {
  std::string value = bytes.substr(0, std::min(size, bytes.size()));
  if (!value.empty() && value.back() == '\0') value.pop_back();
  if (type == REG_SZ) {
    keyVal = value;
  } else if (type == REG_DWORD) {
    // Little-endian: the bytes from last to first.
    std::uint32_t number = 0;
    for (std::size_t i = std::min<std::size_t>(value.size(), 4); i-- > 0;) {
      number = (number << 8) | static_cast<unsigned char>(value[i]);
    }
    keyVal = std::to_string(number);
  }
}

bool GetKeyValue(Registry& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal) {
  const std::optional<RegistryValue> value =
      registry.query(keyRoot, keyName, subKeyRef, KEY_ALL_ACCESS);
  if (!value || value->bytes.size() > kRegistryBufferSize) {
    keyVal.clear();
    return false;
  }
  decodeRegistryValue(value->type, value->bytes, value->bytes.size(), keyVal);
  return true;
}

bool StartSysInfo(Registry& registry, const std::function<bool(const std::string&)>& start,
                  const std::function<bool(const std::string&)>& fileExists) {
  std::string path;
  if (!GetKeyValue(registry, HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", path)) {
    if (!GetKeyValue(registry, HKEY_LOCAL_MACHINE, kMsinfoLocationKey, "MSINFO", path)) {
      return false;
    }
    path += "\\MSINFO32.EXE";
    if (!fileExists(path)) return false;
  }
  return start(path);
}

}  // namespace kavelin
