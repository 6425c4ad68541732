// Platform: the file operations whose form differs between systems, where the game's files are, and how
// freed memory is kept; one implementation file per system.
#pragma once

#include <cstddef>

// How a file operation ended.
enum FileResult {
    FILE_DONE,     // it was done
    FILE_MISSING,  // the file, or the folder it goes in, does not exist
    FILE_TAKEN,    // the name to be written is taken
    FILE_FAILED,   // anything else: LastFileErrorText says what
};

// Creates or truncates the file at path in binary mode, writes the bytes, flushes them to the disk
// and closes it. On failure *step names what failed ("create", "write" or "flush") and a file that
// was created is removed again.
FileResult WriteFileToDisk(const char* path, const unsigned char* data, size_t size, const char** step);

// Puts the file at from in place of the file at to in one step: whoever opens to meets the old
// file or the new one, whole, also after a crash or a power cut.
FileResult ReplaceFileAtomically(const char* from, const char* to);

// Keeps what the file at path holds under keptPath as well, leaving path itself where it is
// (a second name for the same file where the system allows it). FILE_MISSING when there is no
// file at path, FILE_TAKEN when keptPath exists.
FileResult KeepFileAs(const char* path, const char* keptPath);

// Makes the folder at path (its parent must exist).
FileResult MakeFolder(const char* path);

// Removes the file at path, if there is one.
void RemoveFile(const char* path);

// The system's words for the last failure of the functions above.
const char* LastFileErrorText();

// Makes the folder that holds the game's files (Media/, settings.ini, Saves/) the working directory,
// so that every other file name is relative to it. On Windows that is the folder of the program itself,
// however the player started it (a shortcut, a command prompt in another folder); elsewhere it is the
// folder the game was started in (the repository root, or the one the package's launcher chooses).
void EnterGameFolder();

// Keeps memory the process frees for its own reuse instead of handing it back to the system. An
// OpenGL driver that draws on the CPU allocates and frees its buffers every frame; where they lay at
// the top of the heap, the C library gave them back after each frame and the next frame paid the
// page faults of taking them again.
void KeepFreedMemory();
