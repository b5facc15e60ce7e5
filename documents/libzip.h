// SPDX-License-Identifier: GPL-3.0-or-later
// libzip, loaded the first time a package is opened: a program that converts
// only text neither loads it nor the libraries it needs (a few milliseconds
// at every start).
#pragma once

#include <zip.h>

#include <string>

namespace kavelin::documents {

// Every libzip function the package code calls.
#define KAVELIN_LIBZIP_FUNCTIONS(X)                                                               \
  X(zip_close)                                                                                    \
  X(zip_discard)                                                                                  \
  X(zip_error_fini)                                                                               \
  X(zip_error_init) X(zip_error_set) X(zip_error_strerror) X(zip_error_to_data) X(zip_fclose)     \
      X(zip_file_add) X(zip_file_strerror) X(zip_fopen_index) X(zip_fread) X(zip_get_num_entries) \
          X(zip_open_from_source) X(zip_set_file_compression) X(zip_source_buffer)                \
              X(zip_source_buffer_create) X(zip_source_close) X(zip_source_free)                  \
                  X(zip_source_function) X(zip_source_keep) X(zip_source_make_command_bitmap)     \
                      X(zip_source_open) X(zip_source_read) X(zip_source_stat) X(zip_source_zip)  \
                          X(zip_stat_index) X(zip_stat_init) X(zip_strerror)

namespace libzip {

struct Functions {
#define KAVELIN_LIBZIP_POINTER(name) decltype(&::name) name = nullptr;
  KAVELIN_LIBZIP_FUNCTIONS(KAVELIN_LIBZIP_POINTER)
#undef KAVELIN_LIBZIP_POINTER
};

// Loads the library once; null, with *error saying why, when it cannot.
const Functions* load(std::string* error);

}  // namespace libzip

// lz::zip_open_from_source() and the rest call the loaded library (load()
// must have succeeded first).
namespace lz {
#define KAVELIN_LIBZIP_FORWARD(name)             \
  template <typename... Args>                    \
  auto name(Args... args) {                      \
    return libzip::load(nullptr)->name(args...); \
  }
KAVELIN_LIBZIP_FUNCTIONS(KAVELIN_LIBZIP_FORWARD)
#undef KAVELIN_LIBZIP_FORWARD
}  // namespace lz

}  // namespace kavelin::documents
