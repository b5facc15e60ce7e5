// SPDX-License-Identifier: GPL-3.0-or-later
// GetIni and WriteIni on arbitrary settings files. The input is NUL-separated:
// the file's bytes, then a section, a key and a value to write, then another
// section and key. Whatever the file held, reading back gives what was
// written, the other key keeps its value, and writing the same again changes
// no byte.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "inifile.h"

namespace {

std::vector<std::string> fields(const std::uint8_t* data, std::size_t size, std::size_t count) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && out.size() < count) {
      out.emplace_back();
    } else {
      out.back() += static_cast<char>(data[i]);
    }
  }
  out.resize(count);
  return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Names and values that a settings file can hold as they are: one line, no
// surrounding blanks, no brackets in a section name, no '=' in a key, a key
// that does not start a comment or a section, a value that is not quoted.
bool storable(const std::string& s, const char* forbidden, std::size_t maxLength) {
  if (s.empty() || s.size() > maxLength || isBlank(s.front()) || isBlank(s.back())) return false;
  for (char c : s) {
    if (c == '\n' || c == '\r' || c == '\0') return false;
    for (const char* f = forbidden; *f; ++f) {
      if (c == *f) return false;
    }
  }
  return true;
}

bool quoted(const std::string& v) {
  return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The file the target works on, in a folder of its own that goes at exit
// (in memory when /dev/shm is there: the writes are flushed to the disk).
std::string scratchFolder;

void removeScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(scratchFolder, ignored);
}

const std::string& scratchFile() {
  static const std::string path = [] {
    const char* shm = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    scratchFolder = std::string(shm) + "/kavelin-ini-fuzz-XXXXXX";
    if (!mkdtemp(scratchFolder.data())) std::abort();
    std::atexit(removeScratch);
    return scratchFolder + "/settings.ini";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> f = fields(data, size, 6);
  const std::string& content = f[0];
  const std::string &section = f[1], &key = f[2], &value = f[3];
  const std::string &otherSection = f[4], &otherKey = f[5];
  if (!storable(section, "[]", 64) || !storable(key, "=[", 64) || key[0] == ';' ||
      !storable(value, "", 254) || quoted(value)) {
    return 0;
  }
  const std::string& path = scratchFile();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
  }
  const std::string otherBefore = kavelin::GetIni(otherSection, otherKey, path);
  std::string error;
  FUZZ_CHECK(kavelin::WriteIni(section, key, value, path, &error));
  FUZZ_CHECK(kavelin::GetIni(section, key, path) == value);

  auto same = [](const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) !=
          std::tolower(static_cast<unsigned char>(b[i]))) {
        return false;
      }
    }
    return true;
  };
  const bool sameSection = same(otherSection, section);
  if (!(sameSection && same(otherKey, key))) {
    FUZZ_CHECK(kavelin::GetIni(otherSection, otherKey, path) == otherBefore);
  }
  const std::string once = slurp(path);
  FUZZ_CHECK(kavelin::WriteIni(section, key, value, path, &error));
  FUZZ_CHECK(slurp(path) == once);
  return 0;
}
