// SPDX-License-Identifier: GPL-3.0-or-later
// Locating and starting the system-information tool.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "registry.h"

namespace kavelin {
namespace {

TEST(RegistryValue, Decoding) {
  struct Case {
    std::uint32_t type;
    std::string bytes;
    std::size_t size;
    std::string before;
    std::string after;
  } cases[] = {
      {REG_SZ, std::string("C:\\msinfo32.exe\0", 16), 16, "", "C:\\msinfo32.exe"},
      {REG_SZ, "no terminator", 13, "", "no terminator"},
      {REG_SZ, std::string("cut here\0junk", 13), 8, "", "cut here"},
      {REG_SZ, std::string("\0", 1), 1, "old", ""},
      {REG_SZ, "", 0, "old", ""},
      // 32-bit numbers are little-endian: 01 00 00 00 is 1.
      {REG_DWORD, std::string("\x01\x00\x00\x00", 4), 4, "", "1"},
      {REG_DWORD, std::string("\x10\x00\x00\x00", 4), 4, "", "16"},
      {REG_DWORD, std::string("\x00\x01\x00\x00", 4), 4, "", "256"},
      {REG_DWORD, std::string("\x78\x56\x34\x12", 4), 4, "", "305419896"},
      {REG_DWORD, std::string("\x00\x00\x00\x01", 4), 4, "", "16777216"},
      {REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4), 4, "", "4294967295"},
      {REG_DWORD, std::string("\x00\x00\x00\x00", 4), 4, "", "0"},
      // Other types leave the text as it was.
      {3, std::string("\x01\x02", 2), 2, "kept", "kept"},
      {7, "multi\0", 6, "kept", "kept"},
  };
  for (const Case& c : cases) {
    std::string keyVal = c.before;
    decodeRegistryValue(c.type, c.bytes, c.size, keyVal);
    EXPECT_EQ(keyVal, c.after) << c.type << " " << c.size;
  }
}

// A registry holding the values it is given.
class FakeRegistry : public Registry {
 public:
  std::map<std::pair<std::string, std::string>, RegistryValue> values;
  std::uint32_t lastAccess = 0;
  std::optional<RegistryValue> query(std::uint32_t root, const std::string& key,
                                     const std::string& name, std::uint32_t access) override {
    lastAccess = access;
    if (root != HKEY_LOCAL_MACHINE) return std::nullopt;
    const auto found = values.find({key, name});
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
};

TEST(RegistryValue, GetKeyValue) {
  FakeRegistry registry;
  registry.values[{kMsinfoKey, "PATH"}] = {REG_SZ, std::string("/usr/bin/tool\0", 14)};
  registry.values[{"big", "v"}] = {REG_SZ, std::string(1025, 'x')};
  std::string value = "old";
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", value));
  EXPECT_EQ(value, "/usr/bin/tool");
  EXPECT_EQ(registry.lastAccess, 0x2003Fu);
  EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, kMsinfoKey, "Other", value));
  EXPECT_EQ(value, "");
  value = "old";
  EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "big", "v", value));  // over 1024 bytes
  EXPECT_EQ(value, "");
  EXPECT_FALSE(GetKeyValue(registry, 0x80000001, kMsinfoKey, "PATH", value));
}

TEST(SystemInfo, StartsWhatTheRegistryNames) {
  struct Case {
    std::optional<std::string> path;      // value PATH
    std::optional<std::string> location;  // value MSINFO
    bool locationFileExists;
    bool startSucceeds;
    std::string started;  // empty: nothing started
    bool result;
  } cases[] = {
      {"/opt/tool", std::nullopt, false, true, "/opt/tool", true},
      {"/missing/tool", std::nullopt, false, false, "/missing/tool", false},
      {std::nullopt, "C:\\Tools", true, true, "C:\\Tools\\MSINFO32.EXE", true},
      {std::nullopt, "C:\\Tools", false, true, "", false},
      {std::nullopt, std::nullopt, false, true, "", false},
  };
  for (const Case& c : cases) {
    FakeRegistry registry;
    if (c.path) registry.values[{kMsinfoKey, "PATH"}] = {REG_SZ, *c.path + '\0'};
    if (c.location) registry.values[{kMsinfoLocationKey, "MSINFO"}] = {REG_SZ, *c.location};
    std::string started;
    const bool ok = StartSysInfo(
        registry,
        [&](const std::string& p) {
          started = p;
          return c.startSucceeds;
        },
        [&](const std::string&) { return c.locationFileExists; });
    EXPECT_EQ(ok, c.result);
    EXPECT_EQ(started, c.started);
  }
}

TEST(SystemInfo, LinuxLooksForAKnownProgramOnPath) {
  QTemporaryDir bin;
  const QByteArray path = qgetenv("PATH");
  auto tool = [&](const char* name) {
    QFile f(bin.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.setPermissions(QFile::ExeOwner | QFile::ReadOwner);
  };
  qputenv("PATH", bin.path().toUtf8());
  std::string value;
  EXPECT_FALSE(GetKeyValue(systemRegistry(), HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", value));
  tool("xfce4-taskmanager");
  tool("kinfocenter");
  EXPECT_TRUE(GetKeyValue(systemRegistry(), HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", value));
  EXPECT_EQ(value, bin.filePath("kinfocenter").toStdString());  // the first of the list found
  EXPECT_FALSE(
      GetKeyValue(systemRegistry(), HKEY_LOCAL_MACHINE, kMsinfoLocationKey, "MSINFO", value));
  qputenv("PATH", path);
}

}  // namespace
}  // namespace kavelin
