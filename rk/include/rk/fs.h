// Small file-system helpers: temporary names, whole-file reading and writing, directory
// listings, walks over directory trees and removal of empty trees. Paths are wide text.
//
// The separator written between a directory and a name is the platform's ('\\' on Windows,
// '/' elsewhere); where a path is tested for a final separator, both count. Files are reached
// only through the platform layer.
#pragma once

#include "rk/convert.h"
#include "rk/export.h"
#include "rk/memory.h"

#include "platform/fs.h"
#include "platform/wintypes.h"

// The state of one directory listing.
struct RKDir {
    platform::FindHandle handle; // the open listing; null when closed
    platform::FindDataW data;    // the current entry; data.name[0] is NUL when there is none
};

// Called for every entry of a walk with the entry, its depth (0 for the entries of the root)
// and the walk's stop flag: setting *stop to non-zero ends the walk (see rk_fs_search). The
// result is not used.
typedef int (*RKSearchProc)(RKDir* entry, int depth, int* stop, void* context);

// The platform's temporary directory, read once per process (260 characters at most, ending
// in a separator). The text belongs to the toolkit and lives as long as the process.
RK_API const WCHAR* rk_fs_tmppath();

// Writes a temporary file name "<dir><sep><prefix><pid><n>.tmp" into out (room for
// platform::kMaxPath characters), pid and n in lower-case hexadecimal, n from a process-wide
// counter. A null dir means rk_fs_tmppath(); no separator is added after an empty dir or one
// that ends in one; a null prefix is empty.
// Without create the counter moves on first and the name is only written. With create the
// file is made, empty and exclusively (the counter moves on after each name already taken),
// up to 32 times. Returns the name's length; -1 (out empty) when it does not fit into out;
// 0 when no file could be made.
RK_API int rk_fs_tmpfile(WCHAR* out, const WCHAR* dir, const WCHAR* prefix, int create);

// Reads the whole file at path into data, replacing its content. Returns 1 when the file was
// opened, 0 (data untouched) when not.
RK_API int rk_fs_read(const WCHAR* path, RK::CStringT<char>& data);

// Writes size bytes at the start of the file at path, which is made if missing. A longer file
// keeps its tail: it is not truncated. Returns the bytes written, 0 on failure.
RK_API unsigned rk_fs_write(const WCHAR* path, const void* data, unsigned size);

// Starts listing the directory path ("." and ".." included) into dir. Returns 1 with the first
// entry in dir->data; 0, with dir closed and no current entry, when nothing was found or the
// listing pattern (path, separator, '*') would not fit into platform::kMaxPath characters.
// A listing that was started must be ended with rk_fs_find_close.
RK_API int rk_fs_find_first(RKDir* dir, const WCHAR* path);
// Moves to the next entry. Returns 1, or 0 with no current entry when there is none left.
RK_API int rk_fs_find_next(RKDir* dir);
// Ends the listing; a closed dir is left as it is.
RK_API void rk_fs_find_close(RKDir* dir);

// Walks the tree under root: for each level, makes the directory current, lists it and calls
// callback for every entry ("." and ".." included), then walks each entry other than "." and
// ".." one level deeper (a file cannot be made current, so nothing happens for it). Links to
// directories are followed. A level stops listing as soon as *stop is non-zero after a
// callback; the stop flag is shared, so each enclosing level makes one more callback before it
// ends too. The process's current directory changes while the walk runs and is restored at
// every level: a walk must not run concurrently with anything that relies on it.
RK_API void rk_fs_search(const WCHAR* root, RKSearchProc callback, void* context);

// Removes dir and every directory below it that holds no files; files, and the directories
// that hold them, stay. Changes and restores the current directory as rk_fs_search does.
RK_API void rk_fs_rmdirs(const WCHAR* dir);

namespace RK {

// A walk over a directory tree whose entries go to OnFound. Assigning one to another changes
// nothing.
class RK_API CSearchDir : public CObject {
  public:
    CSearchDir() = default;
    CSearchDir(const CSearchDir&) = default;
    CSearchDir& operator=(const CSearchDir& other);

    // Walks root as rk_fs_search does, calling OnFound for each entry.
    void Search(const WCHAR* root);

    // One entry of the walk, at depth (0 for the entries of root); setting *stop to non-zero
    // ends the walk.
    virtual void OnFound(const RKDir* entry, int depth, int* stop) = 0;

  protected:
    ~CSearchDir() = default;

  private:
    // The walk's callback; self is the object.
    static void _Search(const RKDir* entry, int depth, int* stop, void* self);
};

} // namespace RK
