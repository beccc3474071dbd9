// Shared libraries on dlopen: loading, symbol look-up, unloading.
#include "platform/shared_library.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <utility>

#include "platform/paths.h"

namespace velcrum {

SharedLibrary::~SharedLibrary() {
  Close();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {
  other.path_.clear();
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
    other.path_.clear();
  }
  return *this;
}

SharedLibrary SharedLibrary::Open(const std::string& hostPath, std::string* error) {
  SharedLibrary library;
  if (hostPath.empty()) {
    if (error) *error = "no path";
    return library;
  }
  // dlopen searches the library path for a bare name; a library is only ever taken from
  // the place named.
  const std::string path = hostPath.find('/') == std::string::npos ? "./" + hostPath : hostPath;
  library.handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library.handle_ == nullptr) {
    if (error) {
      const char* reason = dlerror();
      *error = reason ? reason : "cannot be loaded";
    }
    return library;
  }
  library.path_ = path;
  return library;
}

SharedLibrary SharedLibrary::OpenWindowsPath(std::string_view windowsPath, std::string* error) {
  return Open(HostPath(windowsPath), error);
}

void* SharedLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr || name == nullptr) return nullptr;
  void* const address = dlsym(handle_, name);
  if (address == nullptr) return nullptr;
  // dlsym also finds what the libraries this one depends on define (the C library's
  // functions among them), so that a script could name any of those. Only the library's
  // own symbols count, as only a module's own exports do for GetProcAddress.
  Dl_info found{};
  link_map* library = nullptr;
  if (dladdr(address, &found) == 0 || dlinfo(handle_, RTLD_DI_LINKMAP, &library) != 0 ||
      library == nullptr || found.dli_fname == nullptr || library->l_name == nullptr) {
    return nullptr;
  }
  return std::strcmp(found.dli_fname, library->l_name) == 0 ? address : nullptr;
}

void SharedLibrary::Close() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
  path_.clear();
}

}  // namespace velcrum
