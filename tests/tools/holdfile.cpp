// Another program's brief hold on a file, as a virus scanner or the search indexer takes one:
// holdfile FILE MS MARKER opens FILE without sharing it, writes MARKER once it holds it, and
// lets go after MS milliseconds (never when MS is -1). Windows only.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 4)
        return 2;
    const HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const HANDLE marker = ::CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE)
        ::CloseHandle(marker);
    const long ms = std::wcstol(argv[2], nullptr, 10);
    ::Sleep(ms < 0 ? INFINITE : DWORD(ms));
    ::CloseHandle(file);
    return 0;
}
