// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: sections of key=value lines, read and edited in place the
// way initialisation-file functions do. Sections and keys match without regard
// to case; every other line of the file is kept byte for byte.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavelin {

// The text read for a missing file, section or key.
inline const std::string kNotAvailable = "Not available";

// The value of `key` in `section` of the file at `path`: surrounding spaces
// and one pair of surrounding quotes removed, cut to 254 characters;
// "Not available" when the file, the section or the key is missing.
std::string GetIni(const std::string& section, const std::string& key, const std::string& path);

// The values of several keys of `section`, as GetIni reads them, from one
// reading of the file; nothing for each key that is missing.
std::vector<std::optional<std::string>> FindIni(const std::string& section,
                                                const std::vector<std::string>& keys,
                                                const std::string& path);

// Writes `value` under `key` in `section`, creating the file, the section or the
// key when missing and replacing an existing value. The file is replaced
// atomically. Returns false and sets `error` when it cannot be written.
bool WriteIni(const std::string& section, const std::string& key, const std::string& value,
              const std::string& path, std::string* error = nullptr);

// Writes several keys of `section` as WriteIni does one after the other, in one
// replacement of the file: readers see all of them changed or none.
bool WriteIni(const std::string& section,
              const std::vector<std::pair<std::string, std::string>>& entries,
              const std::string& path, std::string* error = nullptr);

}  // namespace kavelin
