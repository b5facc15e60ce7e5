// SPDX-License-Identifier: GPL-3.0-or-later
#include "libzip.h"

#include <dlfcn.h>

namespace kavelin::documents::libzip {

namespace {

struct Loaded {
  Functions functions;
  std::string error;  // empty when every function was found
};

Loaded loadOnce() {
  Loaded loaded;
  void* library = dlopen(KAVELIN_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    loaded.error = std::string("cannot load libzip (") + (why ? why : KAVELIN_LIBZIP_SONAME) + ")";
    return loaded;
  }
#define KAVELIN_LIBZIP_FIND(name)                                                     \
  loaded.functions.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
  if (!loaded.functions.name && loaded.error.empty()) {                               \
    loaded.error = "cannot load libzip (" KAVELIN_LIBZIP_SONAME " lacks " #name ")";  \
  }
  KAVELIN_LIBZIP_FUNCTIONS(KAVELIN_LIBZIP_FIND)
#undef KAVELIN_LIBZIP_FIND
  return loaded;
}

}  // namespace

const Functions* load(std::string* error) {
  static const Loaded loaded = loadOnce();  // the library stays loaded
  if (!loaded.error.empty()) {
    if (error) *error = loaded.error;
    return nullptr;
  }
  return &loaded.functions;
}

}  // namespace kavelin::documents::libzip
