// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled glyph font against Noto: the glyph string drawn in Kavelin
// Legacy Devanagari must look like its Unicode (glyphsToUnicode) drawn in Noto
// Sans Devanagari. Both are shaped with HarfBuzz and drawn with FreeType at
// the same pixel size; the ink is trimmed, scaled to one height, blurred and
// correlated. Side-by-side pictures go to KAVELIN_RENDER_OUT.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>
#include <hb-ft.h>
#include <hb.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine.h"
#include "text.h"
#include "unicode.h"

namespace kavelin {
namespace {

constexpr int kPixels = 48;  // font size in pixels, for both fonts
constexpr int kHeight = 40;  // the common height the ink is scaled to

struct Image {
  int w = 0, h = 0;
  std::vector<float> px;  // ink, 0..1
  float at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  float& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
};

class Renderer {
 public:
  explicit Renderer(const std::string& path) {
    static FT_Library lib = [] {
      FT_Library l = nullptr;
      FT_Init_FreeType(&l);
      return l;
    }();
    if (FT_New_Face(lib, path.c_str(), 0, &face_) != 0) {
      face_ = nullptr;
      return;
    }
    FT_Set_Pixel_Sizes(face_, 0, kPixels);
    font_ = hb_ft_font_create_referenced(face_);
    hb_ft_font_set_load_flags(font_, FT_LOAD_NO_HINTING);
  }
  ~Renderer() {
    if (font_) hb_font_destroy(font_);
    if (face_) FT_Done_Face(face_);
  }
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  bool ok() const { return face_ != nullptr; }
  bool hasChar(char32_t c) const { return FT_Get_Char_Index(face_, c) != 0; }

  // Shapes text with the script HarfBuzz guesses (Latin for glyph strings, as
  // in Qt) and draws it.
  Image draw(const std::u16string& text) const {
    hb_buffer_t* buf = hb_buffer_create();
    hb_buffer_add_utf16(buf, reinterpret_cast<const uint16_t*>(text.data()),
                        static_cast<int>(text.size()), 0, -1);
    hb_buffer_guess_segment_properties(buf);
    hb_shape(font_, buf, nullptr, 0);
    unsigned n = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &n);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &n);
    long width = 0;
    for (unsigned i = 0; i < n; ++i) width += pos[i].x_advance;
    Image img;
    img.w = static_cast<int>(width / 64) + 3 * kPixels;
    img.h = 3 * kPixels;
    img.px.assign(static_cast<size_t>(img.w) * img.h, 0.f);
    const int baseline = 2 * kPixels;
    long penX = kPixels * 64, penY = 0;
    for (unsigned i = 0; i < n; ++i) {
      if (FT_Load_Glyph(face_, info[i].codepoint, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) == 0) {
        const FT_GlyphSlot g = face_->glyph;
        const int ox = static_cast<int>((penX + pos[i].x_offset) / 64) + g->bitmap_left;
        const int oy = baseline - static_cast<int>((penY + pos[i].y_offset) / 64) - g->bitmap_top;
        for (unsigned r = 0; r < g->bitmap.rows; ++r) {
          for (unsigned c = 0; c < g->bitmap.width; ++c) {
            const int x = ox + static_cast<int>(c), y = oy + static_cast<int>(r);
            if (x < 0 || y < 0 || x >= img.w || y >= img.h) continue;
            const float v = g->bitmap.buffer[r * g->bitmap.pitch + c] / 255.f;
            img.at(x, y) = std::min(1.f, img.at(x, y) + v);
          }
        }
      }
      penX += pos[i].x_advance;
      penY += pos[i].y_advance;
    }
    hb_buffer_destroy(buf);
    return img;
  }

 private:
  FT_Face face_ = nullptr;
  hb_font_t* font_ = nullptr;
};

Image trim(const Image& img) {
  int x0 = img.w, y0 = img.h, x1 = -1, y1 = -1;
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      if (img.at(x, y) > 0.1f) {
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
    }
  }
  Image out;
  if (x1 < 0) return out;
  out.w = x1 - x0 + 1, out.h = y1 - y0 + 1;
  out.px.resize(static_cast<size_t>(out.w) * out.h);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) out.at(x, y) = img.at(x0 + x, y0 + y);
  return out;
}

// Scales to kHeight rows (the width in proportion), bilinear.
Image scaled(const Image& img) {
  Image out;
  const float k = static_cast<float>(kHeight) / img.h;
  out.h = kHeight;
  out.w = std::max(1, static_cast<int>(std::lround(img.w * k)));
  out.px.resize(static_cast<size_t>(out.w) * out.h);
  for (int y = 0; y < out.h; ++y) {
    for (int x = 0; x < out.w; ++x) {
      const float sx = std::clamp((x + 0.5f) / k - 0.5f, 0.f, img.w - 1.f);
      const float sy = std::clamp((y + 0.5f) / k - 0.5f, 0.f, img.h - 1.f);
      const int ix = static_cast<int>(sx), iy = static_cast<int>(sy);
      const int jx = std::min(ix + 1, img.w - 1), jy = std::min(iy + 1, img.h - 1);
      const float fx = sx - ix, fy = sy - iy;
      out.at(x, y) = (img.at(ix, iy) * (1 - fx) + img.at(jx, iy) * fx) * (1 - fy) +
                     (img.at(ix, jy) * (1 - fx) + img.at(jx, jy) * fx) * fy;
    }
  }
  return out;
}

Image padded(const Image& img, int w) {
  Image out;
  out.w = w, out.h = img.h;
  out.px.assign(static_cast<size_t>(w) * out.h, 0.f);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) out.at(x, y) = img.at(x, y);
  return out;
}

// Two passes of a 3x3 box blur: close to a small Gaussian.
Image blurred(Image img) {
  for (int pass = 0; pass < 2; ++pass) {
    Image out = img;
    for (int y = 0; y < img.h; ++y) {
      for (int x = 0; x < img.w; ++x) {
        float sum = 0;
        int count = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int u = x + dx, v = y + dy;
            if (u < 0 || v < 0 || u >= img.w || v >= img.h) continue;
            sum += img.at(u, v), ++count;
          }
        out.at(x, y) = sum / count;
      }
    }
    img = std::move(out);
  }
  return img;
}

double correlation(const Image& a, const Image& b) {
  double ma = 0, mb = 0;
  const size_t n = a.px.size();
  for (size_t i = 0; i < n; ++i) ma += a.px[i], mb += b.px[i];
  ma /= n, mb /= n;
  double sab = 0, saa = 0, sbb = 0;
  for (size_t i = 0; i < n; ++i) {
    const double da = a.px[i] - ma, db = b.px[i] - mb;
    sab += da * db, saa += da * da, sbb += db * db;
  }
  return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
}

// Ink likeness of two drawings: 1 for the same picture.
double likeness(const Image& a, const Image& b) {
  const Image ta = trim(a), tb = trim(b);
  if (ta.w == 0 || tb.w == 0) return ta.w == tb.w ? 1 : 0;
  const Image sa = scaled(ta), sb = scaled(tb);
  const int w = std::max(sa.w, sb.w);
  return correlation(blurred(padded(sa, w)), blurred(padded(sb, w)));
}

std::string sourcePath(const char* rel) { return std::string(KAVELIN_SOURCE_DIR) + "/" + rel; }
const std::string kRegular = std::string(KAVELIN_FONT_DIR) + "/KavelinLegacyDevanagari-Regular.ttf";
const std::string kBold = std::string(KAVELIN_FONT_DIR) + "/KavelinLegacyDevanagari-Bold.ttf";
const std::string kNoto = std::string(KAVELIN_NOTO_DIR) + "/NotoSansDevanagari-Regular.ttf";
const std::string kNotoBold = std::string(KAVELIN_NOTO_DIR) + "/NotoSansDevanagari-Bold.ttf";

struct Row {
  std::string codes;  // raw font codes
  std::u16string unicode;
  std::string kind;
};

std::vector<Row> readTable() {
  std::ifstream in(sourcePath("resources/fonts/glyph-table.tsv"));
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream cols(line);
    std::string codes, uni, kind;
    std::getline(cols, codes, '\t');
    std::getline(cols, uni, '\t');
    std::getline(cols, kind, '\t');
    Row row;
    std::istringstream hex(codes);
    for (std::string h; hex >> h;) row.codes += static_cast<char>(std::stoi(h, nullptr, 16));
    std::istringstream ups(uni);
    for (std::string u; ups >> u;)
      row.unicode += static_cast<char16_t>(std::stoi(u.substr(2), nullptr, 16));
    row.kind = kind;
    rows.push_back(row);
  }
  return rows;
}

struct Sample {
  std::string label;
  std::u16string glyphs, unicode;
  Image mine, noto;
  double score = 0;
};

Sample compare(const Renderer& mine, const Renderer& noto, std::string label,
               const std::u16string& glyphs) {
  Sample s;
  s.label = std::move(label);
  s.glyphs = glyphs;
  s.unicode = glyphsToUnicode(glyphs);
  s.mine = mine.draw(s.glyphs);
  s.noto = noto.draw(s.unicode);
  s.score = likeness(s.mine, s.noto);
  return s;
}

QImage toQImage(const Image& img) {
  const Image t = trim(img);
  if (t.w == 0) return QImage(1, 1, QImage::Format_Grayscale8);
  QImage q(t.w + 8, t.h + 8, QImage::Format_Grayscale8);
  q.fill(255);
  for (int y = 0; y < t.h; ++y)
    for (int x = 0; x < t.w; ++x)
      q.setPixel(x + 4, y + 4,
                 qRgb(255 - int(t.at(x, y) * 255), 255 - int(t.at(x, y) * 255),
                      255 - int(t.at(x, y) * 255)));
  return q;
}

// Pairs in a grid: the glyph string in the bundled font above its Unicode in
// Noto, the score as a bar under each pair (red under 0.8).
void saveSheet(const std::vector<const Sample*>& samples, const QString& file, int columns) {
  struct Cell {
    QImage a, b;
    double score;
  };
  std::vector<Cell> cells;
  int cellW = 0, cellH = 0;
  for (const Sample* s : samples) {
    Cell c{toQImage(s->mine), toQImage(s->noto), s->score};
    cellW = std::max({cellW, c.a.width(), c.b.width()});
    cellH = std::max(cellH, c.a.height() + c.b.height() + 10);
    cells.push_back(c);
  }
  if (cells.empty()) return;
  cellW += 12;
  const int rows = (static_cast<int>(cells.size()) + columns - 1) / columns;
  QImage sheet(cellW * std::min<int>(columns, cells.size()), cellH * rows, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  for (size_t i = 0; i < cells.size(); ++i) {
    const int x = static_cast<int>(i % columns) * cellW, y = static_cast<int>(i / columns) * cellH;
    p.drawImage(x, y, cells[i].a);
    p.drawImage(x, y + cells[i].a.height(), cells[i].b);
    p.fillRect(x + 4, y + cellH - 8, static_cast<int>((cellW - 16) * std::max(0.0, cells[i].score)),
               4, cells[i].score < 0.8 ? Qt::red : Qt::darkGreen);
    p.setPen(Qt::lightGray);
    p.drawRect(x, y, cellW - 1, cellH - 1);
  }
  p.end();
  sheet.save(file);
}

QString outDir() {
  const QString dir = QStringLiteral(KAVELIN_RENDER_OUT);
  QDir().mkpath(dir);
  return dir;
}

std::vector<std::u16string> corpusLines() {
  std::ifstream in(KAVELIN_CORPUS);
  std::vector<std::u16string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::u16string roman;
    EXPECT_TRUE(decodeUtf8(line, roman));
    Engine engine;
    std::u16string glyphs = engine.e2h(toCrLf(roman));
    while (!glyphs.empty() &&
           (glyphs.back() == u' ' || glyphs.back() == u'\r' || glyphs.back() == u'\n'))
      glyphs.pop_back();
    lines.push_back(glyphs);
  }
  return lines;
}

std::vector<std::u16string> words(const std::u16string& line) {
  std::vector<std::u16string> out;
  std::u16string cur;
  for (char16_t c : line + u' ') {
    if (c == u' ') {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  return out;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The corpus, line by line and word by word, in one weight.
void checkCorpus(const std::string& font, const std::string& notoFont, const QString& tag) {
  Renderer mine(font), noto(notoFont);
  ASSERT_TRUE(mine.ok()) << font;
  ASSERT_TRUE(noto.ok()) << notoFont;
  std::vector<Sample> lines, wordSamples;
  const std::vector<std::u16string> corpus = corpusLines();
  ASSERT_GE(corpus.size(), 20u);
  for (size_t i = 0; i < corpus.size(); ++i) {
    lines.push_back(compare(mine, noto, "line " + std::to_string(i + 1), corpus[i]));
    for (const std::u16string& w : words(corpus[i])) {
      wordSamples.push_back(compare(mine, noto, encodeUtf8(w), w));
    }
  }
  std::vector<double> lineScores;
  for (const Sample& s : lines) lineScores.push_back(s.score);
  size_t passed = 0;
  for (const Sample& s : wordSamples) passed += s.score >= 0.80;
  const double lineMedian = median(lineScores);
  const double wordRate = static_cast<double>(passed) / wordSamples.size();

  std::vector<const Sample*> byScore;
  for (const Sample& s : wordSamples) byScore.push_back(&s);
  std::sort(byScore.begin(), byScore.end(),
            [](const Sample* a, const Sample* b) { return a->score < b->score; });
  std::cout << tag.toStdString() << ": line median " << std::fixed << std::setprecision(3)
            << lineMedian << ", worst line "
            << *std::min_element(lineScores.begin(), lineScores.end())
            << ", words >= 0.80: " << passed << "/" << wordSamples.size() << " (" << wordRate * 100
            << "%)\n  worst words:";
  for (size_t i = 0; i < std::min<size_t>(8, byScore.size()); ++i) {
    std::cout << " " << byScore[i]->label << "=" << byScore[i]->score;
  }
  std::cout << "\n";

  const QString dir = outDir();
  std::vector<const Sample*> linePtrs;
  for (const Sample& s : lines) linePtrs.push_back(&s);
  saveSheet(linePtrs, dir + "/" + tag + "-lines.png", 1);
  saveSheet(std::vector<const Sample*>(byScore.begin(),
                                       byScore.begin() + std::min<size_t>(24, byScore.size())),
            dir + "/" + tag + "-worst-words.png", 6);
  std::ofstream scores((dir + "/" + tag + "-scores.tsv").toStdString());
  for (const Sample& s : lines) scores << s.label << "\t" << s.score << "\n";
  for (const Sample* s : byScore) scores << "word " << s->label << "\t" << s->score << "\n";

  EXPECT_GE(lineMedian, 0.95);
  EXPECT_GE(wordRate, 0.95);
}

TEST(GlyphFont, CorpusReadsAsNotoRegular) { checkCorpus(kRegular, kNoto, "regular"); }

TEST(GlyphFont, CorpusReadsAsNotoBold) { checkCorpus(kBold, kNotoBold, "bold"); }

// Each code on its own, a sign on a consonant (ka, or tta for the rakar of
// rounded consonants), a half form before ka.
TEST(GlyphFont, EveryCodeDrawsItsUnicode) {
  Renderer mine(kRegular), noto(kNoto);
  ASSERT_TRUE(mine.ok());
  std::vector<Sample> samples;
  for (const Row& row : readTable()) {
    if (row.kind == "space") continue;
    std::string codes = row.codes;
    if (row.kind == "sign" || row.kind == "reph") codes = "d" + codes;
    if (row.kind == "rakar") codes = (codes == "\xAA" ? "V" : "d") + codes;
    if (row.kind == "half") codes += "d";
    if (row.kind == "pre") codes += "d";
    samples.push_back(
        compare(mine, noto, encodeUtf8(glyphFromCodes(codes)), glyphFromCodes(codes)));
  }
  std::vector<const Sample*> all;
  for (const Sample& s : samples) all.push_back(&s);
  saveSheet(all, outDir() + "/codes.png", 12);
  const Sample* worst = &samples.front();
  for (const Sample& s : samples) {
    EXPECT_GE(s.score, 0.80) << "codes " << s.label;
    if (s.score < worst->score) worst = &s;
  }
  std::cout << samples.size() << " codes, worst " << encodeUtf8(worst->glyphs) << "="
            << worst->score << "\n";
}

// The picture is that of the Unicode the converter gives, so the table that
// the font is built from must agree with the converter, code by code.
TEST(GlyphFont, TableAgreesWithTheConverter) {
  const std::vector<Row> rows = readTable();
  ASSERT_GT(rows.size(), 140u);
  for (const Row& row : rows) {
    if (row.kind == "space") continue;
    std::u16string expected = row.unicode;
    EXPECT_EQ(encodeUtf8(glyphsToUnicode(glyphFromCodes(row.codes))), encodeUtf8(expected))
        << "codes " << glyphToCodes(glyphFromCodes(row.codes));
  }
}

// Every single code at its Windows-1252 character and at U+F0xx, in both weights.
TEST(GlyphFont, CharacterMapCoversTheTable) {
  for (const std::string& file : {kRegular, kBold}) {
    Renderer font(file);
    ASSERT_TRUE(font.ok()) << file;
    for (const Row& row : readTable()) {
      if (row.codes.size() != 1) continue;
      const auto byte = static_cast<std::uint8_t>(row.codes[0]);
      EXPECT_TRUE(font.hasChar(cp1252ToChar(byte))) << file << " code " << int(byte);
      EXPECT_TRUE(font.hasChar(0xF000 + byte)) << file << " code " << int(byte);
    }
    EXPECT_TRUE(font.hasChar(0x201C));  // code 0x93
    EXPECT_FALSE(font.hasChar(0x0915)) << "Unicode Devanagari belongs to other fonts";
  }
}

// The measure tells fonts apart: a Latin font drawing the codes scores low.
TEST(GlyphFont, LatinFontScoresLow) {
  Renderer latin(KAVELIN_LATIN_FONT), noto(kNoto);
  ASSERT_TRUE(latin.ok());
  std::vector<double> scores;
  for (const std::u16string& line : corpusLines())
    scores.push_back(compare(latin, noto, "", line).score);
  std::cout << "Latin font: line median " << median(scores) << "\n";
  EXPECT_LT(median(scores), 0.6);
}

}  // namespace
}  // namespace kavelin
