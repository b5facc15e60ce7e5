// SPDX-License-Identifier: GPL-3.0-or-later
// Reading, normalising and merging the installed Hindi word lists.
#include "wordlists.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <unordered_map>

#include "devanagari.h"
#include "text.h"

extern char** environ;

namespace kavelin::words {

namespace {

using deva::kNukta;
using deva::kZwj;
using deva::kZwnj;

int combiningClass(char16_t c) {
  switch (c) {
    case 0x093C:
      return 7;
    case 0x094D:
      return 9;
    case 0x0952:
      return 220;
    case 0x0951:
    case 0x0953:
    case 0x0954:
      return 230;
    default:
      return 0;
  }
}

using deva::composeWithNukta;
using deva::nuktaBase;

bool isLetter(char16_t c) {
  return (c >= 0x0904 && c <= 0x0939) || c == 0x0950 || (c >= 0x0958 && c <= 0x0961) ||
         (c >= 0x0972 && c <= 0x097F);
}

bool isWordMark(char16_t c) {
  return (c >= 0x0900 && c <= 0x0903) || (c >= 0x093A && c <= 0x094F) ||
         (c >= 0x0955 && c <= 0x0957) || c == 0x0962 || c == 0x0963;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

std::string withThousands(std::size_t n) {
  std::string digits = std::to_string(n);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace

namespace {

// True when NFC leaves `text` as it is: nothing to decompose, the marks in
// order, no nukta to compose.
bool isDevanagariNfc(std::u16string_view text) {
  int lastClass = 0;
  char16_t last = 0;
  for (char16_t c : text) {
    if (nuktaBase(c)) return false;
    const int cc = combiningClass(c);
    if (cc != 0 && cc < lastClass) return false;
    if (c == kNukta && composeWithNukta(last)) return false;
    lastClass = cc;
    last = c;
  }
  return true;
}

}  // namespace

std::u16string devanagariNfc(std::u16string_view text) {
  if (isDevanagariNfc(text)) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size() + 2);
  for (char16_t c : text) {
    if (char16_t base = nuktaBase(c)) {
      out.push_back(base);
      out.push_back(kNukta);
    } else {
      out.push_back(c);
    }
  }
  // Canonical order: an insertion sort (stable) of each run of marks by class.
  for (std::size_t i = 1; i < out.size(); ++i) {
    const char16_t c = out[i];
    const int cc = combiningClass(c);
    if (cc == 0) continue;
    std::size_t j = i;
    while (j > 0 && combiningClass(out[j - 1]) > cc) {
      out[j] = out[j - 1];
      --j;
    }
    out[j] = c;
  }
  // Composition: the nukta has the lowest class, so only a nukta right after
  // its consonant is unblocked.
  std::size_t w = 0;
  for (std::size_t r = 0; r < out.size(); ++r) {
    if (out[r] == kNukta && w > 0) {
      if (char16_t composed = composeWithNukta(out[w - 1])) {
        out[w - 1] = composed;
        continue;
      }
    }
    out[w++] = out[r];
  }
  out.resize(w);
  return out;
}

bool isDevanagariWord(std::u16string_view word) {
  if (word.empty() || !isLetter(word.front())) return false;
  return std::all_of(word.begin() + 1, word.end(),
                     [](char16_t c) { return isLetter(c) || isWordMark(c); });
}

std::optional<std::u16string> normaliseWord(std::u16string_view word) {
  std::u16string nfc = devanagariNfc(word);
  nfc.erase(
      std::remove_if(nfc.begin(), nfc.end(), [](char16_t c) { return c == kZwj || c == kZwnj; }),
      nfc.end());
  // Taking out a joiner can bring a consonant and a nukta together.
  if (nfc.size() != word.size()) nfc = devanagariNfc(nfc);
  if (!isDevanagariWord(nfc)) return std::nullopt;
  return nfc;
}

// --- hunspell ------------------------------------------------------------------

std::vector<std::string> parseHunspellDic(std::string_view text) {
  std::vector<std::string> words;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  bool first = true;
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      first = false;
      std::size_t count = 0;
      auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), count);
      if (ec == std::errc() && end == line.data() + line.size()) continue;
    }
    std::string word;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '\\' && i + 1 < line.size() && line[i + 1] == '/') {
        word.push_back('/');
        ++i;
        continue;
      }
      if (c == '/' || c == '\t' || c == ' ') break;
      word.push_back(c);
    }
    if (!word.empty()) words.push_back(std::move(word));
  }
  return words;
}

// --- AT&T transducers ----------------------------------------------------------

namespace {

bool isEpsilon(std::string_view symbol) {
  return symbol == "@0@" || symbol == "\xCE\xB5" /* ε */ ||
         (symbol.size() >= 2 && symbol.front() == '@' && symbol.back() == '@');
}

// Splits on tabs (or, for a line without tabs, on spaces); a trailing empty
// field (from a trailing tab) is dropped.
std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  const char sep = line.find('\t') != std::string_view::npos ? '\t' : ' ';
  std::size_t start = 0;
  while (true) {
    std::size_t end = line.find(sep, start);
    fields.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (fields.size() > 1 && fields.back().empty()) fields.pop_back();
  if (sep == ' ') {
    fields.erase(
        std::remove_if(fields.begin(), fields.end(), [](std::string_view f) { return f.empty(); }),
        fields.end());
  }
  return fields;
}

bool parseState(std::string_view field, std::uint32_t& out) {
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), out);
  return ec == std::errc() && end == field.data() + field.size();
}

bool parseWeight(std::string_view field) {
  double value = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  return ec == std::errc() && end == field.data() + field.size();
}

struct Arc {
  std::uint32_t target;
  std::uint32_t symbol;  // 0: epsilon
};

// One transducer's input side, states numbered as in the file.
struct Section {
  std::uint32_t start = 0;
  bool hasStart = false;
  std::vector<std::vector<Arc>> arcs;
  std::vector<bool> final;

  void grow(std::uint32_t state) {
    if (state >= arcs.size()) {
      arcs.resize(state + 1);
      final.resize(state + 1, false);
    }
  }
};

class Enumerator {
 public:
  Enumerator(const Section& section, const std::vector<std::string>& symbols,
             const std::vector<bool>& followed, const AttLimits& limits,
             const std::function<void(std::string_view)>& visit, AttResult& result)
      : section_(section),
        symbols_(symbols),
        followed_(followed),
        limits_(limits),
        visit_(visit),
        result_(result),
        mark_(section.arcs.size(), 0) {}

  void run() {
    if (section_.arcs.empty()) return;
    std::vector<std::uint32_t> start = closure({section_.start});
    path_.push_back(start);
    walk(start, 0);
  }

 private:
  std::vector<std::uint32_t> closure(std::vector<std::uint32_t> states) {
    ++generation_;
    std::vector<std::uint32_t> stack;
    for (std::uint32_t s : states) {
      mark_[s] = generation_;
      stack.push_back(s);
    }
    while (!stack.empty()) {
      std::uint32_t s = stack.back();
      stack.pop_back();
      for (const Arc& a : section_.arcs[s]) {
        if (a.symbol == 0 && mark_[a.target] != generation_) {
          mark_[a.target] = generation_;
          states.push_back(a.target);
          stack.push_back(a.target);
        }
      }
    }
    std::sort(states.begin(), states.end());
    states.erase(std::unique(states.begin(), states.end()), states.end());
    return states;
  }

  void walk(const std::vector<std::uint32_t>& states, std::size_t length) {
    if (result_.truncated) return;
    if (!prefix_.empty() && std::any_of(states.begin(), states.end(),
                                        [&](std::uint32_t s) { return section_.final[s]; })) {
      if (result_.forms >= limits_.maxForms) {
        result_.truncated = true;
        return;
      }
      ++result_.forms;
      visit_(prefix_);
    }
    if (length >= limits_.maxLength) return;
    std::vector<Arc> next;
    for (std::uint32_t s : states) {
      for (const Arc& a : section_.arcs[s]) {
        if (a.symbol != 0 && followed_[a.symbol]) next.push_back(a);
      }
    }
    std::sort(next.begin(), next.end(), [](const Arc& a, const Arc& b) {
      return a.symbol != b.symbol ? a.symbol < b.symbol : a.target < b.target;
    });
    for (std::size_t i = 0; i < next.size();) {
      std::size_t j = i;
      std::vector<std::uint32_t> targets;
      while (j < next.size() && next[j].symbol == next[i].symbol)
        targets.push_back(next[j++].target);
      std::vector<std::uint32_t> after = closure(std::move(targets));
      if (std::find(path_.begin(), path_.end(), after) == path_.end()) {
        if (++steps_ > limits_.maxSteps) {
          result_.truncated = true;
          return;
        }
        const std::size_t size = prefix_.size();
        prefix_ += symbols_[next[i].symbol];
        path_.push_back(after);
        walk(after, length + 1);
        path_.pop_back();
        prefix_.resize(size);
      }
      i = j;
    }
  }

  const Section& section_;
  const std::vector<std::string>& symbols_;
  const std::vector<bool>& followed_;
  const AttLimits& limits_;
  const std::function<void(std::string_view)>& visit_;
  AttResult& result_;
  std::vector<std::uint32_t> mark_;
  std::uint32_t generation_ = 0;
  std::size_t steps_ = 0;
  std::vector<std::vector<std::uint32_t>> path_;  // the state sets on the current path
  std::string prefix_;
};

}  // namespace

AttResult enumerateAttInputForms(std::string_view text,
                                 const std::function<void(std::string_view)>& visit,
                                 const AttLimits& limits) {
  AttResult result;
  std::vector<std::string> symbols{""};  // 0: epsilon
  std::unordered_map<std::string, std::uint32_t> symbolIds;
  std::vector<Section> sections(1);
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line == "--") {
      sections.emplace_back();
      continue;
    }
    const std::vector<std::string_view> f = splitFields(line);
    Section& section = sections.back();
    std::uint32_t from = 0;
    auto fail = [&](const char* what) {
      result.error = "line " + std::to_string(lineNumber) + ": " + what;
      return result;
    };
    if (!parseState(f[0], from)) return fail("no state number");
    if (f.size() <= 2) {  // a final state, with or without a weight
      if (f.size() == 2 && !parseWeight(f[1])) return fail("bad weight");
      section.grow(from);
      section.final[from] = true;
      if (!section.hasStart) {
        section.start = from;
        section.hasStart = true;
      }
      continue;
    }
    std::uint32_t to = 0;
    if (f.size() > 5 || !parseState(f[1], to)) return fail("not a transition");
    if (f.size() == 5 && !parseWeight(f[4])) return fail("bad weight");
    const std::string_view input = f[2];  // 3 fields: an acceptor's arc
    std::uint32_t symbol = 0;
    if (!isEpsilon(input)) {
      auto [it, added] =
          symbolIds.try_emplace(std::string(input), static_cast<std::uint32_t>(symbols.size()));
      if (added) symbols.emplace_back(input);
      symbol = it->second;
    }
    section.grow(std::max(from, to));
    section.arcs[from].push_back({to, symbol});
    if (!section.hasStart) {
      section.start = from;
      section.hasStart = true;
    }
  }
  std::vector<bool> followed(symbols.size(), true);
  if (limits.keepSymbol) {
    for (std::size_t i = 1; i < symbols.size(); ++i) followed[i] = limits.keepSymbol(symbols[i]);
  }
  for (const Section& section : sections) {
    if (!section.hasStart) continue;
    ++result.sections;
    Enumerator(section, symbols, followed, limits, visit, result).run();
  }
  result.ok = true;
  return result;
}

// --- Files and programs ------------------------------------------------------------

std::optional<std::string> readMaybeGzipFile(const std::string& path, std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  gzFile file = gzdopen(fd, "rb");
  if (!file) {
    ::close(fd);
    if (error) *error = path + ": cannot open";
    return std::nullopt;
  }
  gzbuffer(file, 1 << 17);
  std::string out;
  // A gzip member ends with its length modulo 2^32: room for it up front.
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size >= 18) {
    unsigned char tail[4];
    if (::pread(fd, tail, 4, st.st_size - 4) == 4) {
      const std::size_t size = tail[0] | tail[1] << 8 | tail[2] << 16 | std::size_t{tail[3]} << 24;
      if (size <= std::size_t{1} << 30) out.reserve(size);
    }
  }
  char buffer[1 << 16];
  while (true) {
    const int n = gzread(file, buffer, sizeof buffer);
    if (n < 0) {
      int code = 0;
      const char* message = gzerror(file, &code);
      if (error) *error = path + ": " + (message ? message : "read error");
      gzclose(file);
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  gzclose(file);
  return out;
}

std::optional<std::string> runProgram(const std::vector<std::string>& argv, std::string* error) {
  if (argv.empty()) {
    if (error) *error = "no program";
    return std::nullopt;
  }
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    if (error) *error = std::string("pipe: ") + std::strerror(errno);
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (spawned != 0) {
    ::close(fds[0]);
    if (error) *error = argv[0] + ": " + std::strerror(spawned);
    return std::nullopt;
  }
  std::string out;
  out.reserve(1 << 20);
  char buffer[1 << 16];
  while (true) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    if (error) {
      *error = argv[0] + (WIFEXITED(status) ? ": exit status " + std::to_string(WEXITSTATUS(status))
                                            : std::string(": killed by a signal"));
    }
    return std::nullopt;
  }
  return out;
}

namespace {

template <typename T>
bool readLittleEndian(std::string_view data, std::size_t at, T& out) {
  if (at > data.size() || data.size() - at < sizeof(T)) return false;
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[at + i])) << (8 * i);
  }
  out = static_cast<T>(v);
  return true;
}

// The character strings of a character set text: a count line, then one line
// per character whose first field is the character ("NULL" for the first).
std::vector<std::string> tessdataCharacters(std::string_view text) {
  std::vector<std::string> out;
  const std::size_t eol = text.find('\n');
  if (eol == std::string_view::npos) return out;
  text.remove_prefix(eol + 1);
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    out.emplace_back(line.substr(0, std::min(line.find(' '), line.size())));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return out;
}

}  // namespace

bool parseTessdataWords(std::string_view data, std::vector<std::string>& words,
                        std::string* error) {
  const auto fail = [error](const char* why) {
    if (error) *error = why;
    return false;
  };
  // The container's parts that hold the recogniser's word graph and its
  // character set.
  constexpr std::size_t kWordGraph = 19;
  constexpr std::size_t kCharacters = 21;
  std::int32_t count = 0;
  if (!readLittleEndian(data, 0, count) || count <= static_cast<std::int32_t>(kCharacters) ||
      count > 1000) {
    return fail("not OCR language data");
  }
  std::vector<std::int64_t> offsets(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    if (!readLittleEndian(data, 4 + 8 * i, offsets[i])) return fail("not OCR language data");
  }
  const auto part = [&](std::size_t index) -> std::optional<std::string_view> {
    const std::int64_t begin = offsets[index];
    if (begin < 0 || static_cast<std::uint64_t>(begin) > data.size()) return std::nullopt;
    auto end = static_cast<std::int64_t>(data.size());
    for (std::size_t i = index + 1; i < offsets.size(); ++i) {
      if (offsets[i] >= 0) {
        end = offsets[i];
        break;
      }
    }
    if (end < begin || static_cast<std::uint64_t>(end) > data.size()) return std::nullopt;
    return data.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
  };
  const std::optional<std::string_view> graph = part(kWordGraph);
  const std::optional<std::string_view> charset = part(kCharacters);
  if (!graph || !charset) return fail("the data holds no word list");
  const std::vector<std::string> characters = tessdataCharacters(*charset);

  // The graph: a magic number, the character set's size, the edge count, then
  // the edges. An edge holds its character in the low bits, three flags above
  // them (the node's last edge, a backward edge, a word's end) and the next
  // node (the index of its first edge; 0 for none) above those.
  std::int16_t magic = 0;
  std::int32_t setSize = 0;
  std::int32_t edgeCount = 0;
  if (!readLittleEndian(*graph, 0, magic) || magic != 42 || !readLittleEndian(*graph, 2, setSize) ||
      !readLittleEndian(*graph, 6, edgeCount) || setSize <= 1 || edgeCount <= 0 ||
      (graph->size() - 10) / 8 < static_cast<std::size_t>(edgeCount)) {
    return fail("the word list is damaged");
  }
  int letterBits = 0;
  while ((1 << letterBits) < setSize) ++letterBits;
  const std::uint64_t letterMask = (std::uint64_t{1} << letterBits) - 1;
  const auto edge = [&](std::size_t i) {
    std::uint64_t e = 0;
    readLittleEndian(*graph, 10 + 8 * i, e);
    return e;
  };
  const auto edges = static_cast<std::size_t>(edgeCount);
  // Depth first, with an explicit stack of (edge, length of the word before it).
  std::vector<std::pair<std::size_t, std::size_t>> stack{{0, 0}};
  std::string word;
  std::size_t steps = 0;
  while (!stack.empty()) {
    auto [at, length] = stack.back();
    stack.pop_back();
    if (at >= edges || ++steps > 8 * edges || length > 256) return fail("the word list is damaged");
    const std::uint64_t e = edge(at);
    const unsigned flags = static_cast<unsigned>((e >> letterBits) & 7);
    const std::uint64_t letter = e & letterMask;
    const std::uint64_t next = e >> (letterBits + 3);
    if (!(flags & 1) && at + 1 < edges) stack.emplace_back(at + 1, length);  // a sibling
    if (flags & 2) continue;                                                 // backward
    if (letter >= characters.size()) return fail("the word list is damaged");
    word.resize(length);
    word += characters[letter];
    if (flags & 4) words.push_back(word);
    if (next != 0) stack.emplace_back(static_cast<std::size_t>(next), word.size());
  }
  return true;
}

// --- The lists -------------------------------------------------------------------

const char* listName(WordList list) {
  switch (list) {
    case WordList::kAspell:
      return "aspell-hi";
    case WordList::kHunspell:
      return "hunspell-hi";
    case WordList::kApertium:
      return "apertium-hin";
    case WordList::kTesseract:
      return "tesseract-ocr-hin";
  }
  return "";
}

namespace {

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
  }
  return lines;
}

// Input symbols that can be part of a Devanagari word: a letter, sign or
// joiner, one character written in three bytes of UTF-8.
bool devanagariSymbol(std::string_view s) {
  if (s.size() != 3) return false;
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  if ((b(0) & 0xF0) != 0xE0 || (b(1) & 0xC0) != 0x80 || (b(2) & 0xC0) != 0x80) return false;
  const auto c =
      static_cast<char16_t>(((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F));
  return isLetter(c) || isWordMark(c) || c == kZwj || c == kZwnj;
}

}  // namespace

ListRead readAspellList(const WordListSources& sources) {
  ListRead read;
  if (sources.aspellProgram.empty()) {
    read.error = "not looked for";
    return read;
  }
  const std::vector<std::string> argv{sources.aspellProgram, "-d",   sources.aspellDictionary,
                                      "--encoding=utf-8",    "dump", "master"};
  read.where = sources.aspellProgram + " -d " + sources.aspellDictionary + " dump master";
  std::optional<std::string> out = runProgram(argv, &read.error);
  if (!out) return read;
  read.words = splitLines(*out);
  // aspell writes flags after a slash when the dictionary keeps them.
  for (std::string& w : read.words) w.erase(std::min(w.find('/'), w.size()));
  read.found = !read.words.empty();
  if (!read.found) read.error = "the dictionary is empty";
  return read;
}

namespace {

// The text of a list's file, or nothing with the reason in `read`.
std::optional<std::string> listFile(const std::string& path, ListRead& read) {
  read.where = path;
  if (path.empty()) {
    read.error = "not looked for";
    return std::nullopt;
  }
  return readMaybeGzipFile(path, &read.error);
}

}  // namespace

ListRead readHunspellList(const WordListSources& sources) {
  ListRead read;
  std::optional<std::string> text = listFile(sources.hunspellDic, read);
  if (!text) return read;
  read.words = parseHunspellDic(*text);
  read.found = true;
  return read;
}

ListRead readApertiumList(const WordListSources& sources) {
  ListRead read;
  std::optional<std::string> text = listFile(sources.apertiumAnalyser, read);
  if (!text) return read;
  AttLimits limits;
  limits.keepSymbol = devanagariSymbol;
  const AttResult result = enumerateAttInputForms(
      *text, [&](std::string_view form) { read.words.emplace_back(form); }, limits);
  if (!result.ok) {
    read.error = sources.apertiumAnalyser + ": " + result.error;
    read.words.clear();
    return read;
  }
  read.found = true;
  return read;
}

ListRead readTesseractList(const WordListSources& sources) {
  ListRead read;
  std::optional<std::string> data = listFile(sources.tesseractData, read);
  if (!data) return read;
  std::string error;
  if (!parseTessdataWords(*data, read.words, &error)) {
    read.error = sources.tesseractData + ": " + error;
    read.words.clear();
    return read;
  }
  read.found = true;
  return read;
}

void WordSet::Builder::reserve(std::size_t words, std::size_t chars) {
  entries_.reserve(words);
  pool_.reserve(chars);
}

void WordSet::Builder::add(std::u16string_view word, ListMask lists) {
  entries_.push_back(
      {static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint32_t>(word.size()), lists});
  pool_.append(word);
}

WordSet WordSet::Builder::build() && {
  const char16_t* pool = pool_.data();
  auto view = [pool](const Entry& e) { return std::u16string_view(pool + e.offset, e.length); };
  std::sort(entries_.begin(), entries_.end(),
            [&](const Entry& a, const Entry& b) { return view(a) < view(b); });
  WordSet set;
  std::size_t chars = 0;
  std::size_t distinct = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i == 0 || view(entries_[i]) != view(entries_[i - 1])) {
      chars += entries_[i].length;
      ++distinct;
    }
  }
  set.pool_.reserve(chars);
  set.offsets_.reserve(distinct + 1);
  set.masks_.reserve(distinct);
  set.offsets_.push_back(0);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0 && view(entries_[i]) == view(entries_[i - 1])) {
      set.masks_.back() |= entries_[i].lists;
      continue;
    }
    set.pool_.append(view(entries_[i]));
    set.offsets_.push_back(static_cast<std::uint32_t>(set.pool_.size()));
    set.masks_.push_back(entries_[i].lists);
  }
  pool_ = {};
  entries_ = {};
  return set;
}

WordSet WordSet::build(const std::vector<std::pair<std::u16string, ListMask>>& words) {
  Builder builder;
  for (const auto& [word, lists] : words) builder.add(word, lists);
  return std::move(builder).build();
}

ListMask WordSet::find(std::u16string_view nfcWord) const {
  std::size_t lo = 0;
  std::size_t hi = size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    const int c = word(mid).compare(nfcWord);
    if (c == 0) return masks_[mid];
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return 0;
}

std::size_t WordSet::memoryBytes() const {
  return pool_.capacity() * sizeof(char16_t) + offsets_.capacity() * sizeof(std::uint32_t) +
         masks_.capacity() * sizeof(ListMask);
}

bool LoadedWords::anyFound() const {
  return std::any_of(lists.begin(), lists.end(), [](const ListStatus& s) { return s.found; });
}

std::string LoadedWords::summary() const {
  std::string found;
  std::string missing;
  for (const ListStatus& s : lists) {
    std::string& part = s.found ? found : missing;
    if (!part.empty()) part += ", ";
    part += listName(s.list);
    if (s.found) part += " (" + withThousands(s.kept) + (s.kept == 1 ? " word)" : " words)");
  }
  if (found.empty()) found = "no word list";
  return missing.empty() ? found : found + "; not found: " + missing;
}

std::string LoadedWords::warnings() const {
  std::string out;
  for (const ListStatus& s : lists) {
    if (!s.found)
      out += std::string("word list ") + listName(s.list) + " not found: " + s.error + "\n";
  }
  return out;
}

LoadedWords loadWordLists(const WordListSources& sources, bool parallel) {
  const auto start = std::chrono::steady_clock::now();
  using Reader = ListRead (*)(const WordListSources&);
  static constexpr Reader kReaders[kWordListCount] = {readAspellList, readHunspellList,
                                                      readApertiumList, readTesseractList};
  struct Timed {
    ListRead read;
    double milliseconds = 0;
  };
  auto timed = [&sources](Reader reader) {
    const auto t = std::chrono::steady_clock::now();
    Timed out{reader(sources), 0};
    out.milliseconds = millisecondsSince(t);
    return out;
  };
  Timed reads[kWordListCount];
  if (parallel) {
    std::future<Timed> others[kWordListCount - 1];
    for (std::size_t i = 1; i < kWordListCount; ++i) {
      others[i - 1] = std::async(std::launch::async, timed, kReaders[i]);
    }
    reads[0] = timed(kReaders[0]);
    for (std::size_t i = 1; i < kWordListCount; ++i) reads[i] = others[i - 1].get();
  } else {
    for (std::size_t i = 0; i < kWordListCount; ++i) reads[i] = timed(kReaders[i]);
  }

  LoadedWords loaded;
  WordSet::Builder builder;
  std::size_t words = 0;
  std::size_t bytes = 0;
  for (const Timed& t : reads) {
    words += t.read.words.size();
    for (const std::string& w : t.read.words) bytes += w.size();
  }
  builder.reserve(words, bytes / 3 + words);
  for (std::size_t i = 0; i < kWordListCount; ++i) {
    ListStatus status;
    status.list = static_cast<WordList>(i);
    status.found = reads[i].read.found;
    status.where = reads[i].read.where;
    status.error = reads[i].read.error;
    status.read = reads[i].read.words.size();
    status.milliseconds = reads[i].milliseconds;
    std::u16string utf16;
    for (const std::string& w : reads[i].read.words) {
      if (!decodeUtf8(w, utf16)) continue;
      if (std::optional<std::u16string> word = normaliseWord(utf16)) {
        builder.add(*word, maskOf(status.list));
      }
    }
    loaded.lists.push_back(std::move(status));
  }
  loaded.words = std::move(builder).build();
  for (std::size_t i = 0; i < loaded.words.size(); ++i) {
    for (ListStatus& status : loaded.lists) {
      if (loaded.words.lists(i) & maskOf(status.list)) ++status.kept;
    }
  }
  for (Timed& t : reads) t = {};
#ifdef __GLIBC__
  // The raw lists took several times the set's size; give it back.
  malloc_trim(0);
#endif
  loaded.milliseconds = millisecondsSince(start);
  return loaded;
}

std::future<LoadedWords> loadWordListsAsync(WordListSources sources) {
  return std::async(std::launch::async,
                    [sources = std::move(sources)] { return loadWordLists(sources, true); });
}

}  // namespace kavelin::words
