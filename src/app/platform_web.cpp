// File operations in the browser: the files live in Emscripten's file system in memory; Saves/ is
// kept in the browser's IndexedDB and every finished save is written through to it at once.
#include <emscripten.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "app/platform.h"

static int lastError;                 // errno of the last failure, 0 when the browser refused
static char refusal[256];             // the browser's words when it refused to keep Saves/

static FileResult Failed(int error)
{
    lastError = error;
    if (error == ENOENT)
        return FILE_MISSING;
    return error == EEXIST ? FILE_TAKEN : FILE_FAILED;
}

// Copies what the memory file system holds under /Saves to IndexedDB (populate 0) or back
// (populate 1), waiting for the browser; gives the browser's refusal, or an empty text.
EM_ASYNC_JS(void, SyncSaves, (int populate, char* reason, int size), {
    var text = await new Promise(function(done) {
        try {
            FS.syncfs(populate != 0, function(error) { done(error ? String(error.message || error) : ""); });
        } catch (error) {
            done(String(error.message || error));
        }
    });
    stringToUTF8(text || "", reason, size);
});

FileResult WriteFileToDisk(const char* path, const unsigned char* data, size_t size, const char** step)
{
    *step = "create";
    FILE* file = fopen(path, "wb");
    if (!file)
        return Failed(errno);
    *step = "write";
    bool written = fwrite(data, 1, size, file) == size;
    int error = errno;
    if (fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        remove(path);
        return Failed(error);
    }
    return FILE_DONE;
}

// The file takes its place in memory, and the folder then goes to IndexedDB whole: a save the
// browser refuses (storage full, a private window) is reported like a disk that refused it.
FileResult ReplaceFileAtomically(const char* from, const char* to)
{
    if (rename(from, to) != 0)
        return Failed(errno);
    SyncSaves(0, refusal, sizeof refusal);
    if (refusal[0])
        return Failed(0);
    return FILE_DONE;
}

// The memory file system has no second names: the file is renamed, since the caller is about to
// put a new file in its place anyway.
FileResult KeepFileAs(const char* path, const char* keptPath)
{
    if (access(path, F_OK) != 0)
        return Failed(ENOENT);
    if (access(keptPath, F_OK) == 0)
        return Failed(EEXIST);
    return rename(path, keptPath) == 0 ? FILE_DONE : Failed(errno);
}

FileResult MakeFolder(const char* path)
{
    // Saves/ is the folder IndexedDB keeps, mounted at start-up; another folder is plain memory.
    return EM_ASM_INT({ try { FS.mkdir(UTF8ToString($0)); return 0; } catch (e) { return e.errno || 1; } },
                      path) == 0 ? FILE_DONE : Failed(EEXIST);
}

void RemoveFile(const char* path) { remove(path); }

const char* LastFileErrorText()
{
    if (lastError == 0)
        return refusal[0] ? refusal : "the browser did not keep it";
    return strerror(lastError);
}

// The game's files are at the root of the program's file system (cairnfold.data); Saves/ is
// mounted on IndexedDB there and filled with what the browser kept. Where the browser keeps
// nothing, the game plays from memory and says so in one line.
void EnterGameFolder()
{
    EM_ASM({
        try { FS.mkdir('/Saves'); } catch (e) {}
        FS.mount(IDBFS, {}, '/Saves');
    });
    chdir("/");
    SyncSaves(1, refusal, sizeof refusal);
    if (refusal[0])
        fprintf(stderr, "cairnfold: the browser keeps no saves here (%s); this game lasts as long as the page\n",
                refusal);
    refusal[0] = 0;
}

// A WebAssembly program's memory only grows: nothing freed is given back.
void KeepFreedMemory() {}
