// File operations and the C library's handling of freed memory on POSIX systems (Linux).
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/platform.h"

static int lastError;  // errno of the last failure

static FileResult Failed(int error)
{
    lastError = error;
    if (error == ENOENT)
        return FILE_MISSING;
    return error == EEXIST ? FILE_TAKEN : FILE_FAILED;
}

FileResult WriteFileToDisk(const char* path, const unsigned char* data, size_t size, const char** step)
{
    *step = "create";
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return Failed(errno);
    *step = "write";
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int error = n < 0 ? errno : EIO;
            close(fd);
            unlink(path);
            return Failed(error);
        }
        done += (size_t)n;
    }
    *step = "flush";
    int synced = fdatasync(fd);
    int error = errno;
    if (close(fd) != 0 && synced == 0) {
        synced = -1;
        error = errno;
    }
    if (synced != 0) {
        unlink(path);
        return Failed(error);
    }
    return FILE_DONE;
}

FileResult ReplaceFileAtomically(const char* from, const char* to)
{
    return rename(from, to) == 0 ? FILE_DONE : Failed(errno);
}

// A hard link; where links are not supported the file is renamed, since the caller is about to
// put a new file in its place anyway.
FileResult KeepFileAs(const char* path, const char* keptPath)
{
    if (link(path, keptPath) == 0)
        return FILE_DONE;
    if (errno == ENOENT || errno == EEXIST)
        return Failed(errno);
    if (access(keptPath, F_OK) == 0)
        return Failed(EEXIST);
    return rename(path, keptPath) == 0 ? FILE_DONE : Failed(errno);
}

FileResult MakeFolder(const char* path)
{
    return mkdir(path, 0755) == 0 ? FILE_DONE : Failed(errno);
}

void RemoveFile(const char* path) { unlink(path); }

const char* LastFileErrorText() { return strerror(lastError); }

// The launcher (or the player) starts the game in the folder that holds its files.
void EnterGameFolder() {}

// Up to 256 MB freed at the top of the heap stays with the process, and blocks of up to 32 MB come
// from the heap rather than from maps of their own, which are unmapped when freed.
void KeepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
}
