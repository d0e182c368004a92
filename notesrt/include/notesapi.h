// The Notes runtime calls as the library sees them. Binding to another runtime touches only
// this header and the link line.
//
// Conventions shared by every call:
// - A call that returns STATUS returns 0 on success; on failure it leaves its outputs as they
//   were unless stated otherwise. OSLoadString gives the text of any status it returned.
// - Handles are 0 for "none". Handles obtained before NotesTerm are invalid after it; using
//   one fails with a status.
// - Memory handles (DHANDLE) returned by a call belong to the caller, who frees them with
//   OSMemFree. Lock and unlock calls on handle 0 do nothing.
// - Text passed in and out is LMBCS unless stated otherwise.
#pragma once

#include <cstdint>

#if defined(NOTESRT_STATIC)
#define NOTESRT_API
#elif defined(_WIN32)
#if defined(NOTESRT_BUILD)
#define NOTESRT_API __declspec(dllexport)
#else
#define NOTESRT_API __declspec(dllimport)
#endif
#else
#define NOTESRT_API __attribute__((visibility("default")))
#endif

extern "C" {

typedef uint16_t STATUS;      // 0 for success; the low 14 bits are the error code
typedef uint32_t DHANDLE;     // memory handle
typedef uint32_t DBHANDLE;    // open database
typedef uint32_t NOTEHANDLE;  // open note
typedef uint16_t HCOLLECTION; // open view collection
typedef uint32_t NOTEID;      // a note's number within its database

#define NULLHANDLE 0
#if !defined(NOERROR)
#define NOERROR 0
#endif
#define ERR(status) ((STATUS)((status)&0x3fff)) // the error code of a status

// Error codes callers test for (compare with ERR(status)).
#define ERR_ITEM_NOT_FOUND 0x0222 // no (further) item of that name in the note
#define ERR_NOT_FOUND 0x0404      // no entry of that key in the index
#define ERR_ID_LOCKED 6022        // the ID file is locked; the user can unlock it and retry

#define MAXPATH 256     // bytes of a path buffer, NUL included
#define MAXUSERNAME 256 // bytes of a user-name buffer, NUL included
#define MAXENVVALUE 256 // bytes of a notes.ini value buffer, NUL included

// Time and date: ticks of 1/100 s since midnight GMT in Innards[0]; the Julian day (bits
// 0-23), the zone (hours west of GMT in bits 24-27, quarter hours in bits 28-29, bit 30 set
// for a zone east of GMT) and bit 31 for daylight saving time in effect in Innards[1].
typedef struct {
    uint32_t Innards[2]; // ticks, then day, zone and DST
} TIMEDATE;

typedef TIMEDATE DBID; // database instance ID: two 32-bit words

// Universal note ID: the same note in every replica.
typedef struct {
    DBID File;     // the file half: high word in Innards[1]
    TIMEDATE Note; // the note half: high word in Innards[1]
} UNIVERSALNOTEID;
typedef UNIVERSALNOTEID UNID;

// Originator ID: the UNID and the note's edit sequence.
typedef struct {
    DBID File;             // UNID file half
    TIMEDATE Note;         // UNID note half
    uint32_t Sequence;     // edit sequence number, 1 for an unedited note
    TIMEDATE SequenceTime; // time of the last edit
} ORIGINATORID;
typedef ORIGINATORID OID;

// Replication settings of a database.
typedef struct {
    TIMEDATE ID;             // replica ID, shared by every replica of the database
    uint16_t Flags;          // replication flags
    uint16_t CutoffInterval; // days after which deletions are purged
    TIMEDATE Cutoff;         // time of the last purge
} DBREPLICAINFO;

// Head of a text list; ListEntries 16-bit lengths and then the texts follow it.
typedef struct {
    uint16_t ListEntries; // number of entries
} LIST;

// License identifier of the user's ID file.
typedef struct {
    uint8_t ID[5];    // license number
    uint8_t Product;  // product code
    uint8_t Check[2]; // check digits
} LICENSEID;

// Item data types (the first two bytes of a prefixed list hold one).
#define TYPE_COMPOSITE 0x0001  // rich text
#define TYPE_OBJECT 0x0003     // attached file object
#define TYPE_MIME_PART 0x0019  // MIME body part
#define TYPE_NUMBER 0x0300     // 8-byte floating point number
#define TYPE_TIME 0x0400       // TIMEDATE
#define TYPE_TIME_RANGE 0x0401 // list of TIMEDATEs
#define TYPE_TEXT 0x0500       // text
#define TYPE_TEXT_LIST 0x0501  // list of texts

// Note classes.
#define NOTE_CLASS_DOCUMENT 0x0001 // a document
#define NOTE_CLASS_VIEW 0x0008     // a view design note

// OSTranslate modes.
#define OS_TRANSLATE_LMBCS_TO_UTF8 22
#define OS_TRANSLATE_UTF8_TO_LMBCS 24

// SECKFMUserInfo requests.
#define KFM_ui_GetUserInfo 1 // the user's canonical name, into a MAXUSERNAME + 1 buffer

// ---- Start and stop ----

// Starts the runtime. argv[0] is the program directory (empty: the current directory);
// an argument "=PATH" names notes.ini, which is otherwise looked for in the program
// directory. Fails when notes.ini cannot be read, when the ID file it names is missing or
// damaged, and with ERR_ID_LOCKED when the ID file is locked. After a failure or NotesTerm
// the next call starts afresh; while started, a further call returns 0 and changes nothing.
NOTESRT_API STATUS NotesInitExtended(int argc, char** argv);

// Stops the runtime: every open database, note and memory handle is released and every
// handle obtained so far becomes invalid. Does nothing when the runtime is not started.
NOTESRT_API void NotesTerm(void);

// ---- Status texts and notes.ini ----

// Writes the runtime's text for (status AND 0x3fff) into buffer (at most bufferLength - 1
// characters and a NUL) and returns the text's length; 0 and an empty text for an unknown
// status. Works whether or not the runtime is started.
NOTESRT_API uint16_t OSLoadString(void* module, STATUS status, char* buffer, uint16_t bufferLength);

// Copies the value of the notes.ini variable name (compared ignoring case) into buffer: at
// most bufferLength characters and a NUL, so the buffer holds bufferLength + 1 bytes.
// Returns non-zero when the variable is set (an empty value included), 0 with an empty
// buffer when it is not or the runtime is not started.
NOTESRT_API int OSGetEnvironmentString(const char* name, char* buffer, uint16_t bufferLength);

// ---- The user ----

// Writes the user's canonical name (at most MAXUSERNAME - 1 characters and a NUL).
NOTESRT_API STATUS SECKFMGetUserName(char* userName);

// Request KFM_ui_GetUserInfo writes the user's canonical name into buffer (MAXUSERNAME + 1
// bytes); license may be null. Other requests fail.
NOTESRT_API STATUS SECKFMUserInfo(uint16_t request, char* buffer, LICENSEID* license);

// ---- Memory ----

// Allocates a zero-filled block of size bytes (at least one) into *handle, unlocked. The
// caller frees it with OSMemFree.
NOTESRT_API STATUS OSMemAlloc(uint16_t blockType, uint32_t size, DHANDLE* handle);

// Frees a block, locked or not. Freeing handle 0 does nothing.
NOTESRT_API STATUS OSMemFree(DHANDLE handle);

// Writes the block's size in bytes.
NOTESRT_API STATUS OSMemGetSize(DHANDLE handle, uint32_t* size);

// Locks a block and returns its address, valid until the block is resized or freed; null
// for handle 0 or an invalid handle. Locks nest.
NOTESRT_API void* OSLockObject(DHANDLE handle);

// Undoes one lock; returns non-zero when the block is still locked afterwards, 0 otherwise
// (also for handle 0, an invalid handle or an unlocked block).
NOTESRT_API int OSUnlockObject(DHANDLE handle);

// ---- Text lists ----

// Allocates a text list of entries empty entries and textSize bytes of text space, with a
// 16-bit data type (TYPE_TEXT_LIST) in front when prefixDataType is non-zero. The list is
// returned LOCKED: *list points at it (at the data type when prefixed) and *listSize is its
// size in bytes. The caller unlocks it and frees it with OSMemFree.
NOTESRT_API STATUS ListAllocate(uint16_t entries, uint16_t textSize, int prefixDataType,
                                DHANDLE* handle, void** list, uint16_t* listSize);

// Inserts text (textSize bytes) as entry entryNumber (0 to the entry count) of the list and
// updates *listSize. The list's lock count is left as it was; addresses from earlier locks
// are invalid afterwards. prefixDataType must say how the list was allocated.
NOTESRT_API STATUS ListAddEntry(DHANDLE handle, int prefixDataType, uint16_t* listSize,
                                uint16_t entryNumber, const char* text, uint16_t textSize);

// ---- Paths, servers and address books ----

// Joins port, server and file (each may be null or empty) into path (MAXPATH bytes):
// "port!!server!!file", "server!!file", or "file" when the server is empty. Fails when the
// result does not fit.
NOTESRT_API STATUS OSPathNetConstruct(const char* port, const char* server, const char* file,
                                      char* path);

// Splits a path made by OSPathNetConstruct into its parts (each output MAXPATH bytes, may be
// null). Parts that are absent come back empty. Fails, with empty outputs, when a part does
// not fit.
NOTESRT_API STATUS OSPathNetParse(const char* path, char* port, char* server, char* file);

// Lists the address books of server (null or empty: the local installation, from the
// notes.ini variable NAMES) as *count NUL-terminated paths one after the other in a new
// memory block (*handle, unlocked, *length bytes in all); the caller frees it. No address
// books: count 0 and handle 0. A server whose folder does not exist is unreachable.
NOTESRT_API STATUS NAMEGetAddressBooks(const char* server, uint16_t options, uint16_t* count,
                                       uint16_t* length, DHANDLE* handle);

// ---- Text translation ----

// Translates inLength bytes of in (mode OS_TRANSLATE_LMBCS_TO_UTF8 or
// OS_TRANSLATE_UTF8_TO_LMBCS) into out, writing whole characters only, at most outLength
// bytes, and a NUL after them when there is room. Returns the bytes written (0 for an
// unknown mode). Malformed input becomes U+FFFD.
NOTESRT_API uint16_t OSTranslate(uint16_t mode, const char* in, uint16_t inLength, char* out,
                                 uint16_t outLength);

// ---- Databases ----

// Opens the database file named by path ("server!!file" or a local file, relative to the
// data directory) into *db. Fails when the server is unreachable, the file does not exist or
// is damaged (the status text names the file and the problem). The caller closes the handle
// with NSFDbClose.
NOTESRT_API STATUS NSFDbOpen(const char* path, DBHANDLE* db);

// Closes a database handle.
NOTESRT_API STATUS NSFDbClose(DBHANDLE db);

// Writes the database's replication settings (its replica ID among them).
NOTESRT_API STATUS NSFDbReplicaInfoGet(DBHANDLE db, DBREPLICAINFO* info);

// Writes the database's instance ID.
NOTESRT_API STATUS NSFDbIDGet(DBHANDLE db, DBID* dbId);

} // extern "C"
