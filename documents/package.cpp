// SPDX-License-Identifier: GPL-3.0-or-later
#include "package.h"

#include <zip.h>

#include <algorithm>

namespace kavelin::documents {

struct Package::Zip {
  zip_t* archive = nullptr;
  ~Zip() {
    if (archive) zip_discard(archive);
  }
};

namespace {

std::string zipErrorText(zip_error_t* e) {
  std::string text = zip_error_strerror(e);
  return text;
}

}  // namespace

Package::Package() = default;
Package::~Package() = default;

bool Package::open(std::string_view bytes, const PackageLimits& limits, std::string* error) {
  limits_ = limits;
  if (bytes.empty()) {
    if (error) *error = "not a zip package (the file is empty)";
    return false;
  }
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &ze) : nullptr;
  if (!archive) {
    if (source) zip_source_free(source);
    if (error) *error = "not a zip package (" + zipErrorText(&ze) + ")";
    zip_error_fini(&ze);
    return false;
  }
  zip_error_fini(&ze);
  zip_ = std::make_unique<Zip>();
  zip_->archive = archive;

  const zip_int64_t count = zip_get_num_entries(archive, 0);
  if (count < 0 || static_cast<std::uint64_t>(count) > limits.maxEntries) {
    if (error) *error = "the package has too many entries";
    return false;
  }
  std::uint64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE) ||
        !(st.valid & ZIP_STAT_COMP_SIZE)) {
      if (error) *error = "damaged zip entry " + std::to_string(i);
      return false;
    }
    const std::string name = st.name;
    if (st.size > limits.maxEntrySize ||
        (st.size > limits.ratioFloor &&
         st.size / std::max<zip_uint64_t>(st.comp_size, 1) > limits.maxRatio)) {
      if (error) *error = name + ": entry expands too much (possible zip bomb)";
      return false;
    }
    total += st.size;
    if (total > limits.maxTotalSize) {
      if (error) *error = "the package expands too much (possible zip bomb)";
      return false;
    }
    if (index_.count(name)) {
      if (error) *error = name + ": entry appears twice";
      return false;
    }
    index_[name] = {static_cast<std::uint64_t>(i),
                    (st.valid & ZIP_STAT_COMP_METHOD) ? st.comp_method : ZIP_CM_DEFLATE};
    names_.push_back(name);
  }
  return true;
}

bool Package::has(const std::string& name) const { return index_.count(name) != 0; }

bool Package::read(const std::string& name, std::string& out, std::string* error) const {
  out.clear();
  const bool ok = read(
      name, [&out](std::string_view piece) { out.append(piece); }, error);
  if (!ok) out.clear();
  return ok;
}

bool Package::read(const std::string& name, const std::function<void(std::string_view)>& piece,
                   std::string* error) const {
  const auto it = index_.find(name);
  if (it == index_.end()) {
    if (error) *error = name + ": missing part";
    return false;
  }
  zip_file_t* file = zip_fopen_index(zip_->archive, it->second.index, 0);
  if (!file) {
    if (error) *error = name + ": " + zip_strerror(zip_->archive);
    return false;
  }
  char buffer[1 << 16];
  std::uint64_t size = 0;
  bool ok = true;
  for (;;) {
    const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
    if (n < 0) {
      if (error) *error = name + ": damaged entry (" + zip_file_strerror(file) + ")";
      ok = false;
      break;
    }
    if (n == 0) break;
    // The header's size is not trusted: the data is counted as it comes.
    size += static_cast<std::uint64_t>(n);
    if (size > limits_.maxEntrySize) {
      if (error) *error = name + ": entry expands too much (possible zip bomb)";
      ok = false;
      break;
    }
    piece(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  zip_fclose(file);
  return ok;
}

void Package::replace(const std::string& name, std::string bytes) {
  replacements_[name] = std::move(bytes);
}

void Package::add(const std::string& name, std::string bytes) {
  if (index_.count(name) == 0 && replacements_.count(name) == 0) names_.push_back(name);
  replacements_[name] = std::move(bytes);
}

bool Package::save(std::string& out, std::string* error) const {
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &ze);
  zip_t* archive = target ? zip_open_from_source(target, ZIP_TRUNCATE, &ze) : nullptr;
  if (!archive) {
    if (target) zip_source_free(target);
    if (error) *error = "cannot write the package (" + zipErrorText(&ze) + ")";
    zip_error_fini(&ze);
    return false;
  }
  zip_error_fini(&ze);
  zip_source_keep(target);  // read back after zip_close

  auto fail = [&](const std::string& what) {
    if (error) *error = "cannot write the package (" + what + ": " + zip_strerror(archive) + ")";
    zip_discard(archive);
    zip_source_free(target);
    return false;
  };
  std::vector<std::string> order = names_;
  const auto mime = std::find(order.begin(), order.end(), "mimetype");
  if (mime != order.end()) std::rotate(order.begin(), mime, mime + 1);
  for (const std::string& name : order) {
    const auto r = replacements_.find(name);
    zip_source_t* s = r != replacements_.end()
                          ? zip_source_buffer(archive, r->second.data(), r->second.size(), 0)
                          : zip_source_zip(archive, zip_->archive, index_.at(name).index, 0, 0, -1);
    if (!s) return fail(name);
    const zip_int64_t at = zip_file_add(archive, name.c_str(), s, ZIP_FL_ENC_UTF_8);
    if (at < 0) {
      zip_source_free(s);
      return fail(name);
    }
    if (name == "mimetype") {
      zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), ZIP_CM_STORE, 0);
    } else if (r != replacements_.end()) {
      zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), ZIP_CM_DEFLATE, 6);
    } else {
      // The method it had, so that its compressed bytes are copied as they are.
      zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), index_.at(name).method, 0);
    }
  }
  if (zip_close(archive) != 0) return fail("closing");

  bool ok = zip_source_open(target) == 0;
  zip_stat_t st;
  zip_stat_init(&st);
  ok = ok && zip_source_stat(target, &st) == 0 && (st.valid & ZIP_STAT_SIZE);
  if (ok) {
    out.resize(st.size);
    zip_uint64_t done = 0;
    while (ok && done < st.size) {
      const zip_int64_t n = zip_source_read(target, out.data() + done, st.size - done);
      ok = n > 0;
      if (ok) done += static_cast<zip_uint64_t>(n);
    }
    zip_source_close(target);
  }
  zip_source_free(target);
  if (!ok) {
    out.clear();
    if (error) *error = "cannot write the package";
  }
  return ok;
}

std::string resolvePartName(std::string_view base, std::string_view target) {
  std::vector<std::string> parts;
  std::string_view path = target;
  if (!path.empty() && path[0] == '/') {
    path.remove_prefix(1);
  } else {
    std::string_view dir = base;
    while (!dir.empty()) {
      const std::size_t slash = dir.find('/');
      if (slash == std::string_view::npos) break;
      parts.emplace_back(dir.substr(0, slash));
      dir.remove_prefix(slash + 1);
    }
  }
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    const std::string_view part = path.substr(0, slash);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

bool readXmlPart(const Package& package, const std::string& name, XmlDocument& doc,
                 std::string* error, XmlStream* stream) {
  XmlParser parser(stream);
  bool wellFormed = true;
  const auto feed = [&](std::string_view piece) {
    if (wellFormed) wellFormed = parser.feed(piece);
  };
  if (!package.read(name, feed, error)) return false;
  std::string why;
  if (!parser.finish(doc, &why)) {
    if (error) *error = name + ": malformed XML (" + why + ")";
    return false;
  }
  return true;
}

}  // namespace kavelin::documents
