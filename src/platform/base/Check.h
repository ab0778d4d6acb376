#pragma once
// MT_CHECK(condition) states an invariant the code relies on. While checking is on, a condition
// that does not hold names itself and its place on standard error and aborts the process; the test
// programs turn checking on before their first test (and the sanitizer builds only run tests). The
// program never does: there a check costs the load of one flag and a branch never taken, and its
// condition is not evaluated, so checks may sit on the received byte's path.

namespace platform {

// Off until EnableChecks; read on every check, written once before any other thread starts.
inline bool g_checking = false;

inline void EnableChecks() {
    g_checking = true;
}

[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

} // namespace platform

#define MT_CHECK(condition)                                                                                  \
    (__builtin_expect(::platform::g_checking, false) && !(condition)                                        \
         ? ::platform::CheckFailed(#condition, __FILE__, __LINE__)                                          \
         : void(0))
