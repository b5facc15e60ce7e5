// kavelin-convert: transliterates Roman-letter Hindi into DevLys 160 glyph codes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "engine.h"
#include "legacy.h"
#include "rtf.h"
#include "text.h"
#include "transducer.h"
#include "unicode.h"

#ifndef KAVELIN_VERSION
#define KAVELIN_VERSION "0.0.0"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: kavelin-convert [OPTIONS] [FILE...]\n"
    "Transliterate Hindi typed in Roman letters (UTF-8) into DevLys 160 glyph codes.\n"
    "Reads the FILEs in order as one text, or standard input when none is given\n"
    "(or for a FILE named -), and writes the result to standard output.\n"
    "\n"
    "With --from, converts legacy documents both ways instead: glyph codes (text\n"
    "or RTF) to Unicode, or Unicode to glyph codes.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE     write to FILE instead (replaced atomically)\n"
    "      --from FORM       roman (default): Hindi typed in Roman letters;\n"
    "                        glyphs: DevLys 160 glyph codes, as UTF-8 text, raw\n"
    "                        codes with --encoding cp1252, or an RTF document\n"
    "                        (found by its {\\rtf start), whose runs in DevLys 160\n"
    "                        become Unicode in Noto Sans Devanagari;\n"
    "                        unicode: Unicode Devanagari, as UTF-8 text or RTF,\n"
    "                        whose Devanagari runs go into DevLys 160\n"
    "      --to FORM         glyphs (default; unicode with --from glyphs): DevLys 160\n"
    "                        glyph codes; unicode: Unicode Devanagari text (UTF-8)\n"
    "      --legacy-font NAME  with --from glyphs: runs in the font NAME hold glyph\n"
    "                        codes too\n"
    "      --strict          exit with status 1 when characters could not be\n"
    "                        converted (they are reported on standard error)\n"
    "      --rtf             write an RTF document: the glyph codes in the font\n"
    "                        \"DevLys 160\" (with --to unicode: Unicode text in a\n"
    "                        Devanagari font), one paragraph per line of text;\n"
    "                        an RTF input keeps its paragraphs and formatting\n"
    "      --encoding ENC    for glyph codes (output, or input with --from glyphs):\n"
    "                        utf-8 (default), each code as its Windows-1252\n"
    "                        character encoded as UTF-8; cp1252: the raw 8-bit codes\n"
    "  -h, --help            show this help and exit\n"
    "  -V, --version         show the version and exit\n"
    "\n"
    "Characters that could not be converted are reported on standard error.\n"
    "\n"
    "Examples:\n"
    "  echo namaste | kavelin-convert                  ueLrs\n"
    "  echo 'नमस्ते' | kavelin-convert --from unicode    ueLrs\n"
    "  echo ueLrs | kavelin-convert --from glyphs      नमस्ते\n"
    "  kavelin-convert --from glyphs --rtf old.rtf -o new.rtf\n";

enum class Encoding { kUtf8, kCp1252 };
enum class Form { kGlyphs, kUnicode };
enum class Source { kRoman, kGlyphs, kUnicode };

// Fonts of the RTF output.
constexpr char16_t kGlyphFont[] = u"DevLys 160";
constexpr char16_t kUnicodeFont[] = u"Noto Sans Devanagari";
constexpr double kRtfFontSize = 14.25;

struct Options {
  Encoding encoding = Encoding::kUtf8;
  Form form = Form::kGlyphs;
  bool formGiven = false;
  Source from = Source::kRoman;
  std::string legacyFont;
  bool strict = false;
  bool rtf = false;
  std::string output;
  std::vector<std::string> files;
};

[[noreturn]] void fail(const std::string& message, int code = 1) {
  std::cerr << "kavelin-convert: " << message << "\n";
  std::exit(code);
}

[[noreturn]] void usageError(const std::string& message) {
  std::cerr << "kavelin-convert: " << message << "\n"
            << "Try 'kavelin-convert --help' for more information.\n";
  std::exit(2);
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
      std::cout << kUsage;
      std::exit(0);
    } else if (arg == "-V" || arg == "--version") {
      std::cout << "kavelin-convert " << KAVELIN_VERSION << "\n";
      std::exit(0);
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
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--rtf") {
      options.rtf = true;
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
  if (options.from == Source::kGlyphs) {
    if (!options.formGiven) options.form = Form::kUnicode;
    if (options.form == Form::kGlyphs) usageError("--from glyphs converts to unicode only");
  } else {
    if (options.from == Source::kUnicode && options.form == Form::kUnicode) {
      usageError("--from unicode converts to glyphs only");
    }
    if (!options.legacyFont.empty()) usageError("--legacy-font applies to --from glyphs only");
    if (options.encoding == Encoding::kCp1252 && (options.rtf || options.form == Form::kUnicode)) {
      usageError("--encoding cp1252 applies to plain glyph codes only");
    }
  }
  return options;
}

// Reads a whole file (or standard input for "-") as bytes.
// Hands the file (or standard input for "-") to `take` block by block.
template <typename Take>
void readBlocks(const std::string& name, Take take) {
  const bool standardInput = name == "-";
  const std::string label = standardInput ? "standard input" : name;
  const int fd = standardInput ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(label + ": " + std::strerror(errno));
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(label + ": " + std::strerror(errno));
    }
    take(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
  if (!standardInput) ::close(fd);
}

std::string readInput(const std::string& name) {
  std::string bytes;
  readBlocks(name, [&bytes](std::string_view block) { bytes += block; });
  return bytes;
}

// The converted text as an RTF document, one paragraph per line.
std::string rtfDocument(const std::u16string& text, const std::u16string& font) {
  kavelin::RichDocument doc;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    const std::size_t end = std::min(text.find(u'\n', begin), text.size());
    kavelin::RichParagraph paragraph;
    if (end > begin) {
      kavelin::RichRun run;
      run.text = text.substr(begin, end - begin);
      run.font = font;
      run.sizePt = kRtfFontSize;
      paragraph.runs.push_back(std::move(run));
    }
    // A final line break ends the last paragraph rather than starting one.
    if (end < text.size() || end > begin) doc.paragraphs.push_back(std::move(paragraph));
    begin = end + 1;
  }
  return kavelin::writeRtf(doc);
}

std::string encodeOutput(const kavelin::GlyphString& glyphs, const Options& options) {
  if (options.form == Form::kUnicode) {
    const std::u16string unicode = kavelin::glyphsToUnicode(glyphs);
    return options.rtf ? rtfDocument(unicode, kUnicodeFont) : kavelin::encodeUtf8(unicode);
  }
  if (options.rtf) return rtfDocument(glyphs, kGlyphFont);
  if (options.encoding == Encoding::kUtf8) return kavelin::encodeUtf8(glyphs);
  return kavelin::glyphToCodes(glyphs);
}

bool writeAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes `data` to a temporary file beside `path` and renames it into place.
void writeAtomically(const std::string& path, const std::string& data) {
  std::string temp = path + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) fail(path + ": " + std::strerror(errno));
  temp = name.data();
  const mode_t mask = ::umask(0);  // mkstemp creates 0600; give the usual permissions
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  if (!writeAll(fd, data) || ::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    fail(path + ": " + std::strerror(err));
  }
  if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    fail(path + ": " + std::strerror(err));
  }
}

}  // namespace

// Plain glyph codes: the files stream through the transducer a block at a
// time, so memory stays near the size of the output.
std::string transliterate(const std::vector<std::string>& files, const Options& options) {
  kavelin::Transducer transducer(options.encoding == Encoding::kUtf8
                                     ? kavelin::Transducer::Output::kUtf8
                                     : kavelin::Transducer::Output::kCodes);
  std::string out;
  std::size_t offset = 0;  // of the current file in the whole input
  for (const std::string& file : files) {
    const std::string label = file == "-" ? std::string("standard input") : file;
    const auto invalid = [&](std::size_t at) {
      fail(label + ": invalid UTF-8 at byte offset " + std::to_string(at - offset));
    };
    std::size_t size = 0;
    kavelin::Utf8Error error;
    readBlocks(file, [&](std::string_view block) {
      if (!transducer.feed(block, out, &error)) invalid(error.offset);
      size += block.size();
    });
    if (transducer.midSequence()) invalid(offset + size - transducer.midSequence());
    offset += size;
  }
  transducer.finish(out);
  return out;
}

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const Options options = parseArguments(argc, argv);
  std::vector<std::string> files = options.files;
  if (files.empty()) files.push_back("-");

  if (options.from != Source::kRoman) {
    std::vector<kavelin::LegacyInput> inputs;
    for (const std::string& file : files) {
      inputs.push_back({file == "-" ? std::string("standard input") : file, readInput(file)});
    }
    kavelin::LegacyRequest request;
    request.toUnicode = options.from == Source::kGlyphs;
    request.rawCodes = options.encoding == Encoding::kCp1252;
    request.rtf = options.rtf;
    if (kavelin::Utf8Error e; !kavelin::decodeUtf8(options.legacyFont, request.legacyFont, &e)) {
      usageError("the font name is not UTF-8");
    }
    const kavelin::LegacyResult result = kavelin::convertLegacy(inputs, request);
    inputs.clear();
    if (!result.error.empty()) fail(result.error);
    std::cerr << kavelin::legacyReport(result, options.strict) << std::flush;
    if (options.strict && result.unconverted != 0) return 1;
    if (options.output.empty()) {
      if (!writeAll(STDOUT_FILENO, result.output)) {
        fail(std::string("standard output: ") + std::strerror(errno));
      }
    } else {
      writeAtomically(options.output, result.output);
    }
    return 0;
  }

  if (options.form == Form::kGlyphs && !options.rtf) {
    const std::string out = transliterate(files, options);
    if (options.output.empty()) {
      if (!writeAll(STDOUT_FILENO, out)) {
        fail(std::string("standard output: ") + std::strerror(errno));
      }
    } else {
      writeAtomically(options.output, out);
    }
    return 0;
  }

  std::u16string english;
  for (const std::string& file : files) {
    const std::string bytes = readInput(file);
    std::u16string text;
    kavelin::Utf8Error error;
    if (!kavelin::decodeUtf8(bytes, text, &error)) {
      fail((file == "-" ? std::string("standard input") : file) +
           ": invalid UTF-8 at byte offset " + std::to_string(error.offset));
    }
    english += text;
  }

  kavelin::Engine engine;
  const std::string out = encodeOutput(engine.e2h(kavelin::toCrLf(english)), options);
  if (options.output.empty()) {
    if (!writeAll(STDOUT_FILENO, out))
      fail(std::string("standard output: ") + std::strerror(errno));
  } else {
    writeAtomically(options.output, out);
  }
  return 0;
}
