// The Notes runtime calls as the library sees them: each one a function of the vendor's public
// C API, declared with that API's prototype, types and calling convention as its headers
// declare them for 32-bit Windows. Binding to another runtime touches only this header and the
// link line.
//
// Conventions shared by every call:
// - A call that returns STATUS returns 0 on success; on failure it leaves its outputs as they
//   were unless stated otherwise. OSLoadString gives the text of any status it returned.
// - Handles are 0 for "none". Handles obtained before NotesTerm are invalid after it; using
//   one fails with a status.
// - Memory handles (DHANDLE) returned by a call belong to the caller, who frees them with
//   OSMemFree. Lock and unlock calls on handle 0 do nothing.
// - Text passed in and out is LMBCS unless stated otherwise.
//
// The binary contract on 32-bit Windows, checked by meetingmgr/korvolotusc/notesapi_reference.cpp
// and by the link against the import library made from meetingmgr/korvolotusc/nnotes.def:
// - Every call is __stdcall (LNPUBLIC), and so is the search callback (LNCALLBACK). The
//   reference prints the calendar calls (CalReadRange, CalOpenNoteHandle) without the macro;
//   they take a fixed argument list, and the toolkit's guide gives cdecl only to calls with a
//   variable one, so they are __stdcall here too.
// - Structures are packed on 1-byte boundaries: the toolkit builds 32-bit Windows programs with
//   /Zp (its guide to 64-bit porting: "Don't use /Zp option on Win64"). On 64-bit Windows and on
//   Linux they have their natural alignment.
// - Handles are 32 bits wide (DHANDLE), a collection handle 16; WORD, DWORD and BOOL are 16, 32
//   and 32 bits. This header is not meant to be included together with <windows.h>.
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

#if defined(_WIN32) && defined(__i386__)
#define LNPUBLIC __stdcall   // every runtime call
#define LNCALLBACK __stdcall // every routine the runtime calls back
#define NOTESAPI_PACKED 1    // structures packed on 1-byte boundaries
#else
#define LNPUBLIC
#define LNCALLBACK
#endif
#define LNCALLBACKPTR LNCALLBACK*

extern "C" {

typedef unsigned char BYTE; // 8 bits
typedef uint16_t WORD;      // 16 bits
typedef uint16_t USHORT;    // 16 bits
typedef uint32_t DWORD;     // 32 bits
typedef int32_t LONG;       // 32 bits on every platform
typedef int BOOL;           // 0 for false
typedef void* HMODULE;      // a module whose string table OSLoadString reads; null: the runtime's

typedef WORD STATUS;        // 0 for success; the low 14 bits are the error code
typedef DWORD DHANDLE;      // memory handle (and the base of the other 32-bit handles)
typedef DHANDLE MEMHANDLE;  // memory handle of the calendar calls
typedef DHANDLE DBHANDLE;   // open database
typedef DHANDLE NOTEHANDLE; // open note
typedef WORD HCOLLECTION;   // open view collection
typedef DWORD NOTEID;       // a note's number within its database

#define NULLHANDLE 0
#if !defined(NOERROR)
#define NOERROR 0
#endif
#define ERR(status) ((STATUS)((status)&0x3fff)) // the error code of a status

// Error codes callers test for (compare with ERR(status)). The reference names them without
// their values; the values are this runtime's.
#define ERR_ITEM_NOT_FOUND 0x0222 // no (further) item of that name in the note
#define ERR_NOT_FOUND 0x0404      // no entry of that key in the index (or no view, no UNID)
#define ERR_SCHOBJ_NOTEXIST 1006  // no (further) schedule object: ends a schedule list walk
// The ID file is locked and the user can unlock it and retry. The reference names no constant
// for this status; the name is this header's.
#define ERR_ID_LOCKED 6022

#define MAXPATH 256     // bytes of a path buffer, NUL included
#define MAXUSERNAME 256 // bytes of a user-name buffer, NUL included
#define MAXENVVALUE 256 // bytes of a notes.ini value buffer, NUL included

#if defined(NOTESAPI_PACKED)
#pragma pack(push, 1)
#endif

// Time and date: ticks of 1/100 s since midnight GMT in Innards[0]; the Julian day (bits
// 0-23), the zone (hours west of GMT in bits 24-27, quarter hours in bits 28-29, bit 30 set
// for a zone east of GMT) and bit 31 for daylight saving time in effect in Innards[1].
typedef struct {
    DWORD Innards[2]; // ticks, then day, zone and DST
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
    DWORD Sequence;        // edit sequence number, 1 for an unedited note
    TIMEDATE SequenceTime; // time of the last edit
} ORIGINATORID;
typedef ORIGINATORID OID;

// Replication settings of a database.
typedef struct {
    TIMEDATE ID;         // replica ID, shared by every replica of the database
    WORD Flags;          // replication flags
    WORD CutoffInterval; // days after which deletions are purged
    TIMEDATE Cutoff;     // time of the last purge
} DBREPLICAINFO;

// A block inside a memory handle: lock the handle and add the offset (OSLockBlock).
typedef WORD BLOCK; // offset of a block from the start of its pool
typedef struct {
    DHANDLE pool; // the memory handle holding the block
    BLOCK block;  // the block's offset inside it
} BLOCKID;

// Address of blockid's block as a pointer to type, locking its pool; null when the pool is
// not a valid handle (the blocks this runtime hands out start their pools). Undo with
// OSUnlockBlock.
#define OSLockBlock(type, blockid) ((type*)((char*)OSLockObject((blockid).pool) + (blockid).block))
#define OSUnlockBlock(blockid) OSUnlockObject((blockid).pool)

// Head of a text list; ListEntries 16-bit lengths and then the texts follow it.
typedef struct {
    USHORT ListEntries; // number of entries
} LIST;

// Head of a time-list value: ListEntries TIMEDATEs follow it (time ranges are not used).
typedef struct {
    USHORT ListEntries;  // number of single times
    USHORT RangeEntries; // number of time pairs; always 0 here
} RANGE;

// License identifier of the user's ID file.
typedef struct {
    BYTE ID[5];    // license number
    BYTE Product;  // product code
    BYTE Check[2]; // check digits
} LICENSEID;

// Constants from here on carry the public names; the reference gives most of them without a
// value, and those values are this runtime's.

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

// NSFNoteOpenExt flags. Other bits are accepted and change nothing.
#define OPEN_RAW_MIME 0x03000000 // show a MIME body as MIME entities, not as rich text

// Note attributes of NSFNoteGetInfo and NSFNoteSetInfo, with the type of their value.
#define _NOTE_DB 0    // DBHANDLE: the database the note belongs to (and is updated into)
#define _NOTE_ID 1    // NOTEID: 0 for a note not yet stored
#define _NOTE_OID 2   // ORIGINATORID
#define _NOTE_CLASS 3 // WORD: NOTE_CLASS_DOCUMENT, NOTE_CLASS_VIEW, ...

// Attached file object (the public FILEOBJECT in its canonical, packed form), as it follows
// the data type TYPE_OBJECT in the value of a "$FILE" item. Byte offsets: object type 0,
// file-name length 6, host type 8, file size 16, file name 36 (not NUL-terminated). The
// public API gives the size as ODSLength(_FILEOBJECT); FILEOBJECT_SIZE is this header's name.
#define OBJECT_FILE 0      // object type of an attached file
#define HOST_MSDOS 0       // host type of a file attached from a DOS/Windows system
#define FILEOBJECT_SIZE 36 // bytes of the descriptor before the file name

// Key that decrypts an encrypted attachment; NSFNoteExtractFile takes null here.
typedef struct {
    BYTE Byte1;    // key type
    WORD Word1;    // key length
    BYTE Text[16]; // the key
} ENCRYPTION_KEY;

// MIME bodies (notes opened with OPEN_RAW_MIME).
typedef DWORD HMIMEDIRECTORY; // open MIME directory of a note
typedef void* PMIMEENTITY;    // an entity of an open directory; null for none
// Parsed MIME names: content types, subtypes and parameter names. The numbers follow the order
// of the reference's enumeration; only the symbols used here are listed.
typedef enum tagMimeWellKnownSymbolId {
    MIME_SYMBOL_UNKNOWN = 0,       // a name without a symbol of its own
    MIME_SYMBOL_TEXT = 1,          // type text
    MIME_SYMBOL_MULTIPART = 2,     // type multipart
    MIME_SYMBOL_MESSAGE = 3,       // type message
    MIME_SYMBOL_APPLICATION = 4,   // type application
    MIME_SYMBOL_IMAGE = 5,         // type image
    MIME_SYMBOL_AUDIO = 6,         // type audio
    MIME_SYMBOL_VIDEO = 7,         // type video
    MIME_SYMBOL_PLAIN = 16,        // subtype plain
    MIME_SYMBOL_OCTET_STREAM = 19, // subtype octet-stream
    MIME_SYMBOL_HTML = 21,         // subtype html
    MIME_SYMBOL_ALTERNATIVE = 27,  // subtype alternative
    MIME_SYMBOL_MIXED = 28,        // subtype mixed
    MIME_SYMBOL_CHARSET = 35,      // parameter charset
    MIME_SYMBOL_BOUNDARY = 36,     // parameter boundary
    MIME_SYMBOL_RFC822 = 60,       // subtype rfc822
    MIME_SYMBOL_RELATED = 63,      // subtype related
    MIME_SYMBOL_GIF = 64,          // subtype gif
    MIME_SYMBOL_JPEG = 65,         // subtype jpeg
    MIME_SYMBOL_ENRICHED = 68,     // subtype enriched
    MIME_SYMBOL_CALENDAR = 95,     // subtype calendar
    MIME_SYMBOL_PNG = 122,         // subtype png
} MIMESYMBOL;
#define MIME_PART_BODY_IN_DBOBJECT 0x4 // part flag: the part is an attachment, not body text
#define MIME_ENTITY_DATA_BODY 0        // MIMEGetEntityData: the entity's body

// Time text formats: date style, time style, zone style, structure.
typedef struct {
    BYTE Date;      // TDFMT_...
    BYTE Time;      // TTFMT_...
    BYTE Zone;      // TZFMT_...
    BYTE Structure; // TSFMT_...
} TFMT;
#define TDFMT_FULL 0     // the date; the year has four digits when the settings say so
#define TDFMT_FULL4 4    // the date with a four-digit year
#define TTFMT_FULL 0     // hours, minutes and seconds
#define TTFMT_PARTIAL 1  // hours and minutes
#define TZFMT_NEVER 0    // no zone
#define TSFMT_DATE 0     // date only
#define TSFMT_TIME 1     // time only
#define TSFMT_DATETIME 2 // date and time

// International settings (OSGetIntlSettings): 139 bytes, packed on every platform here.
#define ISTRMAX 5   // bytes of a separator or AM/PM string, NUL included
#define YTSTRMAX 32 // bytes of a yesterday/today/tomorrow string, NUL included
#pragma pack(push, 1)
typedef struct {
    WORD Flags;                     // CLOCK_24_HOUR, DATE_MDY, ...
    BYTE CurrencyDigits;            // digits after the decimal separator in amounts
    BYTE Length;                    // size of the record: 139
    int TimeZone;                   // standard time, whole hours west of GMT (5 in New York)
    char AMString[ISTRMAX];         // "AM"
    char PMString[ISTRMAX];         // "PM"
    char CurrencyString[ISTRMAX];   // "$"
    char ThousandString[ISTRMAX];   // ","
    char DecimalString[ISTRMAX];    // "."
    char DateString[ISTRMAX];       // date separator "/"
    char TimeString[ISTRMAX];       // time separator ":"
    char YesterdayString[YTSTRMAX]; // "Yesterday"
    char TodayString[YTSTRMAX];     // "Today"
    char TomorrowString[YTSTRMAX];  // "Tomorrow"
} INTLFORMAT;
#pragma pack(pop)
#define CLOCK_24_HOUR 0x0008    // 24-hour clock, else AM/PM
#define DATE_MDY 0x0020         // month, day, year
#define DATE_DMY 0x0040         // day, month, year
#define DATE_YMD 0x0080         // year, month, day
#define DATE_4DIGIT_YEAR 0x0100 // four-digit years

// A time broken down into fields, and the GMT time it stands for.
typedef struct {
    int year;      // e.g. 2026
    int month;     // 1-12
    int day;       // 1-31
    int weekday;   // 1 (Sunday) to 7 (Saturday)
    int hour;      // 0-23
    int minute;    // 0-59
    int second;    // 0-59
    int hundredth; // 0-99
    int dst;       // non-zero: one hour of daylight saving time is added
    int zone;      // whole hours west of GMT (as INTLFORMAT.TimeZone)
    TIMEDATE GM;   // the time itself
} TIME;

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
// Public C API, <global.h>.
NOTESRT_API STATUS LNPUBLIC NotesInitExtended(int argc, char** argv);

// Stops the runtime: every open database, note and memory handle is released and every
// handle obtained so far becomes invalid. Does nothing when the runtime is not started.
// Public C API, <global.h>.
NOTESRT_API void LNPUBLIC NotesTerm(void);

// ---- Status texts and notes.ini ----

// Writes the runtime's text for (status AND 0x3fff) into buffer (at most bufferLength - 1
// characters and a NUL) and returns the text's length; 0 and an empty text for an unknown
// status. Works whether or not the runtime is started.
// Public C API, <osmisc.h>.
NOTESRT_API WORD LNPUBLIC OSLoadString(HMODULE module, STATUS status, char* buffer,
                                       WORD bufferLength);

// Copies the value of the notes.ini variable name (compared ignoring case) into buffer: at
// most bufferLength characters and a NUL, so the buffer holds bufferLength + 1 bytes.
// Returns non-zero when the variable is set (an empty value included), 0 with an empty
// buffer when it is not or the runtime is not started.
// Public C API, <osenv.h>.
NOTESRT_API BOOL LNPUBLIC OSGetEnvironmentString(const char* name, char* buffer, WORD bufferLength);

// ---- The user ----

// Writes the user's canonical name (at most MAXUSERNAME - 1 characters and a NUL).
// Public C API, <kfm.h>.
NOTESRT_API STATUS LNPUBLIC SECKFMGetUserName(char* userName);

// Request KFM_ui_GetUserInfo writes the user's canonical name into buffer (MAXUSERNAME + 1
// bytes); license may be null. Other requests fail.
// Public C API, <kfm.h>.
NOTESRT_API STATUS LNPUBLIC SECKFMUserInfo(WORD request, char* buffer, LICENSEID* license);

// ---- Memory ----

// Allocates a zero-filled block of size bytes (at least one) into *handle, unlocked. The
// caller frees it with OSMemFree.
// Public C API, <osmem.h>.
NOTESRT_API STATUS LNPUBLIC OSMemAlloc(WORD blockType, DWORD size, DHANDLE* handle);

// Frees a block, locked or not. Freeing handle 0 does nothing.
// Public C API, <osmem.h>.
NOTESRT_API STATUS LNPUBLIC OSMemFree(DHANDLE handle);

// Writes the block's size in bytes.
// Public C API, <osmem.h>.
NOTESRT_API STATUS LNPUBLIC OSMemGetSize(DHANDLE handle, DWORD* size);

// Locks a block and returns its address, valid until the block is resized or freed; null
// for handle 0 or an invalid handle. Locks nest.
// Public C API, <osmem.h>.
NOTESRT_API void* LNPUBLIC OSLockObject(DHANDLE handle);

// Undoes one lock; returns non-zero when the block is still locked afterwards, 0 otherwise
// (also for handle 0, an invalid handle or an unlocked block).
// Public C API, <osmem.h>.
NOTESRT_API BOOL LNPUBLIC OSUnlockObject(DHANDLE handle);

// ---- Text lists ----

// Allocates a text list of entries empty entries and textSize bytes of text space, with a
// 16-bit data type (TYPE_TEXT_LIST) in front when prefixDataType is non-zero. The list is
// returned LOCKED: *list points at it (at the data type when prefixed) and *listSize is its
// size in bytes. The caller unlocks it and frees it with OSMemFree.
// Public C API, <textlist.h>.
NOTESRT_API STATUS LNPUBLIC ListAllocate(WORD entries, WORD textSize, BOOL prefixDataType,
                                         DHANDLE* handle, void* list, WORD* listSize);

// Inserts text (textSize bytes) as entry entryNumber (0 to the entry count) of the list and
// updates *listSize. The list's lock count is left as it was; addresses from earlier locks
// are invalid afterwards. prefixDataType must say how the list was allocated.
// Public C API, <textlist.h>.
NOTESRT_API STATUS LNPUBLIC ListAddEntry(DHANDLE handle, BOOL prefixDataType, WORD* listSize,
                                         WORD entryNumber, const char* text, WORD textSize);

// ---- Paths, servers and address books ----

// Joins port, server and file (each may be null or empty) into path (MAXPATH bytes):
// "port!!server!!file", "server!!file", or "file" when the server is empty. Fails when the
// result does not fit.
// Public C API, <osfile.h>.
NOTESRT_API STATUS LNPUBLIC OSPathNetConstruct(const char* port, const char* server,
                                               const char* file, char* path);

// Splits a path made by OSPathNetConstruct into its parts (each output MAXPATH bytes, may be
// null). Parts that are absent come back empty. Fails, with empty outputs, when a part does
// not fit.
// Public C API, <osfile.h>.
NOTESRT_API STATUS LNPUBLIC OSPathNetParse(const char* path, char* port, char* server, char* file);

// Lists the address books of server (null or empty: the local installation, from the
// notes.ini variable NAMES) as *count NUL-terminated paths one after the other in a new
// memory block (*handle, unlocked, *length bytes in all); the caller frees it. No address
// books: count 0 and handle 0. A server whose folder does not exist is unreachable.
// Public C API, <lookup.h>.
NOTESRT_API STATUS LNPUBLIC NAMEGetAddressBooks(const char* server, WORD options, WORD* count,
                                                WORD* length, DHANDLE* handle);

// ---- Text translation ----

// Translates inLength bytes of in (mode OS_TRANSLATE_LMBCS_TO_UTF8 or
// OS_TRANSLATE_UTF8_TO_LMBCS) into out, writing whole characters only, at most outLength
// bytes, and a NUL after them when there is room. Returns the bytes written (0 for an
// unknown mode). Malformed input becomes U+FFFD.
// Public C API, <osmisc.h>.
NOTESRT_API WORD LNPUBLIC OSTranslate(WORD mode, const char* in, WORD inLength, char* out,
                                      WORD outLength);

// ---- Databases ----

// Opens the database file named by path ("server!!file" or a local file, relative to the
// data directory) into *db. Fails when the server is unreachable, the file does not exist or
// is damaged (the status text names the file and the problem). The caller closes the handle
// with NSFDbClose.
// Public C API, <nsfdb.h>.
NOTESRT_API STATUS LNPUBLIC NSFDbOpen(const char* path, DBHANDLE* db);

// Closes a database handle.
// Public C API, <nsfdb.h>.
NOTESRT_API STATUS LNPUBLIC NSFDbClose(DBHANDLE db);

// Writes the database's replication settings (its replica ID among them).
// Public C API, <nsfdb.h>.
NOTESRT_API STATUS LNPUBLIC NSFDbReplicaInfoGet(DBHANDLE db, DBREPLICAINFO* info);

// Writes the database's instance ID.
// Public C API, <nsfdb.h>.
NOTESRT_API STATUS LNPUBLIC NSFDbIDGet(DBHANDLE db, DBID* dbId);

// ---- Views ----

// The design-flag pattern of views and folders, as the public NIFFindView macro passes it to
// NIFFindDesignNoteExt. The reference names the pattern without its text.
#define DFLAGPAT_VIEWS_AND_FOLDERS "-G40n^"

// Finds the design note named name (compared ignoring case with its $TITLE or any of its
// "|"-separated synonyms) of class noteClass (NOTE_CLASS_VIEW) and writes its note ID. The
// design-flag pattern (DFLAGPAT_VIEWS_AND_FOLDERS) and options are accepted and not examined.
// A missing note fails with ERR_NOT_FOUND, leaving *noteId as it was.
// Public C API, <nif.h>.
NOTESRT_API STATUS LNPUBLIC NIFFindDesignNoteExt(DBHANDLE db, const char* name, WORD noteClass,
                                                 const char* pattern, NOTEID* noteId,
                                                 DWORD options);

// ---- Notes ----

// Opens the note noteId of db into *note. Without OPEN_RAW_MIME a MIME body shows as rich
// text made from its first text part; with it, as MIME entities (MIMEOpenDirectory). Fails
// when there is no such note. The caller closes the handle with NSFNoteClose; the note stays
// readable after db is closed.
// Public C API, <nsfnote.h>.
NOTESRT_API STATUS LNPUBLIC NSFNoteOpenExt(DBHANDLE db, NOTEID noteId, DWORD flags,
                                           NOTEHANDLE* note);

// Opens the note of db whose UNID is *unid into *note, as NSFNoteOpenExt without
// OPEN_RAW_MIME (flags change nothing); ERR_NOT_FOUND when db holds no such note. Closed with
// NSFNoteClose.
// Public C API, <nsfnote.h>.
NOTESRT_API STATUS LNPUBLIC NSFNoteOpenByUNID(DBHANDLE db, UNID* unid, WORD flags,
                                              NOTEHANDLE* note);

// Closes a note handle, freeing the item blocks NSFItemInfo handed out for it.
// Public C API, <nsfnote.h>.
NOTESRT_API STATUS LNPUBLIC NSFNoteClose(NOTEHANDLE note);

// Writes the note ID, originator ID, last modification time and class of the note of db
// whose UNID is *unid; every output may be null. ERR_NOT_FOUND when db holds no such note.
// Public C API, <nsfdb.h>.
NOTESRT_API STATUS LNPUBLIC NSFDbGetNoteInfoByUNID(DBHANDLE db, UNID* unid, NOTEID* noteId,
                                                   OID* oid, TIMEDATE* modified, WORD* noteClass);

// Writes the originator ID, last modification time and class of the note noteId of db;
// every output may be null. Fails when there is no such note.
// Public C API, <nsfdb.h>.
NOTESRT_API STATUS LNPUBLIC NSFDbGetNoteInfo(DBHANDLE db, NOTEID noteId, OID* oid,
                                             TIMEDATE* modified, WORD* noteClass);

// Copies the note's attribute (_NOTE_DB, _NOTE_ID, _NOTE_OID, _NOTE_CLASS) into *value,
// which has that attribute's type. Does nothing for an invalid handle or another attribute.
// Public C API, <nsfnote.h>.
NOTESRT_API void LNPUBLIC NSFNoteGetInfo(NOTEHANDLE note, WORD attribute, void* value);

// Sets the note's attribute from *value (null: 0 or all zero). _NOTE_DB must be an open
// database handle. The change stays with the handle. Does nothing for an invalid handle, an
// invalid database handle or another attribute.
// Public C API, <nsfnote.h>.
NOTESRT_API void LNPUBLIC NSFNoteSetInfo(NOTEHANDLE note, WORD attribute, void* value);

// Non-zero when the note, as opened, has a MIME body (it was opened with OPEN_RAW_MIME and
// holds a MIME item); 0 otherwise and for an invalid handle.
// Public C API, <nsfnote.h>.
NOTESRT_API BOOL LNPUBLIC NSFNoteHasMIMEPart(NOTEHANDLE note);

// ---- Items ----

// Finds the first item of the note named name (nameLength bytes, compared ignoring case).
// Writes its item block, data type, value block and value length; every output may be null.
// The value block points at the 16-bit data type, which the value length includes; the
// value follows it: LMBCS text, a LIST, an 8-byte double, a TIMEDATE, a RANGE and its
// TIMEDATEs, or for TYPE_OBJECT the file descriptor (FILEOBJECT_SIZE bytes and the name).
// The blocks belong to the note and are valid until NSFNoteClose; lock them with
// OSLockBlock and do not free them. ERR_ITEM_NOT_FOUND when there is no such item.
// Public C API, <nsfnote.h>.
NOTESRT_API STATUS LNPUBLIC NSFItemInfo(NOTEHANDLE note, const char* name, WORD nameLength,
                                        BLOCKID* item, WORD* dataType, BLOCKID* value,
                                        DWORD* valueLength);

// As NSFItemInfo for the next item named name after the item whose item block is
// previous; ERR_ITEM_NOT_FOUND when there is no further one.
// Public C API, <nsfnote.h>.
NOTESRT_API STATUS LNPUBLIC NSFItemInfoNext(NOTEHANDLE note, BLOCKID previous, const char* name,
                                            WORD nameLength, BLOCKID* item, WORD* dataType,
                                            BLOCKID* value, DWORD* valueLength);

// Reads the first item named name as text into buffer: at most bufferLength - 1 bytes and
// a NUL. Text is its bytes, a text list its entries separated by ";", a number its shortest
// decimal form, a time MM/DD/YYYY HH:MM:SS in local time, a time list its times separated
// by ";". Returns the length of the whole text (which is bufferLength or more when it was
// cut); 0 with an empty buffer when the item is missing or of another type.
// Public C API, <nsfnote.h>.
NOTESRT_API WORD LNPUBLIC NSFItemGetText(NOTEHANDLE note, const char* name, char* buffer,
                                         WORD bufferLength);

// As NSFItemGetText, the entries of a list separated by separator.
// Public C API, <nsfnote.h>.
NOTESRT_API WORD LNPUBLIC NSFItemConvertToText(NOTEHANDLE note, const char* name, char* buffer,
                                               WORD bufferLength, char separator);

// Writes the time of the first item named name (the first entry of a time list); returns 0
// and leaves *time as it was when the item is missing or holds no time.
// Public C API, <nsfnote.h>.
NOTESRT_API BOOL LNPUBLIC NSFItemGetTime(NOTEHANDLE note, const char* name, TIMEDATE* time);

// Converts an item value (a value block and length from NSFItemInfo) to text in a new
// memory block: rich text as its paragraphs joined by lineDelimiter, a paragraph longer
// than charsPerLine characters broken at its last blank before the limit (or at the limit),
// no delimiter after the last; text as its text. stripTabs non-zero drops tab characters.
// *text is unlocked and the caller frees it; *textLength is its length in bytes (no NUL).
// Other data types fail, leaving the outputs as they were.
// Public C API, <ods.h>.
NOTESRT_API STATUS LNPUBLIC ConvertItemToText(BLOCKID value, DWORD valueLength,
                                              const char* lineDelimiter, WORD charsPerLine,
                                              DHANDLE* text, DWORD* textLength, BOOL stripTabs);

// Writes the file of the TYPE_OBJECT item whose item block is item to the file path
// (created or replaced). decryptionKey is not used and may be null.
// Public C API, <nsfnote.h>.
NOTESRT_API STATUS LNPUBLIC NSFNoteExtractFile(NOTEHANDLE note, BLOCKID item, const char* path,
                                               ENCRYPTION_KEY* decryptionKey);

// ---- MIME bodies ----

// Opens the MIME directory of a note opened with OPEN_RAW_MIME into *directory; its root is
// the note's first MIME item. Fails when the note shows no MIME body. The caller frees the
// directory with MIMEFreeDirectory before closing the note.
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEOpenDirectory(NOTEHANDLE note, HMIMEDIRECTORY* directory);

// Frees a directory and its entities. The memory blocks its calls returned stay the caller's.
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEFreeDirectory(HMIMEDIRECTORY directory);

// Writes the directory's root entity, valid until the directory is freed.
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEGetRootEntity(HMIMEDIRECTORY directory, PMIMEENTITY* root);

// Writes the entity after previous (the root when previous is null) in a depth-first walk
// of root's entities, parents before their parts; after the last one it succeeds with null.
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEIterateNext(HMIMEDIRECTORY directory, PMIMEENTITY root,
                                            PMIMEENTITY previous, PMIMEENTITY* next);

// Non-zero for an entity that is neither a multipart nor a message/rfc822 entity (a leaf with
// content); 0 for the others, for null and for an entity that is no longer valid.
// Public C API, <mimedir.h>.
NOTESRT_API BOOL LNPUBLIC MIMEEntityIsDiscretePart(PMIMEENTITY entity);

// Non-zero for a multipart entity (a container of parts); 0 for the others, for null and for
// an entity that is no longer valid.
// Public C API, <mimedir.h>.
NOTESRT_API BOOL LNPUBLIC MIMEEntityIsMultiPart(PMIMEENTITY entity);

// The top-level content type (MIME_SYMBOL_TEXT, MIME_SYMBOL_MULTIPART, ...), or
// MIME_SYMBOL_UNKNOWN for a type without a symbol, for null and for an entity that is no
// longer valid.
// Public C API, <mimedir.h>.
NOTESRT_API MIMESYMBOL LNPUBLIC MIMEEntityContentType(PMIMEENTITY entity);

// The content subtype (MIME_SYMBOL_PLAIN, MIME_SYMBOL_HTML, ...), or MIME_SYMBOL_UNKNOWN as
// for MIMEEntityContentType.
// Public C API, <mimedir.h>.
NOTESRT_API MIMESYMBOL LNPUBLIC MIMEEntityContentSubtype(PMIMEENTITY entity);

// Writes the entity's part flags (MIME_PART_BODY_IN_DBOBJECT for an attachment).
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEGetEntityPartFlags(NOTEHANDLE note, PMIMEENTITY entity,
                                                   DWORD* flags);

// Writes the value of the content type's parameter (MIME_SYMBOL_CHARSET) as NUL-terminated
// text in a new memory block (*value, unlocked; the caller frees it) and its length without
// the NUL. ERR_NOT_FOUND when the entity has no such parameter.
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEEntityGetTypeParam(PMIMEENTITY entity, MIMESYMBOL parameter,
                                                   DHANDLE* value, DWORD* valueLength);

// Writes length bytes (0xFFFFFFFF: all) of the entity's decoded content from offset into a
// new memory block (*data, unlocked; the caller frees it) and their number; *encodedLength
// (may be null) gets the bytes of the content as stored.
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEGetDecodedEntityData(DHANDLE note, PMIMEENTITY entity, DWORD offset,
                                                     DWORD length, DHANDLE* data, DWORD* dataLength,
                                                     DWORD* encodedLength);

// As MIMEGetDecodedEntityData for the part of the entity that part names
// (MIME_ENTITY_DATA_BODY),
// without the encoded length.
// Public C API, <mimedir.h>.
NOTESRT_API STATUS LNPUBLIC MIMEGetEntityData(NOTEHANDLE note, PMIMEENTITY entity, WORD part,
                                              DWORD offset, DWORD length, DHANDLE* data,
                                              DWORD* dataLength);

// ---- Time ----

// Fills the first bufferSize bytes (at most sizeof(INTLFORMAT)) of *settings with the
// international settings: flags DATE_MDY | DATE_4DIGIT_YEAR | CLOCK_24_HOUR, separators "/"
// and ":", and the process's zone.
// Public C API, <intl.h>.
NOTESRT_API void LNPUBLIC OSGetIntlSettings(INTLFORMAT* settings, WORD bufferSize);

// Reads the time text at *text (at most textLength bytes, up to the first NUL) as local
// wall-clock time of the process's zone, in the date order, separators and clock of
// settings (null: those of OSGetIntlSettings) and the structure of format (null:
// TSFMT_DATETIME; a date without a time is midnight). Advances *text past what was read.
// Fails for text that is not such a time, leaving the outputs as they were.
// Public C API, <misc.h>.
NOTESRT_API STATUS LNPUBLIC ConvertTextToTIMEDATE(const void* settings, const TFMT* format,
                                                  char** text, WORD textLength, TIMEDATE* time);

// Writes *time as local time of the process's zone in the form settings and format give
// (null as for ConvertTextToTIMEDATE) into buffer, at most bufferLength bytes and no NUL, and
// its length into *textLength. Fails when the time cannot be represented or the text does
// not fit.
// Public C API, <misc.h>.
NOTESRT_API STATUS LNPUBLIC ConvertTIMEDATEToText(const void* settings, const TFMT* format,
                                                  const TIMEDATE* time, char* buffer,
                                                  WORD bufferLength, WORD* textLength);

// Breaks time->GM down into the fields of local time for time->zone and time->dst: GMT minus
// zone hours, plus one hour when dst is set. Returns 0, or 1 (fields unchanged) for a time
// it cannot represent.
// Public C API, <misc.h>.
NOTESRT_API BOOL LNPUBLIC TimeGMToLocal(TIME* time);

// Adds the amounts (each may be negative) to *time: seconds, minutes and hours as elapsed
// time; days, months and years to the local date, keeping the local time of day (a day past
// the last of a shorter month becomes its last day). The zone and DST of the result are
// those of the process's zone at the new time. Returns 0 (FALSE) when adjusted; non-zero
// (TRUE) when not, this runtime answering with its status of the failure.
// Public C API, <misc.h>.
NOTESRT_API BOOL LNPUBLIC TimeDateAdjust(TIMEDATE* time, int seconds, int minutes, int hours,
                                         int days, int months, int years);

// -1, 0 or 1 as *first is earlier than, the same instant as, or later than *second.
// Public C API, <misc.h>.
NOTESRT_API int LNPUBLIC TimeDateCompare(const TIMEDATE* first, const TIMEDATE* second);

// Seconds from *second to *first (first minus second), truncated toward zero.
// Public C API, <misc.h>.
NOTESRT_API LONG LNPUBLIC TimeDateDifference(const TIMEDATE* first, const TIMEDATE* second);

// Writes the current time, with the process's zone and DST.
// Public C API, <ostime.h>.
NOTESRT_API void LNPUBLIC OSCurrentTIMEDATE(TIMEDATE* time);

// ---- Collections: the entries of a view ----

// A position in a collection. In a flat view (this runtime's views are flat) Level is 0 and
// Tumbler[0] is the number of an entry, counted from 1; 0 stands before the first entry.
#define MAXTUMBLERLEVELS 32 // levels of a position
typedef struct {
    WORD Level;                      // depth of the position; 0 in a flat view
    BYTE MinLevel;                   // lowest level a navigation may reach; 0
    BYTE MaxLevel;                   // highest level a navigation may reach; 0
    DWORD Tumbler[MAXTUMBLERLEVELS]; // entry number at each level; only Tumbler[0] is used
} COLLECTIONPOSITION;

// NIFFindByName flags: without FIND_PARTIAL a key must equal the text, with it a key must
// begin with it; FIND_CASE_INSENSITIVE compares ignoring case.
#define FIND_PARTIAL 0x0001
#define FIND_CASE_INSENSITIVE 0x0002

// NIFReadEntries navigators, return mask and signal flags.
#define NAVIGATE_CURRENT 0          // stay at the position
#define NAVIGATE_NEXT 1             // move to the following entry
#define READ_MASK_NOTEID 0x00000001 // one 32-bit note ID per entry
#define SIGNAL_MORE_TO_DO 0x0020    // more entries of the request remain to be read

// Opens the collection of the view viewNoteId of viewDb, its entries computed from the
// documents of dataDb (usually the same database). The view "$Users" lists every key of
// every document whose Form is "Person" (ignoring case), sorted by key ignoring case; other
// views have no entries. openFlags and unreadList are accepted and not examined. Writes the
// collection into *collection; viewNote (the view note opened, closed with NSFNoteClose),
// viewUnid, collapsedList and selectedList (always 0) may be null. The caller closes the
// collection with NIFCloseCollection. ERR_NOT_FOUND when viewDb holds no such view.
// Public C API, <nif.h>.
NOTESRT_API STATUS LNPUBLIC NIFOpenCollection(DBHANDLE viewDb, DBHANDLE dataDb, NOTEID viewNoteId,
                                              WORD openFlags, DHANDLE unreadList,
                                              HCOLLECTION* collection, NOTEHANDLE* viewNote,
                                              UNID* viewUnid, DHANDLE* collapsedList,
                                              DHANDLE* selectedList);

// Closes a collection.
// Public C API, <nif.h>.
NOTESRT_API STATUS LNPUBLIC NIFCloseCollection(HCOLLECTION collection);

// Finds the entries whose key matches name as findFlags say (0, FIND_CASE_INSENSITIVE, or
// FIND_CASE_INSENSITIVE | FIND_PARTIAL; other flags fail). Writes the position of the first
// match and the number of matches; ERR_NOT_FOUND, outputs unchanged, when none matches.
// Public C API, <nif.h>.
NOTESRT_API STATUS LNPUBLIC NIFFindByName(HCOLLECTION collection, const char* name, WORD findFlags,
                                          COLLECTIONPOSITION* position, DWORD* matches);

// Reads entries from *position: first skipNavigator moves skipCount entries (NAVIGATE_NEXT)
// or stays (NAVIGATE_CURRENT), then up to returnCount entries are returned from there, the
// first being the entry at the position (the first entry when the position stands before
// it), in the direction of returnNavigator (NAVIGATE_NEXT). returnMask must be
// READ_MASK_NOTEID: *buffer gets a new memory block (unlocked; the caller frees it) of one
// 32-bit note ID per entry returned, 0 when none is. At most NotesrtCollectionPiece entries
// come in one answer; while entries of the request remain, *signalFlags has
// SIGNAL_MORE_TO_DO and *position stands after the last entry returned, and the same call
// again continues the request where the last answer stopped. bufferLength, skipped, returned
// and signalFlags may be null.
// Public C API, <nif.h>.
NOTESRT_API STATUS LNPUBLIC NIFReadEntries(HCOLLECTION collection, COLLECTIONPOSITION* position,
                                           WORD skipNavigator, DWORD skipCount,
                                           WORD returnNavigator, DWORD returnCount,
                                           DWORD returnMask, DHANDLE* buffer, WORD* bufferLength,
                                           DWORD* skipped, DWORD* returned, WORD* signalFlags);

// ---- Searches ----

// Identity of a note within its database file.
typedef struct {
    DBID File;     // the database's instance ID
    TIMEDATE Note; // the note's modification time
    NOTEID NoteID; // the note's ID
} GLOBALINSTANCEID;

// One note found by NSFSearch.
typedef struct {
    GLOBALINSTANCEID ID;       // the note within its database
    ORIGINATORID OriginatorID; // the note's originator ID (its UNID first)
    WORD NoteClass;            // NOTE_CLASS_DOCUMENT, NOTE_CLASS_VIEW, ...
    BYTE SERetFlags;           // SE_FMATCH when the note matches the search
    BYTE Privileges;           // 0
    WORD SummaryLength;        // 0: no summary is given
} SEARCH_MATCH;
#define SE_FMATCH 0x01 // SERetFlags: the note matches

typedef DHANDLE FORMULAHANDLE; // a compiled selection formula

// Head of a note's summary items; never given here.
typedef struct {
    USHORT Length; // bytes of the whole table
    USHORT Items;  // items that follow
} ITEM_TABLE;

// Called once per note found, with the caller's parameter; answering non-zero ends the
// search, and NSFSearch returns that answer. The match record is valid during the call.
typedef STATUS(LNCALLBACKPTR NSFSEARCHPROC)(void* parameter, SEARCH_MATCH* match,
                                            ITEM_TABLE* summary);

// Calls routine for every note of db whose class is in noteClassMask, in the database's
// order, each with SE_FMATCH. formula must be 0 (formulas are not evaluated); viewTitle,
// searchFlags and since are accepted and not examined. The runtime is not busy during the
// calls, so routine may open and read the notes. *until (may be null) gets the time the
// search started.
// Public C API, <nsfsearc.h>.
NOTESRT_API STATUS LNPUBLIC NSFSearch(DBHANDLE db, FORMULAHANDLE formula, char* viewTitle,
                                      WORD searchFlags, WORD noteClassMask, TIMEDATE* since,
                                      NSFSEARCHPROC routine, void* parameter, TIMEDATE* until);

// ---- Calendar ----

// Signal flag of CalReadRange: entries remain; the next request with the same arguments
// continues after the last entry given.
#define SIGNAL_MORE_TO_DO 0x0020

// Renders the appointments of db (documents whose Form is "Appointment") whose start lies
// from start to end, both included, as iCalendar text in LMBCS: CR LF lines folded at 75
// octets (never inside a character), one VCALENDAR with a VTIMEZONE for the local times it
// writes and one VEVENT per single appointment and per instance of a repeating one (Repeats
// "1", StartDateTime and EndDateTime lists), in start order. A VEVENT carries DTSTART and
// DTEND in local time, DTSTAMP, SUMMARY (Subject), LOCATION (Location, when present) and,
// as NAME:value lines without parameters, UID (the ApptUNID item, else the note's UNID),
// X-LOTUS-UNID (the note's UNID), X-LOTUS-APPTTYPE (AppointmentType, when present),
// X-LOTUS-ORGANIZER (Chair, when present) and, for an instance, RECURRENCE-ID (its start in
// UTC, yyyymmddThhmmssZ).
// skipCount entries are passed over and at most maxReturnCount are listed in all; the
// return masks and flags are accepted and not examined; reserved and hooks may be null.
// *calData gets the text in a new memory block (unlocked; the caller frees it) and
// *calDataLength its length: a complete VCALENDAR of whole VEVENTs, at most 65535 bytes (and
// at most NotesrtCalendarPiece VEVENTs when notes.ini sets it). *uidData (may be null) gets 0:
// no UID list is made. *entriesProcessed (may be null) gets the number of VEVENTs given.
// *signalFlags gets SIGNAL_MORE_TO_DO when entries remain, else 0. The continuation is
// forgotten when an answer completes, when db is closed and when a request's arguments
// differ from the last one's. A range without entries fails with ERR_NOT_FOUND.
// Public C API, <calapi.h>.
NOTESRT_API STATUS LNPUBLIC CalReadRange(DBHANDLE db, TIMEDATE start, TIMEDATE end, DWORD skipCount,
                                         DWORD maxReturnCount, DWORD returnMaskInfo,
                                         DWORD returnMaskData, void* reserved, MEMHANDLE* calData,
                                         WORD* calDataLength, MEMHANDLE* uidData,
                                         DWORD* entriesProcessed, WORD* signalFlags, DWORD flags,
                                         void* hooks);

// Opens the appointment of db whose UID (its ApptUNID item, else its UNID as 32 hexadecimal
// digits) is uid into *note, as NSFNoteOpenExt without OPEN_RAW_MIME does. With a
// recurrenceId (yyyymmddThhmmssZ; null or empty for none) the appointment must be a
// repeating one with an instance starting then; a recurrence ID of another form fails.
// ERR_NOT_FOUND when there is no such appointment or instance. flags are accepted and not
// examined; reserved may be null. The caller closes the note with NSFNoteClose.
// Public C API, <calapi.h>.
NOTESRT_API STATUS LNPUBLIC CalOpenNoteHandle(DBHANDLE db, const char* uid,
                                              const char* recurrenceId, NOTEHANDLE* note,
                                              DWORD flags, void* reserved);

// ---- Free/busy schedules ----

typedef DHANDLE HCNTNR;      // schedule container
typedef DWORD HCNTNROBJ;     // object inside a container: a schedule or a continuation
typedef HCNTNROBJ HSCHEDULE; // a schedule inside a container

// Two times: a range from Lower to Upper.
typedef struct {
    TIMEDATE Lower; // the first time
    TIMEDATE Upper; // the last time
} TIMEDATE_PAIR;

// A person's schedule inside a container; the owner's name (wOwnerNameSize bytes, NUL
// included) follows it.
typedef struct {
    DWORD reserved[8];      // 0
    DBID dbReplicaID;       // replica ID of the person's mail file: 0 here
    TIMEDATE_PAIR Interval; // the range it was retrieved for
    DWORD dwErrGateway;     // gateway error retrieving it: 0
    STATUS error;           // error retrieving it: 0, or the status of a mail file not read
    WORD wReserved;         // 0
    WORD wOwnerNameSize;    // bytes of the owner's name that follows, NUL included
} SCHEDULE;

// Head of a schedule list block; NumEntries SCHED_ENTRY records follow it.
typedef struct {
    DWORD NumEntries;    // entries that follow
    WORD wApplicationID; // whose UserAttr the entries carry: 0
    WORD Spare;          // 0: the entries are SCHED_ENTRYs (else the size of a longer one)
} SCHED_LIST;

// One busy interval of a schedule list: 36 bytes.
typedef struct {
    UNID Unid;              // the UNID of the appointment's note
    TIMEDATE_PAIR Interval; // busy from Lower to Upper
    BYTE Attr;              // 0
    BYTE UserAttr;          // 0
    BYTE spare[2];          // 0
} SCHED_ENTRY;

// Retrieves the schedules over *interval of the people named in *names (a LIST without data
// type, as ListAllocate makes it with prefixDataType 0) into a new container (*container);
// the caller releases it with SchContainer_Free. This runtime serves the current user
// (names compared ignoring case) from their mail file, notes.ini's MailServer!!MailFile;
// busy intervals are the appointments and their instances that overlap the interval and
// whose $BusyPriority is not "2". A list that does not name the current user (an empty one
// among them) answers 0 with *container 0. apptUnid and apptOrigDate (may be null) and
// options are accepted and not examined; the three reserved arguments must be null.
// Public C API, <schedule.h>.
NOTESRT_API STATUS LNPUBLIC SchRetrieve(const UNID* apptUnid, TIMEDATE* apptOrigDate, DWORD options,
                                        TIMEDATE_PAIR* interval, LIST* names, HCNTNR* container,
                                        void* reserved1, void* reserved2, void** reserved3);

// Finds the schedule of name (compared ignoring case) in the container: *scheduleObject
// gets its object and *schedule (may be null) its record, valid until the container is
// released. *serverError and *gatewayError (may be null) get 0, or, when the person's mail
// file could not be read, *serverError gets the status of that failure, which is also
// returned. ERR_NOT_FOUND when the container holds no schedule of that name.
// Public C API, <schedule.h>.
NOTESRT_API STATUS LNPUBLIC SchContainer_FindSchedule(HCNTNR container, char* name,
                                                      STATUS* serverError, DWORD* gatewayError,
                                                      HSCHEDULE* scheduleObject,
                                                      SCHEDULE** schedule);

// Writes the first schedule list of the schedule object: a new memory block (*list,
// unlocked; the caller frees it) of *size bytes holding a SCHED_LIST and the busy intervals
// that overlap *interval (null: the schedule's interval), in start order, at most
// NotesrtSchedulePiece of them (100 unless notes.ini sets it); a schedule without busy times
// gives a list of 0 entries. *more gets the continuation for
// Schedule_ExtractMoreSchedList.
// Public C API, <schedule.h>.
NOTESRT_API STATUS LNPUBLIC Schedule_ExtractSchedList(HCNTNR container, HCNTNROBJ scheduleObject,
                                                      TIMEDATE_PAIR* interval, DWORD* size,
                                                      DHANDLE* list, HCNTNROBJ* more);

// As Schedule_ExtractSchedList for the list after the one whose continuation is more, with
// a new continuation in *more. When no interval remains it fails with
// ERR_SCHOBJ_NOTEXIST, *list 0, and the continuation is used up.
// Public C API, <schedule.h>.
NOTESRT_API STATUS LNPUBLIC Schedule_ExtractMoreSchedList(HCNTNR container, HCNTNROBJ more,
                                                          TIMEDATE_PAIR* interval, DWORD* size,
                                                          DHANDLE* list, HCNTNROBJ* nextMore);

// Releases a container, its schedules and their records. Container 0 does nothing.
// Public C API, <schedule.h>.
NOTESRT_API void LNPUBLIC SchContainer_Free(HCNTNR container);

// ---- Mail ----

// Header fields of MailAddHeaderItem and MailAddHeaderItemByHandle, and the items they set.
#define MAIL_SENDTO_ITEM_NUM 0            // "SendTo": the recipients, a text list
#define MAIL_FROM_ITEM_NUM 2              // "From": text
#define MAIL_SUBJECT_ITEM_NUM 3           // "Subject": text
#define MAIL_COMPOSEDDATE_ITEM_NUM 4      // "ComposedDate": a TIMEDATE
#define MAIL_POSTEDDATE_ITEM_NUM 5        // "PostedDate": a TIMEDATE
#define MAIL_FORM_ITEM_NUM 11             // "Form": text
#define MAIL_DELIVERYPRIORITY_ITEM_NUM 14 // "DeliveryPriority": text
#define MAIL_DELIVERYREPORT_ITEM_NUM 15   // "DeliveryReport": text

// Opens the mail file named by path (as NSFDbOpen names a database, and failing as it
// fails) into *messageFile. The caller closes it with MailCloseMessageFile.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailOpenMessageFile(char* path, DBHANDLE* messageFile);

// Closes a mail file. Messages created in it stay open, but can no longer be stored into it.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailCloseMessageFile(DBHANDLE messageFile);

// Creates an empty message (a document without items) in the mail file into *message, a
// note handle: its _NOTE_DB is the mail file, its _NOTE_ID 0 (not yet stored) and its
// _NOTE_OID a new originator ID of the mail file. NSFNoteUpdate stores it. The caller closes
// it with MailCloseMessage (or NSFNoteClose).
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailCreateMessage(DBHANDLE messageFile, DHANDLE* message);

// Closes a message, as NSFNoteClose closes a note.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailCloseMessage(DHANDLE message);

// Sets the item of header field itemCode (MAIL_..._ITEM_NUM) to the valueLength bytes of
// value: text for the text fields, an 8-byte TIMEDATE for the two dates. An item of that
// name is replaced. Other codes, and a date of another length, fail and change nothing.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailAddHeaderItem(DHANDLE message, WORD itemCode, const void* value,
                                              WORD valueLength);

// As MailAddHeaderItem with the value in the memory block value: valueLength bytes, data
// type first (TYPE_TEXT and text; TYPE_TEXT_LIST and a list, as ListAllocate makes it with
// prefixDataType; TYPE_TIME and a TIMEDATE). flags are accepted and not examined. When the
// call succeeds the block is the message's: the caller neither unlocks nor frees it. When it
// fails the block stays the caller's.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailAddHeaderItemByHandle(DHANDLE message, WORD itemCode, DHANDLE value,
                                                      WORD valueLength, WORD flags);

// Sets the message's "Recipients" item to the text list in the memory block list: listSize
// bytes with the data type first, as ListAllocate makes it with prefixDataType. When the call
// succeeds the block is the message's; when it fails it stays the caller's.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailAddRecipientsItem(DHANDLE message, DHANDLE list, WORD listSize);

typedef void* NLS_PINFO; // character-set information of MailAddBodyItemExt; not used here

// Creates an empty body: a new memory block in *bodyItem (unlocked; the caller frees it with
// OSMemFree) and the bytes of it in use, 0, in *bodyItemLength. Its content is the
// runtime's own; only the body calls below read and write it.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailCreateBodyItem(DHANDLE* bodyItem, DWORD* bodyItemLength);

// Appends the textLength bytes of text to the body as lines, every NUL byte ending one: "a"
// adds one line, "a\0b" two, "a\0" the line "a" and an empty one, and no text an empty
// line. *bodyItemLength is the body's length before the call and after it. Addresses from
// earlier locks of the block are invalid afterwards.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailAppendBodyItemLine(DHANDLE bodyItem, DWORD* bodyItemLength,
                                                   char* text, WORD textLength);

// Sets the message's "Body" item to rich text whose paragraphs are the lines of the body
// (its first bodyItemLength bytes), replacing every Body item it had. The body is copied:
// bodyItem stays the caller's, unchanged. reserved is not examined and may be null.
// Public C API, <mailserv.h>.
NOTESRT_API STATUS LNPUBLIC MailAddBodyItemExt(DHANDLE message, DHANDLE bodyItem,
                                               DWORD bodyItemLength, NLS_PINFO reserved);

// Writes a new originator ID for a note of db into *oid: a UNID that no note of db has and
// no earlier call gave, the file half being db's replica ID; sequence 0.
// Public C API, <nsfdb.h>.
NOTESRT_API STATUS LNPUBLIC NSFDbGenerateOID(DBHANDLE db, OID* oid);

// Stores the note into the database its _NOTE_DB names and writes that database's file
// back. A note whose _NOTE_ID is 0 is added (or, when the database holds a note of its UNID,
// replaces that note and takes its note ID) and its new note ID goes into _NOTE_ID; a note
// with a note ID replaces the note of that ID. The file is replaced at once and atomically (a
// temporary file in its folder renamed over it): it holds the old content or the new, never
// part of either, and every handle on the database sees the new content. A note stored into
// a server's mail.box is a delivered message. updateFlags are accepted and not examined.
// Fails, changing nothing, when _NOTE_DB is no longer open, the file is missing or damaged,
// the note ID is not in the database, the class is neither NOTE_CLASS_DOCUMENT nor
// NOTE_CLASS_VIEW, the UNID belongs to another note, or the file cannot be written.
// Public C API, <nsfnote.h>.
NOTESRT_API STATUS LNPUBLIC NSFNoteUpdate(NOTEHANDLE note, WORD updateFlags);

#if defined(NOTESAPI_PACKED)
#pragma pack(pop)
#endif

} // extern "C"
