// Started by the Start menu's shortcut: runs Dravix in the user's own working folder
// Documents\Dravix, made on first use and given each sample description it lacks from the
// program's folder. A file already there is never replaced.

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <string>

namespace {

constexpr wchar_t kTitle[] = L"Dravix";

std::wstring programFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\'));
}

// The user's Documents, wherever the user has moved it.
std::wstring documentsFolder()
{
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

bool makeFolder(const std::wstring &folder)
{
    if (CreateDirectoryW(folder.c_str(), nullptr))
        return true;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void copyMissingSamples(const std::wstring &from, const std::wstring &to)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((from + L"\\*.set").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // Fails when the folder holds that name already, which leaves the user's file alone.
        CopyFileW((from + L'\\' + found.cFileName).c_str(), (to + L'\\' + found.cFileName).c_str(),
                  TRUE);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

int fail(const std::wstring &text)
{
    MessageBoxW(nullptr, text.c_str(), kTitle, MB_OK);
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring program = programFolder();
    const std::wstring documents = documentsFolder();
    const std::wstring folder = documents + L"\\Dravix";
    if (program.empty() || documents.empty() || !makeFolder(folder))
        return fail(L"Nie można utworzyć folderu roboczego " + folder);
    copyMissingSamples(program + L"\\examples", folder);

    // Dravix takes no argument: the command line is its own name only.
    const std::wstring dravix = program + L"\\dravix.exe";
    std::wstring commandLine = L'"' + dravix + L'"';
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(dravix.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return fail(L"Nie można uruchomić programu " + dravix);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
