// file_holder PATH: opens the file for reading and shares it with nobody, as an editor or a
// virus scanner may hold a file, prints "held" and keeps it until its standard input ends.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: file_holder PATH\n", stderr);
        return 2;
    }
    const HANDLE file =
        ::CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "file_holder: cannot open the file (error %lu)\n", ::GetLastError());
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    ::CloseHandle(file);
    return 0;
}
