// Linked into the two stub programs only, where every kilobyte is paid by each player who
// downloads a patch. The stubs have no console and catch no exception but std::bad_alloc, so
// the C++ runtime's reporting machinery is replaced by plain ends:
//  - the default terminate handler prints the pending exception's demangled type name, which
//    brings the whole demangler (some 40 KB);
//  - the library's internal "throw a logic or runtime error" helpers build std::logic_error and
//    friends with messages, which bring the reference-counted string and the exception classes
//    (some 45 KB). Nothing in the stubs catches those: uncaught they ended the program anyway.
// Allocation failures still throw std::bad_alloc, which the file and payload readers catch and
// report as errors.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

// The complete set that libstdc++ defines in one object: defining every one of them keeps that
// object, and what it pulls in, out of the link.
namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { abort(); }
void __throw_bad_typeid() { abort(); }
void __throw_bad_exception() { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_domain_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_runtime_error(const char*) { abort(); }
void __throw_range_error(const char*) { abort(); }
void __throw_overflow_error(const char*) { abort(); }
void __throw_underflow_error(const char*) { abort(); }

}  // namespace std
