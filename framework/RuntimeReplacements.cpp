// Two parts of the C++ runtime, replaced so that the statically linked
// executables stay lean; linked straight into each product executable, since
// a library member would come after the runtime's own definitions.
//
// The default terminate handler: the toolchain's verbose one reports the
// uncaught exception on standard error, which a Windows program does not
// have, and brings the C++ name demangler (about 46 KB). Every exception is
// caught at a window procedure's boundary, so terminate means a fault in the
// program itself, and the process ends at once.
//
// The functions through which the standard library raises its errors (a
// string grown past its maximum size, a position past the end, ...). The
// runtime's own raise the standard exception classes, whose reference-
// counted strings bring a second string implementation (about 50 KB). These
// raise an exception that carries the same message; it is reported like any
// other at the window procedure's boundary.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {
class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* message) : m_message(message) {}
    const char* what() const noexcept override { return m_message; }

private:
    const char* m_message;
};
}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

// Every function of the runtime's own set is defined here: one missing would
// bring the runtime's set back, and the link would fail on the duplicates.
namespace std {
void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* message) { throw LibraryError(message); }
void __throw_domain_error(const char* message) { throw LibraryError(message); }
void __throw_invalid_argument(const char* message) { throw LibraryError(message); }
void __throw_length_error(const char* message) { throw LibraryError(message); }
void __throw_out_of_range(const char* message) { throw LibraryError(message); }
// The format's %-fields stay unfilled: the message names the operation.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* message) { throw LibraryError(message); }
void __throw_range_error(const char* message) { throw LibraryError(message); }
void __throw_overflow_error(const char* message) { throw LibraryError(message); }
void __throw_underflow_error(const char* message) { throw LibraryError(message); }
}  // namespace std
