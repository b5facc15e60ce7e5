// SPDX-License-Identifier: GPL-3.0-or-later
// Zip packages (DOCX, ODT) read from memory with limits against zip bombs,
// and written again with only the changed entries recompressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml.h"

namespace kavelin::documents {

struct PackageLimits {
  std::uint64_t maxEntries = 10000;
  std::uint64_t maxEntrySize = 256u << 20;  // uncompressed bytes of one entry
  std::uint64_t maxTotalSize = 1u << 30;    // of all entries
  // An entry larger than ratioFloor bytes may expand at most maxRatio times.
  std::uint64_t ratioFloor = 1u << 20;
  std::uint64_t maxRatio = 200;
};

// An entry's content made as the package is written, a piece at a time.
class PartSource {
 public:
  virtual ~PartSource() = default;
  // Starts from the beginning (the content may be asked for more than once).
  virtual void start() = 0;
  // Appends the next piece to `out`; false once there is no more.
  virtual bool next(std::string& out) = 0;
};

class Package {
 public:
  Package();
  ~Package();
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  // Opens the package in `bytes`, which must outlive the Package. On failure
  // returns false and sets `error`.
  bool open(std::string_view bytes, const PackageLimits& limits, std::string* error);

  const std::vector<std::string>& names() const { return names_; }
  const PackageLimits& limits() const { return limits_; }
  bool has(const std::string& name) const;
  // An entry's uncompressed size as its header gives it (0 when missing).
  std::uint64_t size(const std::string& name) const;
  // An entry's uncompressed bytes. Returns false and sets `error` when it is
  // missing, damaged or larger than the limits allow.
  bool read(const std::string& name, std::string& out, std::string* error) const;
  // The same in pieces handed to `piece` as they are decompressed.
  bool read(const std::string& name, const std::function<void(std::string_view)>& piece,
            std::string* error) const;

  // Replaces an entry's content in the package written by save().
  void replace(const std::string& name, std::string bytes);
  bool replaced(const std::string& name) const { return replacements_.count(name) != 0; }
  // Adds an entry after the others (or replaces it), so that a package may
  // also be made from nothing.
  void add(const std::string& name, std::string bytes);
  // The same with content that is made while save() writes it, never held
  // whole; `source` must outlive the save.
  void add(const std::string& name, PartSource& source);

  // The package with the replacements: unchanged entries copied compressed as
  // they are, "mimetype" (when there is one) first and stored.
  bool save(std::string& out, std::string* error) const;

 private:
  struct Zip;
  std::unique_ptr<Zip> zip_;
  PackageLimits limits_;
  std::vector<std::string> names_;
  struct Stored {
    std::uint64_t index = 0;
    std::int32_t method = 0;  // compression method
    std::uint64_t size = 0;   // uncompressed, as the header says
  };
  std::map<std::string, Stored> index_;
  std::map<std::string, std::string> replacements_;
  std::map<std::string, PartSource*> sources_;
};

// Resolves a relationship target against the part that holds it ("word/",
// "../media/a.png" -> "media/a.png"); absolute targets lose their "/".
std::string resolvePartName(std::string_view base, std::string_view target);

// Reads the entry `name` and parses it as XML, as it is decompressed; false
// with "NAME: malformed XML (...)" or the package's own error (which comes
// first: the whole entry is read even when its XML is found malformed).
bool readXmlPart(const Package& package, const std::string& name, XmlDocument& doc,
                 std::string* error, XmlStream* stream = nullptr);

}  // namespace kavelin::documents
