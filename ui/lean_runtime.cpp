// Replacements for a few of libstdc++'s internal helpers, linked into the
// installer only. Every package carries the installer, so its size matters,
// and the library's own versions drag in far more than they do:
//
// - The default terminate handler prints the exception's demangled type name,
//   pulling in the whole demangler (about 45 KB) for a window program that has
//   no console to print to.
// - The __throw_* helpers all live in one object file that also constructs
//   std::logic_error and friends, which pulls in a second, reference-counted
//   string implementation, std::random_device and the formatting behind them
//   (about 90 KB with their unwind tables).
//
// The program's handlers report std::bad_alloc as "Out of memory"; a length
// error means a size past what can be allocated, so it is reported the same
// way. The remaining helpers signal faults in the program itself (a null
// string, an index past the end) that no input can cause; they end the
// program as an escaping exception would.

#include <cstdlib>
#include <new>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc()
{
    throw std::bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw std::bad_alloc();
}

void __throw_length_error(const char*)
{
    throw std::bad_alloc();
}

void __throw_logic_error(const char*)
{
    std::abort();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}

}  // namespace std
