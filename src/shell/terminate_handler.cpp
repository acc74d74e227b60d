// The MinGW runtime's default terminate handler writes the escaping
// exception's demangled type to stderr before it aborts. A GUI program has no
// console to show it on, and the demangler alone is 46 KiB of the exe. The
// program's own handler keeps only what a user sees: the abort. (Nothing is
// meant to escape: every window procedure catches.)
#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
// Replaces the library's definition, which the linker then no longer takes
// from libstdc++ (only an exe linked statically, as the release build is).
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
#endif
