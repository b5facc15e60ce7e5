// SPDX-License-Identifier: GPL-3.0-or-later
#include "inifile.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include <sys/stat.h>

#include "outputfile.h"

namespace kavelin {
namespace {

constexpr std::size_t kMaxValue = 254;

struct Line {
  std::string text;  // without its line break
  std::string end;   // "\r\n", "\n" or "" (last line without a break)
};

std::string trim(const std::string& s) {
  const auto begin = s.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  const auto end = s.find_last_not_of(" \t\r");
  return s.substr(begin, end - begin + 1);
}

bool equalNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

bool readFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  if (in.bad()) return false;
  bytes = s.str();
  return true;
}

std::vector<Line> splitLines(const std::string& bytes) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < bytes.size()) {
    const std::size_t lf = bytes.find('\n', begin);
    if (lf == std::string::npos) {
      lines.push_back({bytes.substr(begin), ""});
      break;
    }
    const bool crlf = lf > begin && bytes[lf - 1] == '\r';
    lines.push_back({bytes.substr(begin, lf - begin - crlf), crlf ? "\r\n" : "\n"});
    begin = lf + 1;
  }
  return lines;
}

// The section name of a "[name]" line, if it is one.
bool sectionName(const std::string& line, std::string& name) {
  const std::string t = trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const auto close = t.find(']');
  if (close == std::string::npos) return false;
  name = trim(t.substr(1, close - 1));
  return true;
}

// The key and value of a "key=value" line, if it is one.
bool keyValue(const std::string& line, std::string& key, std::string& value) {
  const std::string t = trim(line);
  if (t.empty() || t[0] == ';') return false;
  const auto eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = trim(t.substr(0, eq));
  value = trim(t.substr(eq + 1));
  return true;
}

// Index range of the lines of `section` after its header: [first, end).
bool findSection(const std::vector<Line>& lines, const std::string& section, std::size_t& header,
                 std::size_t& end) {
  std::string name;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!sectionName(lines[i].text, name) || !equalNoCase(name, section)) continue;
    header = i;
    end = i + 1;
    while (end < lines.size() && !sectionName(lines[end].text, name)) ++end;
    return true;
  }
  return false;
}

// The file's bytes with `key` of `section` set to `value`.
std::string withEntry(const std::string& bytes, const std::string& section, const std::string& key,
                      const std::string& value) {
  std::vector<Line> lines = splitLines(bytes);
  // New lines end the way the file's lines do.
  std::string eol = "\n";
  for (const Line& line : lines) {
    if (!line.end.empty()) {
      eol = line.end;
      break;
    }
  }
  if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
  const std::string entry = key + "=" + value;

  std::size_t header = 0, end = 0;
  if (!findSection(lines, section, header, end)) {
    lines.push_back({"[" + section + "]", eol});
    lines.push_back({entry, eol});
  } else {
    std::string k, v;
    std::size_t lastEntry = header;
    bool replaced = false;
    for (std::size_t i = header + 1; i < end; ++i) {
      if (!keyValue(lines[i].text, k, v)) continue;
      if (equalNoCase(k, key)) {
        lines[i].text = entry;
        replaced = true;
        break;
      }
      lastEntry = i;
    }
    if (!replaced) {
      // After the section's last non-blank line.
      std::size_t at = end;
      while (at > lastEntry + 1 && trim(lines[at - 1].text).empty()) --at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{entry, eol});
    }
  }
  std::string out;
  for (const Line& line : lines) out += line.text + line.end;
  return out;
}

}  // namespace

std::vector<std::optional<std::string>> FindIni(const std::string& section,
                                                const std::vector<std::string>& keys,
                                                const std::string& path) {
  std::vector<std::optional<std::string>> values(keys.size());
  std::string bytes;
  if (!readFile(path, bytes)) return values;
  const std::vector<Line> lines = splitLines(bytes);
  std::size_t header = 0, end = 0;
  if (!findSection(lines, section, header, end)) return values;
  for (std::size_t n = 0; n < keys.size(); ++n) {
    std::string k, v;
    for (std::size_t i = header + 1; i < end; ++i) {
      if (!keyValue(lines[i].text, k, v) || !equalNoCase(k, keys[n])) continue;
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
      }
      values[n] = v.substr(0, kMaxValue);
      break;
    }
  }
  return values;
}

std::string GetIni(const std::string& section, const std::string& key, const std::string& path) {
  return FindIni(section, {key}, path).front().value_or(kNotAvailable);
}

bool WriteIni(const std::string& section,
              const std::vector<std::pair<std::string, std::string>>& entries,
              const std::string& path, std::string* error) {
  std::string bytes;
  const bool exists = readFile(path, bytes);
  if (!exists) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {  // there, but unreadable
      if (error) *error = std::strerror(EACCES);
      return false;
    }
  }
  for (const auto& [key, value] : entries) bytes = withEntry(bytes, section, key, value);
  return writeFileAtomically(path, bytes, error);
}

bool WriteIni(const std::string& section, const std::string& key, const std::string& value,
              const std::string& path, std::string* error) {
  return WriteIni(section, {{key, value}}, path, error);
}

}  // namespace kavelin
