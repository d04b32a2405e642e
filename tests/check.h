#pragma once
// A small test runner shared by the native tests and the Windows test
// programs: TEST registers a case, CHECK records a failure and goes on.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace check {

struct Case {
    const char* name;
    void (*fn)();
};

inline std::vector<Case>& Cases()
{
    static std::vector<Case> cases;
    return cases;
}

inline int& Failures()
{
    static int n = 0;
    return n;
}

struct Registrar {
    Registrar(const char* name, void (*fn)()) { Cases().push_back({name, fn}); }
};

inline std::string Show(const std::wstring& s)
{
    std::string out;
    for (wchar_t c : s) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char buf[12];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}
inline std::string Show(const wchar_t* s) { return Show(std::wstring(s ? s : L"(null)")); }
inline std::string Show(const std::string& s) { return s; }
inline std::string Show(const char* s) { return s ? s : "(null)"; }
inline std::string Show(bool b) { return b ? "true" : "false"; }
template <typename T>
std::string Show(const T& v)
{
    return std::to_string(v);
}

inline void Fail(const char* file, int line, const std::string& what)
{
    ++Failures();
    std::printf("%s:%d: FAILED %s\n", file, line, what.c_str());
    std::fflush(stdout);
}

// Runs every case, or only those whose name contains the first argument.
inline int RunAll(int argc, char** argv)
{
    const char* filter = argc > 1 ? argv[1] : nullptr;
    int passed = 0, failed = 0;
    for (const Case& c : Cases()) {
        if (filter && !std::strstr(c.name, filter))
            continue;
        const int before = Failures();
        std::printf("[ RUN  ] %s\n", c.name);
        std::fflush(stdout);
        c.fn();
        const bool ok = Failures() == before;
        std::printf("[ %s ] %s\n", ok ? " OK " : "FAIL", c.name);
        ok ? ++passed : ++failed;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

} // namespace check

#define TEST(name)                                                  \
    static void test_##name();                                      \
    static check::Registrar registrar_##name(#name, &test_##name);  \
    static void test_##name()

#define CHECK(cond)                                        \
    do {                                                   \
        if (!(cond))                                       \
            check::Fail(__FILE__, __LINE__, "CHECK(" #cond ")"); \
    } while (0)

// The expected value may be a braced initialiser, commas and all.
#define CHECK_EQ(actual, ...)                                                          \
    do {                                                                               \
        const auto& check_a_ = (actual);                                               \
        const auto& check_e_ = (__VA_ARGS__);                                          \
        if (!(check_a_ == check_e_))                                                   \
            check::Fail(__FILE__, __LINE__,                                            \
                        std::string(#actual " == " #__VA_ARGS__ ": got ") +            \
                            check::Show(check_a_) + ", expected " + check::Show(check_e_)); \
    } while (0)

// Context for a table row, printed with the failure.
#define CHECK_EQ_AT(row, actual, ...)                                                  \
    do {                                                                               \
        const auto& check_a_ = (actual);                                               \
        const auto& check_e_ = (__VA_ARGS__);                                          \
        if (!(check_a_ == check_e_))                                                   \
            check::Fail(__FILE__, __LINE__,                                            \
                        std::string("[") + check::Show(row) + "] " #actual ": got " +   \
                            check::Show(check_a_) + ", expected " + check::Show(check_e_)); \
    } while (0)

#define CHECK_MAIN() \
    int main(int argc, char** argv) { return check::RunAll(argc, argv); }
