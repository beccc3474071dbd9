// A loaded shared library: opened by host path or by Windows path, its symbols looked
// up, closed when the object goes (dlopen/dlsym/dlclose). The support libraries, the
// panel's extension library and the libraries scripts call are all held this way.
#pragma once

#include <string>
#include <string_view>

namespace velcrum {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary();
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Loads the library at a host path (never searched for along the library path: a
  // name without "/" is taken from the current directory). Every symbol is bound at
  // once and kept private to the library. A closed object on failure, with the loader's
  // reason in *error.
  static SharedLibrary Open(const std::string& hostPath, std::string* error = nullptr);
  // The same for a Windows path, mapped to the host as every file name is (each
  // existing component found without regard to case). A path beginning with "/" is a
  // host path already and is only resolved.
  static SharedLibrary OpenWindowsPath(std::string_view windowsPath, std::string* error = nullptr);

  bool IsOpen() const { return handle_ != nullptr; }
  explicit operator bool() const { return IsOpen(); }
  // The host path it was opened from (empty when closed).
  const std::string& Path() const { return path_; }

  // The address of a symbol the library itself exports; nullptr when the library is
  // closed or does not export it (a symbol of a library it depends on does not count).
  void* Symbol(const char* name) const;
  // The same, as a function pointer of the given type.
  template <typename Function>
  Function Entry(const char* name) const {
    return reinterpret_cast<Function>(Symbol(name));
  }

  // Unloads the library (once the last holder of the same file lets it go). Pointers
  // into it are then invalid.
  void Close();

 private:
  void* handle_ = nullptr;
  std::string path_;
};

}  // namespace velcrum
