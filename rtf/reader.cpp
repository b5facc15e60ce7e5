// SPDX-License-Identifier: GPL-3.0-or-later
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
constexpr std::string_view itself(std::string_view s) { return s; }
static_assert(sortedBy(kDestinations, itself), "kDestinations must be sorted");

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
enum class Dest { Text, FontTable, ColorTable, Skip };

// The character format while reading, the font by number. Two characters of
// one format belong to one run; runs of different font numbers but one font
// name are joined by mergeRuns at the paragraph end.
struct CharFormat {
  int font = -1;  // -1: the \deff font
  int halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int color = 0;  // in the colour table; 0 (or one not there) is the automatic colour
  bool operator==(const CharFormat& o) const {
    return font == o.font && halfPoints == o.halfPoints && bold == o.bold && italic == o.italic &&
           underline == o.underline && color == o.color;
  }
};

struct State {
  Dest dest = Dest::Text;
  CharFormat format;
  bool hidden = false;
  Align align = Align::Left;
  int uc = 1;
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

  // A control word of the document (not \bin) with the parameter it has.
  struct Word {
    std::size_t start;  // offset of its backslash
    bool hasParam;
    int n;
    char16_t ch;  // the character of a word that stands for one
    // A toggle (\b, \i, ...) is on without a parameter and off with 0.
    bool on() const { return !hasParam || n != 0; }
  };
  using Handler = bool (Reader::*)(const Word&);
  struct Keyword {
    std::string_view name;
    Handler handler;
    char16_t ch = 0;
  };
  // Control words with a meaning here, sorted by name; every other word is
  // ignored.
  static const Keyword kKeywords[];
  static const Keyword* findKeyword(std::string_view name);

  bool word(std::size_t start, std::string_view name, bool hasParam, int n);
  bool binary(std::size_t start, bool hasParam, int n);

  // The font table and the font.
  bool fontTable(const Word&);
  bool font(const Word& w);
  bool fontCharset(const Word& w);
  bool defaultFont(const Word& w);
  // The colour table and the colour.
  bool colorTable(const Word&);
  bool colorPart(const Word& w);
  bool color(const Word& w);
  // The character format.
  bool fontSize(const Word& w);
  bool plain(const Word&);
  bool bold(const Word& w);
  bool italic(const Word& w);
  bool underline(const Word& w);
  bool underlineNone(const Word&);
  bool hidden(const Word& w);
  // The paragraph's alignment and its end.
  bool alignLeft(const Word&);
  bool alignCenter(const Word&);
  bool alignRight(const Word&);
  bool par(const Word&);
  bool softPar(const Word&);  // ends a paragraph only when it has text
  // Characters.
  bool character(const Word& w);
  bool unicodeSkip(const Word& w);
  bool unicode(const Word& w);

  int currentFont() const { return state_.format.font < 0 ? deff_ : state_.format.font; }

  const FontInfo* fontInfo(int number) const {
    auto it = fonts_.find(number);
    if (it == fonts_.end()) it = fonts_.find(deff_);
    return it == fonts_.end() ? nullptr : &it->second;
  }

  bool symbolFont() const {
    const FontInfo* f = fontInfo(currentFont());
    return f && f->charset == kSymbolCharset;
  }

  // The format of a run of `format`, whose font is a number of the font table.
  RunFormat runFormat(const CharFormat& format) const {
    RunFormat f;
    if (const FontInfo* info = fontInfo(format.font)) f.font = info->name;
    f.sizePt = format.halfPoints / 2.0;
    f.bold = format.bold;
    f.italic = format.italic;
    f.underline = format.underline;
    if (format.color > 0 && static_cast<std::size_t>(format.color) < colors_.size()) {
      f.color = colors_[static_cast<std::size_t>(format.color)];
    }
    return f;
  }

  // The character of a byte given raw or as \'hh. Symbol fonts need nothing
  // else: their codes are taken as Windows-1252 characters like all bytes.
  static char16_t byteChar(std::uint8_t b) { return cp1252ToChar(b); }

  // A character of the current destination; `separator` for a raw ';'.
  void text(char16_t c, bool separator) {
    if (state_.dest == Dest::ColorTable) {
      // "\red0\green0\blue255;" is an entry; ";" alone the automatic colour.
      if (separator) {
        colors_.push_back(colorPending_ ? colorRgb_ : kAutoColor);
        colorPending_ = false;
        colorRgb_ = 0;
      }
      return;
    }
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
    CharFormat format = state_.format;
    format.font = currentFont();
    if (runs_.empty() || !(format == lastFormat_)) {
      runs_.push_back(RichRun{{}, runFormat(format)});
      lastFormat_ = format;
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

  std::vector<std::int32_t> colors_;  // the colour table
  bool colorPending_ = false;         // an entry has a component
  std::int32_t colorRgb_ = 0;

  std::vector<RichRun> runs_;  // of the paragraph being read
  CharFormat lastFormat_;      // of the last of them, its font resolved
};

constexpr Reader::Keyword Reader::kKeywords[] = {
    {"b", &Reader::bold},
    {"blue", &Reader::colorPart},
    {"bullet", &Reader::character, u'\u2022'},
    {"cell", &Reader::softPar},
    {"cf", &Reader::color},
    {"colortbl", &Reader::colorTable},
    {"deff", &Reader::defaultFont},
    {"emdash", &Reader::character, u'\u2014'},
    {"emspace", &Reader::character, u'\u2003'},
    {"endash", &Reader::character, u'\u2013'},
    {"enspace", &Reader::character, u'\u2002'},
    {"f", &Reader::font},
    {"fcharset", &Reader::fontCharset},
    {"fonttbl", &Reader::fontTable},
    {"fs", &Reader::fontSize},
    {"green", &Reader::colorPart},
    {"i", &Reader::italic},
    {"ldblquote", &Reader::character, u'\u201C'},
    {"line", &Reader::character, u'\u2028'},
    {"lquote", &Reader::character, u'\u2018'},
    {"nestcell", &Reader::softPar},
    {"nestrow", &Reader::softPar},
    {"par", &Reader::par},
    {"pard", &Reader::alignLeft},
    {"plain", &Reader::plain},
    {"qc", &Reader::alignCenter},
    {"qd", &Reader::alignLeft},
    {"qj", &Reader::alignLeft},
    {"ql", &Reader::alignLeft},
    {"qmspace", &Reader::character, u'\u2005'},
    {"qr", &Reader::alignRight},
    {"rdblquote", &Reader::character, u'\u201D'},
    {"red", &Reader::colorPart},
    {"row", &Reader::softPar},
    {"rquote", &Reader::character, u'\u2019'},
    {"sect", &Reader::softPar},
    {"tab", &Reader::character, u'\t'},
    {"u", &Reader::unicode},
    {"uc", &Reader::unicodeSkip},
    {"ul", &Reader::underline},
    {"uld", &Reader::underline},
    {"uldash", &Reader::underline},
    {"uldashd", &Reader::underline},
    {"uldashdd", &Reader::underline},
    {"uldb", &Reader::underline},
    {"ulhwave", &Reader::underline},
    {"ulldash", &Reader::underline},
    {"ulnone", &Reader::underlineNone},
    {"ulth", &Reader::underline},
    {"ulthd", &Reader::underline},
    {"ulthdash", &Reader::underline},
    {"ulthdashd", &Reader::underline},
    {"ulthdashdd", &Reader::underline},
    {"ulthldash", &Reader::underline},
    {"ululdbwave", &Reader::underline},
    {"ulw", &Reader::underline},
    {"ulwave", &Reader::underline},
    {"v", &Reader::hidden},
};

const Reader::Keyword* Reader::findKeyword(std::string_view name) {
  static_assert(sortedBy(kKeywords, [](const Keyword& k) { return k.name; }),
                "kKeywords must be sorted by name");
  const auto* end = std::end(kKeywords);
  const auto* it =
      std::lower_bound(std::begin(kKeywords), end, name,
                       [](const Keyword& k, std::string_view n) { return k.name < n; });
  return it != end && it->name == name ? it : nullptr;
}

bool Reader::word(std::size_t start, std::string_view name, bool hasParam, int n) {
  if (name == "bin") return binary(start, hasParam, n);
  // A control word ends the fallback of a \uN.
  skip_ = 0;
  if (state_.dest == Dest::Skip) return true;
  if (const Keyword* k = findKeyword(name)) return (this->*k->handler)({start, hasParam, n, k->ch});
  if (isDestination(name)) state_.dest = Dest::Skip;
  return true;
}

// \binN and N bytes of binary data, in any destination; they count as one
// fallback character of a \uN.
bool Reader::binary(std::size_t start, bool hasParam, int n) {
  if (!hasParam || n < 0) return fail(start, "bad \\bin length");
  if (static_cast<std::size_t>(n) > in_.size() - pos_) return endedEarly();
  pos_ += static_cast<std::size_t>(n);
  if (skip_ > 0) --skip_;
  return true;
}

bool Reader::colorTable(const Word&) {
  state_.dest = Dest::ColorTable;
  return true;
}

// \redN, \greenN and \blueN of a colour table entry.
bool Reader::colorPart(const Word& w) {
  if (state_.dest != Dest::ColorTable || !w.hasParam) return true;
  const std::int32_t v = std::clamp(w.n, 0, 255);
  const std::string_view name = in_.substr(w.start + 1, 3);
  const int shift = name == "red" ? 16 : name == "gre" ? 8 : 0;
  colorRgb_ = (colorRgb_ & ~(0xFF << shift)) | (v << shift);
  colorPending_ = true;
  return true;
}

bool Reader::color(const Word& w) {
  state_.format.color = w.hasParam ? std::max(w.n, 0) : 0;
  return true;
}

bool Reader::fontTable(const Word&) {
  state_.dest = Dest::FontTable;
  return true;
}

// In the font table \fN starts the entry of font N; elsewhere it selects it.
bool Reader::font(const Word& w) {
  if (!w.hasParam) return true;
  if (state_.dest == Dest::FontTable) {
    commitFont();
    fontPending_ = true;
    fontNumber_ = w.n;
    fontCharset_ = 0;
    fontName_.clear();
  } else {
    state_.format.font = w.n;
  }
  return true;
}

bool Reader::fontCharset(const Word& w) {
  if (state_.dest == Dest::FontTable && w.hasParam) fontCharset_ = w.n;
  return true;
}

bool Reader::defaultFont(const Word& w) {
  if (w.hasParam) deff_ = w.n;
  return true;
}

// \fs alone is the default size; \fs0 and negative sizes change nothing.
bool Reader::fontSize(const Word& w) {
  if (!w.hasParam) {
    state_.format.halfPoints = kDefaultHalfPoints;
  } else if (w.n > 0) {
    state_.format.halfPoints = std::clamp(w.n, kMinHalfPoints, kMaxHalfPoints);
  }
  return true;
}

bool Reader::plain(const Word&) {
  state_.format = CharFormat();
  state_.hidden = false;
  return true;
}

bool Reader::bold(const Word& w) {
  state_.format.bold = w.on();
  return true;
}

bool Reader::italic(const Word& w) {
  state_.format.italic = w.on();
  return true;
}

bool Reader::underline(const Word& w) {
  state_.format.underline = w.on();
  return true;
}

bool Reader::underlineNone(const Word&) {
  state_.format.underline = false;
  return true;
}

bool Reader::hidden(const Word& w) {
  state_.hidden = w.on();
  return true;
}

bool Reader::alignLeft(const Word&) {
  state_.align = Align::Left;
  return true;
}

bool Reader::alignCenter(const Word&) {
  state_.align = Align::Center;
  return true;
}

bool Reader::alignRight(const Word&) {
  state_.align = Align::Right;
  return true;
}

bool Reader::par(const Word&) {
  paragraph(false);
  return true;
}

bool Reader::softPar(const Word&) {
  paragraph(true);
  return true;
}

bool Reader::character(const Word& w) {
  text(w.ch, false);
  return true;
}

bool Reader::unicodeSkip(const Word& w) {
  if (w.hasParam) state_.uc = std::max(w.n, 0);
  return true;
}

bool Reader::unicode(const Word& w) {
  if (!w.hasParam) return true;
  if (w.n < -32768 || w.n > 65535) return fail(w.start, "\\u value out of range");
  auto c = static_cast<char16_t>(w.n < 0 ? w.n + 65536 : w.n);
  if (state_.dest == Dest::Text) {
    // Symbol font codes: U+F0hh in any font (LibreOffice declares the font
    // \fcharset0 when it writes them), U+0080..U+009F in a symbol font.
    if (c >= 0xF020 && c <= 0xF0FF) {
      c = cp1252ToChar(static_cast<std::uint8_t>(c - 0xF000));
    } else if (c >= 0x80 && c <= 0x9F && symbolFont()) {
      c = cp1252ToChar(static_cast<std::uint8_t>(c));
    }
  }
  text(c, false);
  skip_ = state_.uc;
  return true;
}

}  // namespace

bool readRtf(std::string_view bytes, RichDocument& out, RtfError* err, RtfNotes* notes) {
  return Reader(bytes).read(out, err, notes);
}

}  // namespace kavelin
