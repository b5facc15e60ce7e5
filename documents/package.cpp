// SPDX-License-Identifier: GPL-3.0-or-later
#include "package.h"

#include <algorithm>
#include <ctime>

#include "libzip.h"

namespace kavelin::documents {

struct Package::Zip {
  zip_t* archive = nullptr;
  ~Zip() {
    if (archive) lz::zip_discard(archive);
  }
};

namespace {

std::string zipErrorText(zip_error_t* e) {
  std::string text = lz::zip_error_strerror(e);
  return text;
}

// A PartSource as libzip reads it. Its size is counted in a pass of its own
// first, so that the entry is written as one of known size.
struct SourceReader {
  PartSource& source;
  std::string pending;
  std::size_t at = 0;
  bool more = true;
  zip_error_t error;
};

zip_int64_t readSource(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto* r = static_cast<SourceReader*>(state);
  switch (command) {
    case ZIP_SOURCE_OPEN:
      r->source.start();
      r->pending.clear();
      r->at = 0;
      r->more = true;
      return 0;
    case ZIP_SOURCE_READ: {
      while (r->more && r->pending.size() - r->at < length) {
        r->pending.erase(0, r->at);
        r->at = 0;
        r->more = r->source.next(r->pending);
      }
      const std::size_t n = std::min<std::size_t>(length, r->pending.size() - r->at);
      std::copy_n(r->pending.data() + r->at, n, static_cast<char*>(data));
      r->at += n;
      return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
      r->pending = std::string();
      return 0;
    case ZIP_SOURCE_STAT: {
      if (length < sizeof(zip_stat_t)) {
        lz::zip_error_set(&r->error, ZIP_ER_INVAL, 0);
        return -1;
      }
      auto* st = static_cast<zip_stat_t*>(data);
      lz::zip_stat_init(st);
      zip_uint64_t size = 0;
      std::string piece;
      r->source.start();
      for (bool more = true; more;) {
        more = r->source.next(piece);
        size += piece.size();
        piece.clear();
      }
      st->size = size;
      st->mtime = time(nullptr);
      st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
      return lz::zip_error_to_data(&r->error, data, length);
    case ZIP_SOURCE_FREE:
      lz::zip_error_fini(&r->error);
      delete r;
      return 0;
    case ZIP_SOURCE_SUPPORTS:
      return lz::zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                -1);
    default:
      lz::zip_error_set(&r->error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

zip_source_t* sourceOf(zip_t* archive, PartSource& source) {
  auto* reader = new SourceReader{source, {}, 0, true, {}};
  lz::zip_error_init(&reader->error);
  zip_source_t* s = lz::zip_source_function(archive, readSource, reader);
  if (!s) {
    lz::zip_error_fini(&reader->error);
    delete reader;
  }
  return s;
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
  if (!libzip::load(error)) return false;
  zip_error_t ze;
  lz::zip_error_init(&ze);
  zip_source_t* source = lz::zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
  zip_t* archive =
      source ? lz::zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &ze) : nullptr;
  if (!archive) {
    if (source) lz::zip_source_free(source);
    if (error) *error = "not a zip package (" + zipErrorText(&ze) + ")";
    lz::zip_error_fini(&ze);
    return false;
  }
  lz::zip_error_fini(&ze);
  zip_ = std::make_unique<Zip>();
  zip_->archive = archive;

  const zip_int64_t count = lz::zip_get_num_entries(archive, 0);
  if (count < 0 || static_cast<std::uint64_t>(count) > limits.maxEntries) {
    if (error) *error = "the package has too many entries";
    return false;
  }
  std::uint64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    lz::zip_stat_init(&st);
    if (lz::zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0 ||
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
                    (st.valid & ZIP_STAT_COMP_METHOD) ? st.comp_method : ZIP_CM_DEFLATE, st.size};
    names_.push_back(name);
  }
  return true;
}

bool Package::has(const std::string& name) const { return index_.count(name) != 0; }

std::uint64_t Package::size(const std::string& name) const {
  const auto it = index_.find(name);
  return it == index_.end() ? 0 : it->second.size;
}

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
  zip_file_t* file = lz::zip_fopen_index(zip_->archive, it->second.index, 0);
  if (!file) {
    if (error) *error = name + ": " + lz::zip_strerror(zip_->archive);
    return false;
  }
  char buffer[1 << 16];
  std::uint64_t size = 0;
  bool ok = true;
  for (;;) {
    const zip_int64_t n = lz::zip_fread(file, buffer, sizeof buffer);
    if (n < 0) {
      if (error) *error = name + ": damaged entry (" + lz::zip_file_strerror(file) + ")";
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
  lz::zip_fclose(file);
  return ok;
}

void Package::replace(const std::string& name, std::string bytes) {
  replacements_[name] = std::move(bytes);
}

void Package::add(const std::string& name, std::string bytes) {
  if (index_.count(name) == 0 && replacements_.count(name) == 0 && sources_.count(name) == 0) {
    names_.push_back(name);
  }
  sources_.erase(name);
  replacements_[name] = std::move(bytes);
}

void Package::add(const std::string& name, PartSource& source) {
  if (index_.count(name) == 0 && replacements_.count(name) == 0 && sources_.count(name) == 0) {
    names_.push_back(name);
  }
  replacements_.erase(name);
  sources_[name] = &source;
}

bool Package::save(std::string& out, std::string* error) const {
  zip_error_t ze;
  lz::zip_error_init(&ze);
  zip_source_t* target = lz::zip_source_buffer_create(nullptr, 0, 0, &ze);
  zip_t* archive = target ? lz::zip_open_from_source(target, ZIP_TRUNCATE, &ze) : nullptr;
  if (!archive) {
    if (target) lz::zip_source_free(target);
    if (error) *error = "cannot write the package (" + zipErrorText(&ze) + ")";
    lz::zip_error_fini(&ze);
    return false;
  }
  lz::zip_error_fini(&ze);
  lz::zip_source_keep(target);  // read back after zip_close

  auto fail = [&](const std::string& what) {
    if (error)
      *error = "cannot write the package (" + what + ": " + lz::zip_strerror(archive) + ")";
    lz::zip_discard(archive);
    lz::zip_source_free(target);
    return false;
  };
  std::vector<std::string> order = names_;
  const auto mime = std::find(order.begin(), order.end(), "mimetype");
  if (mime != order.end()) std::rotate(order.begin(), mime, mime + 1);
  for (const std::string& name : order) {
    const auto r = replacements_.find(name);
    const auto made = sources_.find(name);
    zip_source_t* s =
        made != sources_.end() ? sourceOf(archive, *made->second)
        : r != replacements_.end()
            ? lz::zip_source_buffer(archive, r->second.data(), r->second.size(), 0)
            : lz::zip_source_zip(archive, zip_->archive, index_.at(name).index, 0, 0, -1);
    if (!s) return fail(name);
    const zip_int64_t at = lz::zip_file_add(archive, name.c_str(), s, ZIP_FL_ENC_UTF_8);
    if (at < 0) {
      lz::zip_source_free(s);
      return fail(name);
    }
    if (name == "mimetype") {
      lz::zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), ZIP_CM_STORE, 0);
    } else if (r != replacements_.end() || made != sources_.end()) {
      lz::zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), ZIP_CM_DEFLATE, 6);
    } else {
      // The method it had, so that its compressed bytes are copied as they are.
      lz::zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), index_.at(name).method,
                                   0);
    }
  }
  if (lz::zip_close(archive) != 0) return fail("closing");

  bool ok = lz::zip_source_open(target) == 0;
  zip_stat_t st;
  lz::zip_stat_init(&st);
  ok = ok && lz::zip_source_stat(target, &st) == 0 && (st.valid & ZIP_STAT_SIZE);
  if (ok) {
    out.resize(st.size);
    zip_uint64_t done = 0;
    while (ok && done < st.size) {
      const zip_int64_t n = lz::zip_source_read(target, out.data() + done, st.size - done);
      ok = n > 0;
      if (ok) done += static_cast<zip_uint64_t>(n);
    }
    lz::zip_source_close(target);
  }
  lz::zip_source_free(target);
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
  // A rewrite takes about as much as it reads (the header's size is
  // trusted only up to the limit).
  if (stream && stream->rewrites) {
    stream->expectedSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(package.size(name), package.limits().maxEntrySize));
  }
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
