// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the document tests: files, zip packages made with libzip, and
// the programs that write and read documents (soffice, python3-docx, odfpy).
#pragma once

#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kavelin::doctest {

namespace fs = std::filesystem;

inline std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void spit(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A command's standard output, and whether it exited with status 0.
inline std::pair<bool, std::string> capture(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return {false, out};
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  return {pclose(p) == 0, out};
}

inline std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// A zip package of `entries` in order; `store` entries are not compressed.
inline std::string makeZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &ze);
  zip_t* z = zip_open_from_source(target, ZIP_TRUNCATE, &ze);
  zip_source_keep(target);
  for (const auto& [name, bytes] : entries) {
    zip_source_t* s = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
    zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8);
  }
  zip_close(z);
  std::string out;
  zip_stat_t st;
  zip_source_open(target);
  zip_source_stat(target, &st);
  out.resize(st.size);
  zip_source_read(target, out.data(), st.size);
  zip_source_close(target);
  zip_source_free(target);
  zip_error_fini(&ze);
  return out;
}

// Each entry of a zip file: name -> (uncompressed, compressed as stored).
struct Entry {
  std::string data, raw;
  int method = 0;
};
inline std::vector<std::pair<std::string, Entry>> readZip(const std::string& bytes) {
  std::vector<std::pair<std::string, Entry>> out;
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
  zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &ze);
  zip_error_fini(&ze);
  if (!z) {
    zip_source_free(src);
    return out;
  }
  for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
    Entry e;
    e.method = st.comp_method;
    for (zip_flags_t flags : {zip_flags_t{0}, zip_flags_t{ZIP_FL_COMPRESSED}}) {
      std::string& to = flags ? e.raw : e.data;
      zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), flags);
      char buffer[65536];
      zip_int64_t n;
      while (f && (n = zip_fread(f, buffer, sizeof buffer)) > 0) {
        to.append(buffer, static_cast<std::size_t>(n));
      }
      if (f) zip_fclose(f);
    }
    out.emplace_back(st.name, std::move(e));
  }
  zip_discard(z);
  return out;
}

inline bool haveSoffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// Converts `input` with soffice into `format` in `outDir`, with a private
// profile, so that tests may run side by side; the converted file or "".
inline fs::path soffice(const fs::path& input, const std::string& format, const fs::path& outDir,
                        const fs::path& profile) {
  fs::create_directories(outDir);
  const std::string cmd = "timeout 300 soffice -env:UserInstallation=file://" + profile.string() +
                          " --headless --convert-to " + quote(format) + " --outdir " +
                          quote(outDir.string()) + " " + quote(input.string()) + " >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return {};
  fs::path out = outDir / input.filename();
  out.replace_extension(format.substr(0, format.find(':')));
  return fs::exists(out) ? out : fs::path();
}

// A temporary folder removed at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "kavelin-docs-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace kavelin::doctest
