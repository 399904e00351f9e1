// Loads a libquillet.so as the program does and calls its exports in the
// order given, printing one result a line:
//
//   quillet_driver LIBRARY CALL...
//
// where CALL is get-angle, set-angle=N, get-auto or set-auto=N. The time each
// call took goes to the error stream. Exit code 2 for a library or export
// that cannot be had.
#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using GetFn = int32_t (*)();
using SetFn = int32_t (*)(int32_t);

template <typename Function>
Function Export(void* library, const char* name) {
  void* entry = dlsym(library, name);
  if (entry == nullptr) {
    std::fprintf(stderr, "no export %s\n", name);
    std::exit(2);
  }
  return reinterpret_cast<Function>(entry);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s LIBRARY CALL...\n", argv[0]);
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  const auto getAngle = Export<GetFn>(library, "RT_GetAngle");
  const auto setAngle = Export<SetFn>(library, "RT_SetAngle");
  const auto getAuto = Export<GetFn>(library, "RT_GetAutoRotationOn");
  const auto setAuto = Export<SetFn>(library, "RT_SetAutoRotation");

  for (int i = 2; i < argc; ++i) {
    const std::string call = argv[i];
    const size_t equals = call.find('=');
    const std::string name = call.substr(0, equals);
    const int32_t argument =
        equals == std::string::npos ? 0 : static_cast<int32_t>(std::stol(call.substr(equals + 1)));
    const auto start = std::chrono::steady_clock::now();
    int32_t result = 0;
    if (name == "get-angle") {
      result = getAngle();
    } else if (name == "set-angle") {
      result = setAngle(argument);
    } else if (name == "get-auto") {
      result = getAuto();
    } else if (name == "set-auto") {
      result = setAuto(argument);
    } else {
      std::fprintf(stderr, "unknown call %s\n", call.c_str());
      return 2;
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%d\n", result);
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %d in %.1f ms\n", call.c_str(), result, took.count());
  }
  dlclose(library);
  return 0;
}
