// SPDX-License-Identifier: GPL-3.0-or-later
#include "userstore.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "outputfile.h"
#include "text.h"
#include "wordlists.h"

namespace kavelin::words {

namespace {

// Creates `folder` and its parents; true when it exists afterwards.
bool makeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

constexpr char kHeader[] =
    "# Kavelin's word store: a word and how often it was picked, tab-separated\n";

}  // namespace

std::string UserStore::defaultPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string folder;
  if (data && *data == '/') {
    folder = data;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home ? home : "") + "/.local/share";
  }
  return folder + "/Kavelin/words.tsv";
}

bool UserStore::load(std::string* error) {
  words_.clear();
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) return true;
    if (error) *error = path_ + ": " + std::strerror(errno);
    return false;
  }
  std::string line;
  std::size_t lineNumber = 0, bad = 0, firstBad = 0;
  std::u16string word;
  std::optional<std::u16string> normal;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    char* end = nullptr;
    const unsigned long count =
        tab == std::string::npos ? 0 : std::strtoul(line.c_str() + tab + 1, &end, 10);
    if (tab == std::string::npos || end == line.c_str() + tab + 1 || *end != '\0' || count == 0 ||
        count > 0xFFFFFFFFul || !decodeUtf8(line.substr(0, tab), word) ||
        !(normal = normaliseWord(word))) {
      if (bad++ == 0) firstBad = lineNumber;
      continue;
    }
    std::uint32_t& stored = words_[*normal];
    stored = static_cast<std::uint32_t>(std::min<unsigned long>(0xFFFFFFFFul, stored + count));
  }
  if (in.bad()) {
    if (error) *error = path_ + ": " + std::strerror(errno);
    return false;
  }
  if (bad) {
    if (error) {
      std::ostringstream s;
      s << path_ << ": " << bad << (bad == 1 ? " line is" : " lines are")
        << " not a word and a count (the first on line " << firstBad << "); skipped";
      *error = s.str();
    }
    return false;
  }
  return true;
}

bool UserStore::save(std::string* error) const {
  const std::size_t slash = path_.rfind('/');
  if (slash != std::string::npos && slash > 0 && !makeFolders(path_.substr(0, slash))) {
    if (error) *error = path_.substr(0, slash) + ": " + std::strerror(errno);
    return false;
  }
  std::string text = kHeader;
  for (const auto& [word, count] : words_) {
    text += encodeUtf8(word);
    text += '\t';
    text += std::to_string(count);
    text += '\n';
  }
  OutputFile out;
  std::string reason;
  if (!out.open(path_, &reason) || !out.write(text, &reason) || !out.commit(&reason)) {
    if (error) *error = path_ + ": " + reason;
    return false;
  }
  return true;
}

void UserStore::add(std::u16string_view word, std::uint32_t times) {
  const std::optional<std::u16string> normal = normaliseWord(word);
  if (!normal) return;
  std::uint32_t& count = words_[*normal];
  count = count > 0xFFFFFFFFu - times ? 0xFFFFFFFFu : count + times;
}

void UserStore::forget(std::u16string_view word) { words_.erase(std::u16string(word)); }

std::uint32_t UserStore::count(std::u16string_view word) const {
  const auto it = words_.find(std::u16string(word));
  return it == words_.end() ? 0 : it->second;
}

}  // namespace kavelin::words
