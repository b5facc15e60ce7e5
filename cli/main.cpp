// SPDX-License-Identifier: GPL-3.0-or-later
// kavelin-convert: transliterates Roman-letter Hindi into DevLys 160 glyph codes.
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "convertfile.h"
#include "legacy.h"
#include "pipeline.h"
#include "spelling.h"
#include "startoptions.h"
#include "stream.h"
#include "suggestindex.h"
#include "suggestions.h"
#include "text.h"
#include "transducer.h"
#include "unconverted.h"
#include "unicode.h"
#include "unicodetoglyphs.h"

#ifndef KAVELIN_VERSION
#define KAVELIN_VERSION "0.0.0"
#endif

namespace {

using kavelin::cli::Encoder;
using kavelin::cli::Failure;

constexpr const char* kUsage =
    "Usage: kavelin-convert [OPTIONS] [FILE...]\n"
    "Transliterate Hindi typed in Roman letters (UTF-8) into DevLys 160 glyph codes.\n"
    "Reads the FILEs in order as one text, or standard input when none is given\n"
    "(or for a FILE named -), and writes the result to standard output.\n"
    "\n"
    "With --from, converts legacy documents both ways instead: glyph codes (text,\n"
    "RTF, DOCX or ODT) to Unicode, or Unicode to glyph codes. A document keeps its\n"
    "kind: RTF gives RTF, DOCX gives DOCX, ODT gives ODT.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE     write to FILE instead (a regular file is replaced\n"
    "                        atomically; a device or FIFO is written into)\n"
    "      --from FORM       roman (default): Hindi typed in Roman letters;\n"
    "                        glyphs: DevLys 160 glyph codes, as UTF-8 text, raw\n"
    "                        codes with --encoding cp1252, or an RTF document\n"
    "                        (found by its {\\rtf start), whose runs in DevLys 160\n"
    "                        become Unicode in Noto Sans Devanagari;\n"
    "                        unicode: Unicode Devanagari, as UTF-8 text or RTF,\n"
    "                        whose Devanagari runs go into DevLys 160\n"
    "      --to FORM         glyphs (default; unicode with --from glyphs): DevLys 160\n"
    "                        glyph codes; unicode: Unicode Devanagari text (UTF-8)\n"
    "      --format FORMAT   docx or odt: the input is such a document whatever its\n"
    "                        name (by default .docx and .odt names are); its runs\n"
    "                        are converted in place and the document is written\n"
    "                        to -o FILE, which it needs\n"
    "      --legacy-font NAME  the legacy font: with --from glyphs, runs in NAME\n"
    "                        (or \"NAME Bold\") hold glyph codes too; with --from\n"
    "                        unicode, glyph codes are written in NAME\n"
    "                        (default \"DevLys 160\")\n"
    "      --unicode-font NAME  the font of Unicode text written with --from glyphs\n"
    "                        (default \"Noto Sans Devanagari\")\n"
    "      --to-text         with an RTF input: write plain text, not RTF\n"
    "      --strict          exit with status 1 when characters could not be\n"
    "                        converted (they are reported on standard error),\n"
    "                        writing nothing\n"
    "      --rtf             with a text input: write an RTF document, the glyph\n"
    "                        codes in the font \"DevLys 160\" (with --to unicode:\n"
    "                        Unicode text in a Devanagari font), one paragraph per\n"
    "                        line of text; an RTF input always gives RTF, keeping\n"
    "                        its paragraphs and formatting\n"
    "      --encoding ENC    for glyph codes (output, or input with --from glyphs):\n"
    "                        utf-8 (default), each code as its Windows-1252\n"
    "                        character encoded as UTF-8; cp1252: the raw 8-bit codes\n"
    "      --suggest N       word suggestions instead: for each input line, one Roman\n"
    "                        word as typed, a line of up to N Hindi words it may\n"
    "                        mean, best first, tab-separated, each written\n"
    "                        \"UNICODE SPELLING\" (SPELLING: the keys that type it);\n"
    "                        from the installed word lists (aspell-hi, hunspell-hi,\n"
    "                        apertium-hin, tesseract-ocr-hin) and the user's own\n"
    "                        word store\n"
    "      --check           spelling instead: one line for each Devanagari word of\n"
    "                        the text (glyph codes, or Unicode with --from unicode)\n"
    "                        that no word list knows, LINE:COLUMN<TAB>WORD<TAB>\n"
    "                        then up to 5 corrections, best first, tab-separated,\n"
    "                        in the text's encoding; exit status 1 when any word\n"
    "                        is unknown, 0 when none\n"
    "      --no-learned      with --suggest or --check: leave the user's word store out\n"
    "  -h, --help            show this help and exit\n"
    "  -V, --version         show the version and exit\n"
    "\n"
    "Characters that could not be converted are reported on standard error, with\n"
    "their line and column, or in a DOCX or ODT document with the part, the\n"
    "paragraph and the offset in it. A damaged document (not a zip package,\n"
    "malformed XML, a missing part, entity definitions, or entries that expand\n"
    "too much) is an error: status 1, and no output is written.\n"
    "\n"
    "Examples:\n"
    "  echo namaste | kavelin-convert                  ueLrs\n"
    "  echo 'नमस्ते' | kavelin-convert --from unicode    ueLrs\n"
    "  echo ueLrs | kavelin-convert --from glyphs      नमस्ते\n"
    "  kavelin-convert --from glyphs old.rtf -o new.rtf\n"
    "  kavelin-convert --from glyphs letter.docx -o letter-unicode.docx\n"
    "  kavelin-convert --from unicode report.odt -o report-devlys.odt\n"
    "  echo bharat | kavelin-convert --suggest 3       भारत bhaarat<TAB>भरत bharat ...\n"
    "  kavelin-convert --check --from unicode letter.txt\n";

enum class Encoding { kUtf8, kCp1252 };
enum class Form { kGlyphs, kUnicode };
enum class Source { kRoman, kGlyphs, kUnicode };

struct Options {
  Encoding encoding = Encoding::kUtf8;
  Form form = Form::kGlyphs;
  bool formGiven = false;
  Source from = Source::kRoman;
  std::string legacyFont;
  std::string unicodeFont;
  kavelin::FileFormat format = kavelin::FileFormat::kAuto;
  bool toText = false;
  bool rtf = false;
  bool strict = false;
  std::size_t suggest = 0;  // --suggest N: candidates a word, 0 for none
  bool check = false;       // --check: unknown words instead of a conversion
  bool learned = true;
  std::string output;
  std::vector<std::string> files;
};

[[noreturn]] void usageError(const std::string& message) {
  throw Failure(message + "\nTry 'kavelin-convert --help' for more information.", 2);
}

// Writes what --help or --version shows, then exits; 1 when it cannot.
[[noreturn]] void show(const std::string& text) {
  kavelin::cli::Output(std::string()).write(text);
  std::exit(0);
}

Options parseArguments(int argc, char** argv) {
  Options options;
  bool onlyFiles = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const std::string& name) -> std::string {
      const std::string prefix = name + "=";
      if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
      if (i + 1 >= argc) usageError("option '" + name + "' needs a value");
      return argv[++i];
    };
    if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
      options.files.push_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "-h" || arg == "--help") {
      show(kUsage);
    } else if (arg == "-V" || arg == "--version") {
      show(kavelin::startVersionText("kavelin-convert", KAVELIN_VERSION));
    } else if (arg == "-o" || arg == "--output" || arg.rfind("--output=", 0) == 0) {
      options.output = value(arg == "-o" ? "-o" : "--output");
      if (options.output.empty()) usageError("empty output file name");
    } else if (arg == "--to" || arg.rfind("--to=", 0) == 0) {
      const std::string form = value("--to");
      options.formGiven = true;
      if (form == "glyphs") {
        options.form = Form::kGlyphs;
      } else if (form == "unicode") {
        options.form = Form::kUnicode;
      } else {
        usageError("unknown form '" + form + "' (use glyphs or unicode)");
      }
    } else if (arg == "--from" || arg.rfind("--from=", 0) == 0) {
      const std::string from = value("--from");
      if (from == "roman") {
        options.from = Source::kRoman;
      } else if (from == "glyphs") {
        options.from = Source::kGlyphs;
      } else if (from == "unicode") {
        options.from = Source::kUnicode;
      } else {
        usageError("unknown form '" + from + "' (use roman, glyphs or unicode)");
      }
    } else if (arg == "--legacy-font" || arg.rfind("--legacy-font=", 0) == 0) {
      options.legacyFont = value("--legacy-font");
      if (options.legacyFont.empty()) usageError("empty font name");
    } else if (arg == "--unicode-font" || arg.rfind("--unicode-font=", 0) == 0) {
      options.unicodeFont = value("--unicode-font");
      if (options.unicodeFont.empty()) usageError("empty font name");
    } else if (arg == "--format" || arg.rfind("--format=", 0) == 0) {
      const std::string format = value("--format");
      if (format == "docx") {
        options.format = kavelin::FileFormat::kDocx;
      } else if (format == "odt") {
        options.format = kavelin::FileFormat::kOdt;
      } else {
        usageError("unknown format '" + format + "' (use docx or odt)");
      }
    } else if (arg == "--to-text") {
      options.toText = true;
    } else if (arg == "--rtf") {
      options.rtf = true;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--suggest" || arg.rfind("--suggest=", 0) == 0) {
      const std::string n = value("--suggest");
      char* end = nullptr;
      const unsigned long count = std::strtoul(n.c_str(), &end, 10);
      if (n.empty() || *end != '\0' || n[0] == '-' || count == 0 || count > 100) {
        usageError("--suggest takes a number of candidates from 1 to 100");
      }
      options.suggest = count;
    } else if (arg == "--check") {
      options.check = true;
    } else if (arg == "--no-learned") {
      options.learned = false;
    } else if (arg == "--encoding" || arg.rfind("--encoding=", 0) == 0) {
      const std::string enc = value("--encoding");
      if (enc == "utf-8" || enc == "utf8" || enc == "UTF-8") {
        options.encoding = Encoding::kUtf8;
      } else if (enc == "cp1252" || enc == "windows-1252") {
        options.encoding = Encoding::kCp1252;
      } else {
        usageError("unknown encoding '" + enc + "' (use utf-8 or cp1252)");
      }
    } else {
      usageError("unknown option '" + arg + "'");
    }
  }
  if (options.suggest) {
    if (options.from != Source::kRoman || options.formGiven || options.rtf || options.strict ||
        options.encoding != Encoding::kUtf8 || !options.legacyFont.empty() ||
        !options.unicodeFont.empty() || options.toText ||
        options.format != kavelin::FileFormat::kAuto) {
      usageError("--suggest takes only -o and --no-learned besides its files");
    }
    return options;
  }
  if (options.check) {
    if (options.from == Source::kRoman) options.from = Source::kGlyphs;
    if (options.formGiven || options.rtf || options.strict || !options.legacyFont.empty() ||
        !options.unicodeFont.empty() || options.toText ||
        options.format != kavelin::FileFormat::kAuto ||
        (options.encoding == Encoding::kCp1252 && options.from != Source::kGlyphs)) {
      usageError("--check takes only --from, -o, --no-learned and --encoding besides its files");
    }
    return options;
  }
  if (!options.learned) usageError("--no-learned applies to --suggest and --check only");
  if (options.rtf && options.toText) usageError("--rtf and --to-text exclude each other");
  if (options.from == Source::kGlyphs) {
    if (!options.formGiven) options.form = Form::kUnicode;
    if (options.form == Form::kGlyphs) usageError("--from glyphs converts to unicode only");
  } else {
    if (options.from == Source::kUnicode && options.form == Form::kUnicode) {
      usageError("--from unicode converts to glyphs only");
    }
    if (options.from == Source::kRoman) {
      if (!options.legacyFont.empty() || !options.unicodeFont.empty() || options.toText ||
          options.format != kavelin::FileFormat::kAuto) {
        usageError("--legacy-font, --unicode-font, --format and --to-text apply to --from only");
      }
    }
    if (!options.unicodeFont.empty()) usageError("--unicode-font applies to --from glyphs only");
    if (options.encoding == Encoding::kCp1252 && (options.rtf || options.form == Form::kUnicode)) {
      usageError("--encoding cp1252 applies to plain glyph codes only");
    }
  }
  return options;
}

Encoder::Form outputForm(const Options& options) {
  if (options.form == Form::kUnicode) {
    return options.rtf ? Encoder::Form::kRtfUnicode : Encoder::Form::kUnicode;
  }
  if (options.rtf) return Encoder::Form::kRtfGlyphs;
  return options.encoding == Encoding::kUtf8 ? Encoder::Form::kGlyphsUtf8
                                             : Encoder::Form::kGlyphsCp1252;
}

// The temporary output file, for the signal handler to remove.
const char* volatile temporaryOutput = nullptr;

extern "C" void removeTemporaryAndDie(int signal) {
  if (const char* path = temporaryOutput; path && *path) ::unlink(path);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// The signals that end the program, held back from the moment the output's
// temporary file is made until the handler knows its name: one arriving in
// between would leave the file behind.
class HeldSignals {
 public:
  HeldSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, s);
    sigprocmask(SIG_BLOCK, &set, &before_);
  }
  ~HeldSignals() { release(); }
  void release() {
    if (held_) sigprocmask(SIG_SETMASK, &before_, nullptr);
    held_ = false;
  }

 private:
  sigset_t before_;
  bool held_ = true;
};

// Removes the output's temporary file, if any, when a signal ends the program;
// then lets the held signals through.
void watchTemporary(const kavelin::cli::Output& output, HeldSignals& held) {
  temporaryOutput = output.temporaryPath();
  for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, removeTemporaryAndDie);
  held.release();
}

// Where the converted bytes go, through Output. With --strict they wait for
// the verdict, so that a conversion that fails writes nothing: a file that is
// replaced on commit holds them itself, standard output and devices get them
// at the end.
class Sink {
 public:
  explicit Sink(const Options& options) : output_(options.output) {
    watchTemporary(output_, signals_);
    hold_ = options.strict && !output_.invisibleUntilCommit();
  }
  void write(std::string_view bytes) {
    if (hold_) {
      held_ += bytes;
    } else {
      output_.write(bytes);
    }
  }
  void commit() {
    output_.write(held_);
    output_.commit();
    temporaryOutput = nullptr;
  }

 private:
  HeldSignals signals_;
  kavelin::cli::Output output_;
  bool hold_ = false;
  std::string held_;
};

// Writes `text` to the output, atomically.
void writeOutput(const Options& options, const std::string& text) {
  Sink sink(options);
  sink.write(text);
  sink.commit();
}

// A whole file (or standard input for "-") as bytes.
std::string readWhole(const std::string& name) {
  const bool standardInput = name == "-";
  const std::string label = standardInput ? "standard input" : name;
  const int fd = standardInput ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw Failure(label + ": " + std::strerror(errno));
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      if (!standardInput) ::close(fd);
      throw Failure(label + ": " + std::strerror(err));
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  if (!standardInput) ::close(fd);
  return bytes;
}

// A DOCX or ODT document, converted into -o FILE.
int convertPackage(const Options& options, kavelin::FileFormat format) {
  if (options.files.size() != 1 || options.files[0] == "-") {
    usageError("a DOCX or ODT document is converted one file at a time, not from standard input");
  }
  if (options.output.empty()) usageError("a DOCX or ODT document needs -o FILE");
  if (options.rtf || options.toText || options.encoding != Encoding::kUtf8) {
    usageError("--rtf, --to-text and --encoding do not apply to DOCX or ODT");
  }
  kavelin::FileRequest request;
  request.toUnicode = options.from == Source::kGlyphs;
  request.legacyFont = options.legacyFont;
  request.unicodeFont = options.unicodeFont;
  std::string bytes = readWhole(options.files[0]);
  std::string converted;
  const kavelin::FileResult result =
      kavelin::convertPackageBytes(options.files[0], bytes, format, request, converted);
  bytes.clear();
  if (!result.ok) throw Failure(result.error);
  std::cerr << kavelin::legacyReport(kavelin::asLegacyResult(result), options.strict) << std::flush;
  if (options.strict && result.unconverted != 0) return 1;
  writeOutput(options, converted);
  return 0;
}

// Runs `convert`, which hands its output to `writer`, and writes all of it;
// when the conversion fails, what it handed over before is still written,
// as a filter writes what it has before it stops.
template <typename Convert>
void runWriting(kavelin::cli::WriterThread& writer, Convert convert) {
  try {
    convert();
  } catch (...) {
    try {
      writer.finish();
    } catch (...) {  // the conversion's failure is the one told
    }
    throw;
  }
  writer.finish();
}

// Legacy text both ways, streamed: glyph codes (UTF-8 or raw cp1252) to
// Unicode, or Unicode to glyph codes. Each input is converted on its own, its
// line breaks made LF.
int streamLegacy(const Options& options, kavelin::cli::ByteInput& input) {
  const bool toUnicode = options.from == Source::kGlyphs;
  const bool raw = options.encoding == Encoding::kCp1252;
  Sink sink(options);
  kavelin::UnconvertedTally kept(kavelin::keptAsGlyph);  // glyphs to Unicode
  kavelin::GlyphsToUnicodeStream unicode;
  kavelin::UnicodeToGlyphsStream glyphs;
  std::vector<std::string> labels;  // of the places glyphs found
  kavelin::cli::LfBreaks breaks;
  // Read and decoded on one thread, converted and written on this one.
  struct Decoded {
    std::u16string text;
    std::string source;
    bool last = false;
  };
  auto decode = [&](Decoded& item) {
    kavelin::cli::ByteInput::Piece piece;
    if (!input.next(piece)) return false;
    if (piece.first) {
      breaks.reset();
      kept.startSource(input.source());
    }
    if (toUnicode && raw) {
      kavelin::assignFromCodes(piece.bytes, item.text);
    } else if (kavelin::Utf8Error e; !kavelin::decodeUtf8(piece.bytes, item.text, &e)) {
      kavelin::cli::invalidUtf8(input, piece.offset + e.offset);
    }
    // Most pieces hold no CR: a byte search tells.
    if (breaks.afterCr() || piece.bytes.find('\r') != std::string_view::npos) {
      breaks.apply(item.text);
    }
    if (toUnicode) kept.scan(item.text);
    item.source = input.source();
    item.last = piece.last;
    return true;
  };
  std::u16string converted;
  std::string bytes;
  kavelin::cli::WriterThread writer([&](std::string_view b) { sink.write(b); });
  auto convertPiece = [&](Decoded& item) {
    converted.clear();
    bytes.clear();
    if (toUnicode) {
      unicode.feed(item.text, bytes);
      if (item.last) unicode.finish(bytes);
    } else {
      glyphs.feed(item.text, converted);
      if (item.last) glyphs.finish(converted);
      labels.resize(glyphs.unconverted().first.size(), item.source);
      if (raw) {
        kavelin::appendCodes(converted, bytes);
      } else {
        kavelin::appendUtf8(converted, bytes);
      }
    }
    writer.write(bytes);
  };
  runWriting(writer, [&] { kavelin::cli::runPipeline<Decoded>(decode, convertPiece); });
  kept.finishSource();
  kavelin::LegacyResult result;
  if (toUnicode) {
    result.unconverted = kept.count();
    for (const kavelin::UnconvertedTally::Place& p : kept.first()) {
      result.first.push_back({p.source, {{p.line, p.column}, p.character}});
    }
  } else {
    result.unconverted = glyphs.unconverted().count;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      result.first.push_back({labels[i], glyphs.unconverted().first[i]});
    }
  }
  std::cerr << kavelin::legacyReport(result, options.strict) << std::flush;
  if (options.strict && result.unconverted != 0) return 1;
  sink.commit();
  return 0;
}

// Legacy documents both ways (--from glyphs or unicode), read whole.
int convertLegacy(const Options& options) {
  kavelin::FileFormat format = options.format;
  if (format == kavelin::FileFormat::kAuto && !options.files.empty()) {
    format = kavelin::formatOfFile(options.files[0]);
  }
  if (format == kavelin::FileFormat::kDocx || format == kavelin::FileFormat::kOdt) {
    return convertPackage(options, format);
  }
  kavelin::cli::ByteInput input(options.files);
  // Text, unless an input is RTF or RTF is asked for: streamed.
  const bool whole = options.rtf || input.anyStartsWith("{\\rtf");
  if (!whole) return streamLegacy(options, input);
  std::vector<kavelin::LegacyInput> inputs;
  kavelin::cli::ByteInput::Piece piece;
  while (input.next(piece, true)) {
    if (piece.first) inputs.push_back({input.source(), std::string()});
    inputs.back().bytes += piece.bytes;
  }
  kavelin::LegacyRequest request;
  request.toUnicode = options.from == Source::kGlyphs;
  request.rawCodes = options.encoding == Encoding::kCp1252;
  request.rtf = options.rtf;
  request.toText = options.toText;
  if (kavelin::Utf8Error e; !kavelin::decodeUtf8(options.legacyFont, request.legacyFont, &e) ||
                            !kavelin::decodeUtf8(options.unicodeFont, request.unicodeFont, &e)) {
    usageError("the font name is not UTF-8");
  }
  const kavelin::LegacyResult result = kavelin::convertLegacy(inputs, request);
  inputs.clear();
  if (!result.error.empty()) throw Failure(result.error);
  std::cerr << kavelin::legacyReport(result, options.strict) << std::flush;
  if (options.strict && result.unconverted != 0) return 1;
  writeOutput(options, result.output);
  return 0;
}

// The files named (standard input when none), one after the other.
std::string readInputs(const Options& options) {
  std::vector<std::string> files = options.files;
  if (files.empty()) files.push_back("-");
  std::string input;
  for (const std::string& file : files) input += readWhole(file);
  return input;
}

// The installed word lists, and the user's store unless --no-learned, in
// `suggester`. A missing list or a damaged store is a warning.
kavelin::words::LoadedWords loadWordData(const Options& options,
                                         kavelin::words::Suggester& suggester,
                                         kavelin::words::UserStore& store) {
  kavelin::words::LoadedWords lists = kavelin::words::loadWordLists();
  std::cerr << lists.warnings();
  if (options.learned) {
    std::string error;
    if (!store.load(&error)) std::cerr << "warning: " << error << "\n";
  }
  kavelin::words::buildSuggester(suggester, lists, options.learned ? &store : nullptr);
  std::cerr << std::flush;
  return lists;
}

// Word suggestions for one Roman word a line.
int suggestWords(const Options& options) {
  const std::string input = readInputs(options);
  kavelin::words::Suggester suggester;
  kavelin::words::UserStore store(kavelin::words::UserStore::defaultPath());
  loadWordData(options, suggester, store);
  writeOutput(options, kavelin::cli::suggestLines(suggester, input, options.suggest));
  return 0;
}

// Unknown words, one line each; exit status 1 when there are any.
int checkWords(const Options& options) {
  const std::string bytes = readInputs(options);
  std::u16string text;
  if (options.encoding == Encoding::kCp1252) {
    text = kavelin::glyphFromCodes(bytes);
  } else if (kavelin::Utf8Error e; !kavelin::decodeUtf8(bytes, text, &e)) {
    throw Failure("input is not UTF-8 (byte " + std::to_string(e.offset + 1) + ")", 1);
  }
  kavelin::words::Suggester suggester;
  kavelin::words::UserStore store(kavelin::words::UserStore::defaultPath());
  const kavelin::words::LoadedWords lists = loadWordData(options, suggester, store);
  kavelin::words::SpellChecker checker(&lists.words, &suggester);
  // The store's words are known even where no keys type them.
  if (options.learned) {
    for (const auto& [word, count] : store.words()) checker.addWord(word);
  }
  const kavelin::cli::CheckReport report =
      kavelin::cli::checkText(checker, text, options.from == Source::kGlyphs);
  writeOutput(options, report.lines);
  return report.unknown ? 1 : 0;
}

// Roman text, streamed: plain glyph codes and Unicode straight from the
// UTF-8 bytes through the transducer; RTF through the engine a few lines at a
// time.
int convert(const Options& options) {
  if (options.suggest) return suggestWords(options);
  if (options.check) return checkWords(options);
  if (options.from != Source::kRoman) return convertLegacy(options);
  Sink sink(options);
  const Encoder::Form form = outputForm(options);
  kavelin::UnconvertedTally unconverted;
  if (form == Encoder::Form::kRtfGlyphs || form == Encoder::Form::kRtfUnicode) {
    kavelin::cli::TextInput input(options.files);
    kavelin::cli::GlyphConverter converter;
    Encoder encoder(form);
    std::u16string text;
    std::string source;
    bool startsSource = false;
    while (input.next(text, source, startsSource)) {
      if (startsSource) unconverted.startSource(source);
      unconverted.scan(text);
      sink.write(encoder.add(converter.add(text)));
    }
    sink.write(encoder.add(converter.finish()));
    sink.write(encoder.finish());
  } else {
    const bool toUnicode = form == Encoder::Form::kUnicode;
    kavelin::cli::ByteInput input(options.files);
    kavelin::Transducer transducer(form == Encoder::Form::kGlyphsUtf8
                                       ? kavelin::Transducer::Output::kUtf8
                                       : kavelin::Transducer::Output::kCodes);
    kavelin::GlyphsToUnicodeStream unicode;
    // Two threads: one reads and tallies the input, the other converts and
    // writes. To Unicode, the reading one also runs the transducer, and
    // this one the conversion of its glyphs.
    struct Piece {
      std::string bytes;  // the input; to Unicode, its glyph codes
      std::string source;
      std::size_t offset = 0;  // in its file
      bool last = false;       // of its file
      bool end = false;        // of the input: no bytes
    };
    std::size_t fed = 0;  // bytes given to the transducer
    auto transduce = [&](std::string_view bytes, const Piece& at, std::string& codes) {
      codes.clear();
      if (at.end) {
        transducer.finish(codes);
        return;
      }
      kavelin::Utf8Error error;
      if (!transducer.feed(bytes, codes, &error)) {
        kavelin::cli::invalidUtf8(at.source, at.offset + (error.offset - fed));
      }
      fed += bytes.size();
      // A file may not end inside a character.
      if (at.last && transducer.midSequence() > 0) {
        kavelin::cli::invalidUtf8(at.source, at.offset + bytes.size() - transducer.midSequence());
      }
    };
    bool ended = false;
    auto read = [&](Piece& item) {
      if (ended) return false;
      kavelin::cli::ByteInput::Piece piece;
      if (!input.next(piece)) {
        unconverted.finishSource();
        ended = item.end = true;
        item.last = false;
        item.bytes.clear();
        if (toUnicode) transduce({}, item, item.bytes);
        return true;
      }
      if (piece.first) unconverted.startSource(input.source());
      item.source = input.source();
      item.offset = piece.offset;
      item.last = piece.last;
      item.end = false;
      if (toUnicode) {
        transduce(piece.bytes, item, item.bytes);
      } else {
        item.bytes.assign(piece.bytes);
      }
      unconverted.scanUtf8(piece.bytes);
      return true;
    };
    std::string codes;
    std::u16string glyphs;
    std::string encoded;
    kavelin::cli::WriterThread writer([&](std::string_view b) { sink.write(b); });
    auto write = [&](Piece& item) {
      if (!toUnicode) {
        transduce(item.bytes, item, codes);
        writer.write(codes);
        return;
      }
      kavelin::assignFromCodes(item.bytes, glyphs);
      encoded.clear();
      unicode.feed(glyphs, encoded);
      if (item.end) unicode.finish(encoded);
      writer.write(encoded);
    };
    runWriting(writer, [&] { kavelin::cli::runPipeline<Piece>(read, write); });
  }

  const bool failed = options.strict && unconverted.count() > 0;
  std::cerr << kavelin::unconvertedReport(unconverted, "kavelin-convert", failed) << std::flush;
  if (failed) return 1;  // the output's temporary file goes with it
  sink.commit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Memory freed is kept for the next piece rather than handed back: every
  // fresh page costs a fault, and faults are dear on virtual machines.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  try {
    const Options options = parseArguments(argc, argv);
    return convert(options);
  } catch (const Failure& failure) {
    std::cerr << "kavelin-convert: " << failure.what() << "\n";
    return failure.code;
  }
}
