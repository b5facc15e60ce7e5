#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <utility>

#include "rtf.h"
#include "text.h"

namespace kavelin {
namespace {

constexpr std::size_t kMaxDepth = 1000;     // nesting of groups
constexpr std::size_t kMaxWordLength = 32;  // letters of a control word
constexpr std::size_t kMaxDigits = 10;      // digits of its parameter
constexpr int kDefaultHalfPoints = 24;      // 12 pt, what \plain gives
constexpr int kMinHalfPoints = 2;           // 1 pt
constexpr int kMaxHalfPoints = 3276;        // 1638 pt
constexpr int kSymbolCharset = 2;

// Control words with a meaning here; every other word is ignored.
enum class Kw {
  FontTable,
  Font,
  FontCharset,
  DefaultFont,
  FontSize,
  Plain,
  Bold,
  Italic,
  Underline,
  UnderlineNone,
  Hidden,
  Pard,
  AlignLeft,
  AlignCenter,
  AlignRight,
  Par,
  SoftPar,  // ends a paragraph only when it has text (\sect, \cell, \row)
  Tab,
  Line,
  Char,  // a character given by name, e.g. \emdash
  UnicodeSkip,
  Unicode,
  Bin,
};

struct KwEntry {
  std::string_view name;
  Kw kw;
  char16_t ch = 0;  // for Kw::Char
};

// Sorted by name for binary search.
constexpr KwEntry kKeywords[] = {
    {"b", Kw::Bold},
    {"bin", Kw::Bin},
    {"bullet", Kw::Char, u'\u2022'},
    {"cell", Kw::SoftPar},
    {"deff", Kw::DefaultFont},
    {"emdash", Kw::Char, u'\u2014'},
    {"emspace", Kw::Char, u'\u2003'},
    {"endash", Kw::Char, u'\u2013'},
    {"enspace", Kw::Char, u'\u2002'},
    {"f", Kw::Font},
    {"fcharset", Kw::FontCharset},
    {"fonttbl", Kw::FontTable},
    {"fs", Kw::FontSize},
    {"i", Kw::Italic},
    {"ldblquote", Kw::Char, u'\u201C'},
    {"line", Kw::Line},
    {"lquote", Kw::Char, u'\u2018'},
    {"nestcell", Kw::SoftPar},
    {"nestrow", Kw::SoftPar},
    {"par", Kw::Par},
    {"pard", Kw::Pard},
    {"plain", Kw::Plain},
    {"qc", Kw::AlignCenter},
    {"qd", Kw::AlignLeft},
    {"qj", Kw::AlignLeft},
    {"ql", Kw::AlignLeft},
    {"qmspace", Kw::Char, u'\u2005'},
    {"qr", Kw::AlignRight},
    {"rdblquote", Kw::Char, u'\u201D'},
    {"row", Kw::SoftPar},
    {"rquote", Kw::Char, u'\u2019'},
    {"sect", Kw::SoftPar},
    {"tab", Kw::Tab},
    {"u", Kw::Unicode},
    {"uc", Kw::UnicodeSkip},
    {"ul", Kw::Underline},
    {"uld", Kw::Underline},
    {"uldash", Kw::Underline},
    {"uldashd", Kw::Underline},
    {"uldashdd", Kw::Underline},
    {"uldb", Kw::Underline},
    {"ulhwave", Kw::Underline},
    {"ulldash", Kw::Underline},
    {"ulnone", Kw::UnderlineNone},
    {"ulth", Kw::Underline},
    {"ulthd", Kw::Underline},
    {"ulthdash", Kw::Underline},
    {"ulthdashd", Kw::Underline},
    {"ulthdashdd", Kw::Underline},
    {"ulthldash", Kw::Underline},
    {"ululdbwave", Kw::Underline},
    {"ulw", Kw::Underline},
    {"ulwave", Kw::Underline},
    {"v", Kw::Hidden},
};

// Groups whose content is no text of the document, sorted by name.
constexpr std::string_view kDestinations[] = {
    "aftncn",       "aftnsep",
    "aftnsepc",     "annotation",
    "atnauthor",    "atndate",
    "atnid",        "atnref",
    "author",       "bkmkend",
    "bkmkstart",    "buptim",
    "category",     "colorschememapping",
    "colortbl",     "comment",
    "company",      "creatim",
    "datafield",    "datastore",
    "defchp",       "defpap",
    "do",           "doccomm",
    "docvar",       "falt",
    "filetbl",      "fldinst",
    "footer",       "footerf",
    "footerl",      "footerr",
    "footnote",     "ftncn",
    "ftnsep",       "ftnsepc",
    "generator",    "header",
    "headerf",      "headerl",
    "headerr",      "hlinkbase",
    "info",         "keywords",
    "latentstyles", "listoverridetable",
    "listtable",    "listtext",
    "manager",      "mmathPr",
    "nonshppict",   "objdata",
    "object",       "operator",
    "pgdsctbl",     "pict",
    "pn",           "pntext",
    "pntxta",       "pntxtb",
    "printim",      "revtbl",
    "revtim",       "rsidtbl",
    "rxe",          "shp",
    "shpgrp",       "shppict",
    "stylesheet",   "subject",
    "tc",           "template",
    "themedata",    "title",
    "txe",          "upr",
    "userprops",    "wgrffmtfilter",
    "xe",           "xmlnstbl",
};

template <typename T, std::size_t N, typename Name>
constexpr bool sortedBy(const T (&table)[N], Name name) {
  for (std::size_t i = 1; i < N; ++i) {
    if (!(name(table[i - 1]) < name(table[i]))) return false;
  }
  return true;
}
constexpr std::string_view entryName(const KwEntry& e) { return e.name; }
constexpr std::string_view itself(std::string_view s) { return s; }
static_assert(sortedBy(kKeywords, entryName), "kKeywords must be sorted by name");
static_assert(sortedBy(kDestinations, itself), "kDestinations must be sorted");

const KwEntry* findKeyword(std::string_view name) {
  const auto* end = std::end(kKeywords);
  const auto* it =
      std::lower_bound(std::begin(kKeywords), end, name,
                       [](const KwEntry& e, std::string_view n) { return e.name < n; });
  return it != end && it->name == name ? it : nullptr;
}

bool isDestination(std::string_view name) {
  return std::binary_search(std::begin(kDestinations), std::end(kDestinations), name);
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

enum class Dest { Text, FontTable, Skip };

struct State {
  Dest dest = Dest::Text;
  int font = -1;  // -1: the \deff font
  int halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool hidden = false;
  Align align = Align::Left;
  int uc = 1;
};

// What makes two characters belong to one run while reading; runs of different
// font numbers but one font name are joined by mergeRuns at the paragraph end.
struct FormatKey {
  int font;
  int halfPoints;
  bool bold, italic, underline;
  bool operator==(const FormatKey& o) const {
    return font == o.font && halfPoints == o.halfPoints && bold == o.bold && italic == o.italic &&
           underline == o.underline;
  }
};

struct FontInfo {
  std::u16string name;
  int charset = 0;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}

  bool read(RichDocument& doc, RtfError* err, RtfNotes* notes) {
    const bool ok = parse();
    if (!ok) {
      if (err) *err = error_;
      return false;
    }
    doc = std::move(doc_);
    if (notes) notes->endedEarly = endedEarly_;
    return true;
  }

 private:
  bool fail(std::size_t at, const char* message) {
    error_.offset = at;
    error_.message = message;
    return false;
  }

  // The input ends before the document does: what was read stands.
  bool endedEarly() {
    endedEarly_ = true;
    pos_ = in_.size();
    return true;
  }

  bool parse() {
    if (in_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;  // a UTF-8 byte-order mark
    while (pos_ < in_.size() && isSpace(in_[pos_])) ++pos_;
    if (in_.substr(pos_, 5) != "{\\rtf") {
      return fail(pos_ < in_.size() ? pos_ : 0, "not an RTF file");
    }
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '{') {
        if (!openGroup()) return false;
      } else if (c == '}') {
        if (stack_.size() == 1) {
          finishDocument();
          ++pos_;
          return checkTrailer();
        }
        closeGroup();
      } else if (c == '\\') {
        if (!control()) return false;
      } else if (static_cast<std::uint8_t>(c) < 0x20 && c != '\t') {
        ++pos_;  // raw line breaks and other control bytes are no text
      } else {
        ++pos_;
        if (skip_ > 0) {
          --skip_;
        } else {
          text(byteChar(static_cast<std::uint8_t>(c)), c == ';');
        }
      }
    }
    // Cut off before the outermost group closed.
    endedEarly_ = true;
    finishDocument();
    return true;
  }

  static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  bool checkTrailer() {
    for (; pos_ < in_.size(); ++pos_) {
      if (!isSpace(in_[pos_]) && in_[pos_] != '\0') {
        return fail(pos_, "data after the end of the document");
      }
    }
    return true;
  }

  bool openGroup() {
    if (stack_.size() >= kMaxDepth) return fail(pos_, "groups nested too deeply");
    ++pos_;
    skip_ = 0;
    stack_.push_back(state_);
    return true;
  }

  void closeGroup() {
    ++pos_;
    skip_ = 0;
    if (state_.dest == Dest::FontTable) commitFont();
    state_ = stack_.back();
    stack_.pop_back();
  }

  // At the backslash of a control word or symbol.
  bool control() {
    const std::size_t start = pos_;
    if (pos_ + 1 >= in_.size()) return endedEarly();
    const char c = in_[pos_ + 1];
    if (isLetter(c)) return controlWord(start);
    pos_ += 2;
    switch (c) {
      case '\'': {
        if (pos_ + 2 > in_.size()) return endedEarly();
        const int hi = hexValue(in_[pos_]);
        const int lo = hexValue(in_[pos_ + 1]);
        if (hi < 0 || lo < 0) return fail(start, "bad hex digits in \\'hh");
        pos_ += 2;
        if (skip_ > 0) {
          --skip_;
        } else {
          text(byteChar(static_cast<std::uint8_t>(hi * 16 + lo)), false);
        }
        return true;
      }
      case '*':
        state_.dest = Dest::Skip;
        return true;
      case '\r':
      case '\n':
        skip_ = 0;
        paragraph(false);
        return true;
      default:
        break;
    }
    if (skip_ > 0) {
      --skip_;
      return true;
    }
    switch (c) {
      case '\\':
      case '{':
      case '}':
        text(static_cast<char16_t>(c), false);
        break;
      case '~':
        text(u'\u00A0', false);
        break;
      case '-':
        text(u'\u00AD', false);
        break;
      case '_':
        text(u'\u2011', false);
        break;
      default:  // \: \| and symbols of no meaning here
        break;
    }
    return true;
  }

  bool controlWord(std::size_t start) {
    std::size_t p = start + 1;
    while (p < in_.size() && isLetter(in_[p])) {
      if (p - start - 1 >= kMaxWordLength) return fail(start, "control word too long");
      ++p;
    }
    const std::string_view name = in_.substr(start + 1, p - start - 1);
    bool hasParam = false;
    long long value = 0;
    bool negative = false;
    if (p + 1 < in_.size() && in_[p] == '-' && isDigit(in_[p + 1])) {
      negative = true;
      ++p;
    }
    const std::size_t digits = p;
    while (p < in_.size() && isDigit(in_[p])) {
      if (p - digits >= kMaxDigits) return fail(start, "number out of range");
      value = value * 10 + (in_[p] - '0');
      ++p;
    }
    if (p > digits) {
      hasParam = true;
      if (negative) value = -value;
      if (value < std::numeric_limits<std::int32_t>::min() ||
          value > std::numeric_limits<std::int32_t>::max()) {
        return fail(start, "number out of range");
      }
    }
    if (p < in_.size() && in_[p] == ' ') ++p;
    pos_ = p;
    return word(start, name, hasParam, static_cast<int>(value));
  }

  bool word(std::size_t start, std::string_view name, bool hasParam, int n) {
    const KwEntry* e = findKeyword(name);
    if (e && e->kw == Kw::Bin) {
      if (!hasParam || n < 0) return fail(start, "bad \\bin length");
      if (static_cast<std::size_t>(n) > in_.size() - pos_) return endedEarly();
      pos_ += static_cast<std::size_t>(n);
      if (skip_ > 0) --skip_;
      return true;
    }
    // A control word ends the fallback of a \uN.
    skip_ = 0;
    if (state_.dest == Dest::Skip) return true;
    if (!e) {
      if (isDestination(name)) state_.dest = Dest::Skip;
      return true;
    }
    const bool on = !hasParam || n != 0;
    switch (e->kw) {
      case Kw::FontTable:
        state_.dest = Dest::FontTable;
        break;
      case Kw::Font:
        if (!hasParam) break;
        if (state_.dest == Dest::FontTable) {
          commitFont();
          fontPending_ = true;
          fontNumber_ = n;
          fontCharset_ = 0;
          fontName_.clear();
        } else {
          state_.font = n;
        }
        break;
      case Kw::FontCharset:
        if (state_.dest == Dest::FontTable && hasParam) fontCharset_ = n;
        break;
      case Kw::DefaultFont:
        if (hasParam) deff_ = n;
        break;
      case Kw::FontSize:
        if (!hasParam) {
          state_.halfPoints = kDefaultHalfPoints;
        } else if (n > 0) {
          state_.halfPoints = std::clamp(n, kMinHalfPoints, kMaxHalfPoints);
        }
        break;
      case Kw::Plain:
        state_.font = -1;
        state_.halfPoints = kDefaultHalfPoints;
        state_.bold = state_.italic = state_.underline = state_.hidden = false;
        break;
      case Kw::Bold:
        state_.bold = on;
        break;
      case Kw::Italic:
        state_.italic = on;
        break;
      case Kw::Underline:
        state_.underline = on;
        break;
      case Kw::UnderlineNone:
        state_.underline = false;
        break;
      case Kw::Hidden:
        state_.hidden = on;
        break;
      case Kw::Pard:
      case Kw::AlignLeft:
        state_.align = Align::Left;
        break;
      case Kw::AlignCenter:
        state_.align = Align::Center;
        break;
      case Kw::AlignRight:
        state_.align = Align::Right;
        break;
      case Kw::Par:
        paragraph(false);
        break;
      case Kw::SoftPar:
        paragraph(true);
        break;
      case Kw::Tab:
        text(u'\t', false);
        break;
      case Kw::Line:
        text(u'\u2028', false);
        break;
      case Kw::Char:
        text(e->ch, false);
        break;
      case Kw::UnicodeSkip:
        if (hasParam) state_.uc = std::max(n, 0);
        break;
      case Kw::Unicode: {
        if (!hasParam) break;
        if (n < -32768 || n > 65535) return fail(start, "\\u value out of range");
        auto c = static_cast<char16_t>(n < 0 ? n + 65536 : n);
        if (state_.dest == Dest::Text) {
          // Symbol font codes: U+F0hh in any font (LibreOffice declares the
          // font \fcharset0 when it writes them), U+0080..U+009F in a symbol font.
          if (c >= 0xF020 && c <= 0xF0FF) {
            c = cp1252ToChar(static_cast<std::uint8_t>(c - 0xF000));
          } else if (c >= 0x80 && c <= 0x9F && symbolFont()) {
            c = cp1252ToChar(static_cast<std::uint8_t>(c));
          }
        }
        text(c, false);
        skip_ = state_.uc;
        break;
      }
      case Kw::Bin:
        break;
    }
    return true;
  }

  int currentFont() const { return state_.font < 0 ? deff_ : state_.font; }

  const FontInfo* fontInfo(int number) const {
    auto it = fonts_.find(number);
    if (it == fonts_.end()) it = fonts_.find(deff_);
    return it == fonts_.end() ? nullptr : &it->second;
  }

  bool symbolFont() const {
    const FontInfo* f = fontInfo(currentFont());
    return f && f->charset == kSymbolCharset;
  }

  // The character of a byte given raw or as \'hh. Symbol fonts need nothing
  // else: their codes are taken as Windows-1252 characters like all bytes.
  static char16_t byteChar(std::uint8_t b) { return cp1252ToChar(b); }

  // A character of the current destination; `separator` for a raw ';'.
  void text(char16_t c, bool separator) {
    if (state_.dest == Dest::FontTable) {
      if (!fontPending_) return;
      if (separator) {
        commitFont();
      } else {
        fontName_ += c;
      }
      return;
    }
    if (state_.dest != Dest::Text || state_.hidden) return;
    const FormatKey key{currentFont(), state_.halfPoints, state_.bold, state_.italic,
                        state_.underline};
    if (runs_.empty() || !(key == lastKey_)) {
      RichRun run;
      if (const FontInfo* f = fontInfo(key.font)) run.font = f->name;
      run.sizePt = key.halfPoints / 2.0;
      run.bold = key.bold;
      run.italic = key.italic;
      run.underline = key.underline;
      runs_.push_back(std::move(run));
      lastKey_ = key;
    }
    runs_.back().text += c;
  }

  void paragraph(bool onlyWithText) {
    if (state_.dest != Dest::Text) return;
    if (onlyWithText && runs_.empty()) return;
    RichParagraph p;
    p.align = state_.align;
    p.runs = std::move(runs_);
    runs_.clear();
    mergeRuns(p);
    doc_.paragraphs.push_back(std::move(p));
  }

  // The text after the last paragraph mark, if any, is one more paragraph.
  void finishDocument() {
    state_.dest = Dest::Text;
    paragraph(true);
  }

  void commitFont() {
    if (!fontPending_) return;
    fontPending_ = false;
    const auto notSpace = [](char16_t c) { return c != u' ' && c != u'\t'; };
    const auto first = std::find_if(fontName_.begin(), fontName_.end(), notSpace);
    const auto last = std::find_if(fontName_.rbegin(), fontName_.rend(), notSpace).base();
    FontInfo& f = fonts_[fontNumber_];
    f.name = first < last ? std::u16string(first, last) : std::u16string();
    f.charset = fontCharset_;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  RtfError error_;
  bool endedEarly_ = false;
  RichDocument doc_;

  std::vector<State> stack_;
  State state_;
  int skip_ = 0;  // fallback characters of a \uN still to skip

  std::map<int, FontInfo> fonts_;
  int deff_ = 0;
  bool fontPending_ = false;  // a font table entry is being read
  int fontNumber_ = 0;
  int fontCharset_ = 0;
  std::u16string fontName_;

  std::vector<RichRun> runs_;  // of the paragraph being read
  FormatKey lastKey_{};
};

}  // namespace

bool readRtf(std::string_view bytes, RichDocument& out, RtfError* err, RtfNotes* notes) {
  return Reader(bytes).read(out, err, notes);
}

}  // namespace kavelin
