// Replacements for a few internal helpers of libstdc++ and of the C runtime's
// start-up code, linked into the installer only. Every package carries the
// installer, so its size matters, and the libraries' own versions drag in far
// more than they do:
//
// - The default terminate handler prints the exception's demangled type name,
//   pulling in the whole demangler (about 45 KB) for a window program that has
//   no console to print to.
// - The __throw_* helpers all live in one object file that also constructs
//   std::logic_error and friends, which pulls in a second, reference-counted
//   string implementation, std::random_device and the formatting behind them
//   (about 90 KB with their unwind tables).
// - The runtime keeps its list of exceptions being handled per thread, in
//   emulated thread-local storage (about 1.5 KB). The installer runs on one
//   thread, and no other thread ever throws or catches in it, so one list
//   for the whole process is the same list.
// - The start-up code runs the runtime pseudo-relocator, which patches
//   references to data that the program takes from a DLL without dllimport
//   (the linker's auto-import). The installer is linked with
//   --disable-auto-import, so such a reference fails to link instead, and
//   the relocator and the section walking it brings (about 3 KB) would only
//   ever find an empty list.
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

extern "C" void _pei386_runtime_relocator() {}

namespace __cxxabiv1 {

// The runtime's record of the exceptions being handled: the same two fields,
// in the same order, as the C++ ABI's __cxa_eh_globals.
struct __cxa_eh_globals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

namespace {
__cxa_eh_globals exceptionsInFlight{};
}  // namespace

extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept
{
    return &exceptionsInFlight;
}

extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept
{
    return &exceptionsInFlight;
}

}  // namespace __cxxabiv1

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
