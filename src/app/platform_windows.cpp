// File operations on Windows, through the Win32 API: files are binary there by nature.
#include <windows.h>

#include <cstdio>

#include "app/platform.h"

static DWORD lastError;            // GetLastError() of the last failure
static char lastErrorText[256];    // its text, made when asked for

static FileResult Failed(DWORD error)
{
    lastError = error;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return FILE_MISSING;
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? FILE_TAKEN : FILE_FAILED;
}

FileResult WriteFileToDisk(const char* path, const unsigned char* data, size_t size, const char** step)
{
    *step = "create";
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Failed(GetLastError());
    *step = "write";
    size_t done = 0;
    while (done < size) {
        DWORD chunk = size - done > 0x40000000 ? 0x40000000 : (DWORD)(size - done);
        DWORD written = 0;
        if (!WriteFile(file, data + done, chunk, &written, nullptr) || written == 0) {
            DWORD error = written == 0 && GetLastError() == 0 ? ERROR_WRITE_FAULT : GetLastError();
            CloseHandle(file);
            DeleteFileA(path);
            return Failed(error);
        }
        done += written;
    }
    *step = "flush";
    BOOL flushed = FlushFileBuffers(file);
    DWORD error = GetLastError();
    if (!CloseHandle(file) && flushed) {
        flushed = FALSE;
        error = GetLastError();
    }
    if (!flushed) {
        DeleteFileA(path);
        return Failed(error);
    }
    return FILE_DONE;
}

FileResult ReplaceFileAtomically(const char* from, const char* to)
{
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FILE_DONE;
    return Failed(GetLastError());
}

// A hard link on NTFS; elsewhere (FAT drives) a copy.
FileResult KeepFileAs(const char* path, const char* keptPath)
{
    if (CreateHardLinkA(keptPath, path, nullptr))
        return FILE_DONE;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_ALREADY_EXISTS ||
        error == ERROR_FILE_EXISTS)
        return Failed(error);
    if (GetFileAttributesA(keptPath) != INVALID_FILE_ATTRIBUTES)
        return Failed(ERROR_FILE_EXISTS);
    return CopyFileA(path, keptPath, TRUE) ? FILE_DONE : Failed(GetLastError());
}

FileResult MakeFolder(const char* path)
{
    return CreateDirectoryA(path, nullptr) ? FILE_DONE : Failed(GetLastError());
}

void RemoveFile(const char* path) { DeleteFileA(path); }

const char* LastFileErrorText()
{
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, lastError, 0,
                             lastErrorText, sizeof lastErrorText, nullptr);
    // The system's text ends with a line break; the report is one line.
    while (n > 0 && (lastErrorText[n - 1] == '\n' || lastErrorText[n - 1] == '\r' || lastErrorText[n - 1] == '.'))
        lastErrorText[--n] = 0;
    if (n == 0)
        snprintf(lastErrorText, sizeof lastErrorText, "error %lu", (unsigned long)lastError);
    return lastErrorText;
}

// The folder of cairnfold.exe, in the system's wide characters so that any folder name works. Where
// that fails, the game stays where it was started and says so when a file is missing.
void EnterGameFolder()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n == MAX_PATH)
        return;
    while (n > 0 && path[n - 1] != L'\\' && path[n - 1] != L'/')
        n--;
    if (n == 0)
        return;
    // A drive's root keeps its backslash: "C:" alone names the drive's current folder, not its root.
    path[n >= 2 && path[n - 2] == L':' ? n : n - 1] = 0;
    SetCurrentDirectoryW(path);
}

// The system's heap decides for itself what it gives back; nothing is set.
void KeepFreedMemory() {}
