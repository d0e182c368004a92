// The runtime's calls as the vendor's public C API reference declares them, against
// notesapi.h. Each call the library makes is declared again here in the reference's own words
// (its types, its const, its calling convention); C++ refuses a second declaration of a C
// function that differs in any of them, so a header that drifts from the public API stops the
// build. The structures the calls exchange are checked for size and member offsets: packed on
// 32-bit Windows, as the toolkit builds with /Zp, naturally aligned elsewhere. Nothing here
// runs.
//
// Where the reference is not followed to the letter: the calendar calls (CalReadRange,
// CalOpenNoteHandle) appear there without LNPUBLIC but are __stdcall as every call with a fixed
// argument list is; the reference names MIMEGetEntityData's fifth parameter dwOffset like its
// fourth, here dwRetBytes.
#include "notesapi.h"

#include <cstddef>
#include <type_traits>

#define far // the reference's 16-bit pointer qualifiers mean nothing here
#define FAR

extern "C" {

NOTESRT_API STATUS LNPUBLIC NotesInitExtended(int argc, char far* far* argv);
NOTESRT_API void LNPUBLIC NotesTerm(void);
NOTESRT_API WORD LNPUBLIC OSLoadString(HMODULE hModule, STATUS StringCode, char far* retBuffer,
                                       WORD BufferLength);
NOTESRT_API BOOL LNPUBLIC OSGetEnvironmentString(const char far* VariableName,
                                                 char far* retValueBuffer, WORD BufferLength);
NOTESRT_API STATUS LNPUBLIC SECKFMGetUserName(char far* retUserName);
NOTESRT_API STATUS LNPUBLIC SECKFMUserInfo(WORD Function, char far* lpName,
                                           LICENSEID far* lpLicense);
NOTESRT_API STATUS LNPUBLIC OSMemFree(DHANDLE Handle);
NOTESRT_API void far* LNPUBLIC OSLockObject(DHANDLE Handle);
NOTESRT_API BOOL LNPUBLIC OSUnlockObject(DHANDLE Handle);
NOTESRT_API STATUS LNPUBLIC ListAllocate(WORD ListEntries, WORD TextSize, BOOL fPrefixDataType,
                                         DHANDLE far* rethList, void far* retpList,
                                         WORD far* retListSize);
NOTESRT_API STATUS LNPUBLIC ListAddEntry(DHANDLE hList, BOOL fPrefixDataType, WORD far* pListSize,
                                         WORD EntryNumber, const char far* Text, WORD TextSize);
NOTESRT_API STATUS LNPUBLIC OSPathNetConstruct(const char far* PortName, const char far* ServerName,
                                               const char far* FileName, char far* retPathName);
NOTESRT_API STATUS LNPUBLIC OSPathNetParse(const char far* PathName, char far* retPortName,
                                           char far* retServerName, char far* retFileName);
NOTESRT_API STATUS LNPUBLIC NAMEGetAddressBooks(const char far* pszServer, WORD wOptions,
                                                WORD far* pwReturnCount, WORD far* pwReturnLength,
                                                DHANDLE far* phReturn);
NOTESRT_API WORD LNPUBLIC OSTranslate(WORD TranslateMode, const char far* In, WORD InLength,
                                      char far* Out, WORD OutLength);
NOTESRT_API STATUS LNPUBLIC NSFDbOpen(const char far* PathName, DBHANDLE far* rethDB);
NOTESRT_API STATUS LNPUBLIC NSFDbClose(DBHANDLE hDB);
NOTESRT_API STATUS LNPUBLIC NSFDbReplicaInfoGet(DBHANDLE hDB,
                                                DBREPLICAINFO far* retReplicationInfo);
NOTESRT_API STATUS LNPUBLIC NSFDbIDGet(DBHANDLE hDB, DBID far* retDbID);
NOTESRT_API STATUS LNPUBLIC NIFFindDesignNoteExt(DBHANDLE hFile, const char far* Name, WORD Class,
                                                 const char* pszFlagsPattern, NOTEID far* retNoteID,
                                                 DWORD Options);
NOTESRT_API STATUS LNPUBLIC NSFNoteOpenExt(DBHANDLE hDB, NOTEID NoteID, DWORD flags,
                                           NOTEHANDLE* rethNote);
NOTESRT_API STATUS LNPUBLIC NSFNoteOpenByUNID(DBHANDLE hDB, UNID far* pUNID, WORD flags,
                                              NOTEHANDLE far* rethNote);
NOTESRT_API STATUS LNPUBLIC NSFNoteClose(NOTEHANDLE note_handle);
NOTESRT_API STATUS LNPUBLIC NSFDbGetNoteInfoByUNID(DBHANDLE hDB, UNID far* pUNID,
                                                   NOTEID far* retNoteID, OID far* retOID,
                                                   TIMEDATE far* retModTime, WORD far* retClass);
NOTESRT_API STATUS LNPUBLIC NSFDbGetNoteInfo(DBHANDLE hDb, NOTEID NoteID, OID far* retNoteOID,
                                             TIMEDATE far* retModified, WORD far* retNoteClass);
NOTESRT_API void LNPUBLIC NSFNoteGetInfo(NOTEHANDLE note_handle, WORD note_member,
                                         void far* value_ptr);
NOTESRT_API void LNPUBLIC NSFNoteSetInfo(NOTEHANDLE note_handle, WORD note_member,
                                         void far* value_ptr);
NOTESRT_API BOOL LNPUBLIC NSFNoteHasMIMEPart(NOTEHANDLE hNote);
NOTESRT_API STATUS LNPUBLIC NSFItemInfo(NOTEHANDLE note_handle, const char far* item_name,
                                        WORD name_len, BLOCKID far* item_blockid,
                                        WORD far* value_datatype, BLOCKID far* value_blockid,
                                        DWORD far* value_len);
NOTESRT_API STATUS LNPUBLIC NSFItemInfoNext(NOTEHANDLE note_handle, BLOCKID NextItem,
                                            const char far* item_name, WORD name_len,
                                            BLOCKID far* item_blockid_ptr, WORD far* value_type_ptr,
                                            BLOCKID far* value_blockid_ptr,
                                            DWORD far* value_len_ptr);
NOTESRT_API WORD LNPUBLIC NSFItemGetText(NOTEHANDLE note_handle, const char far* item_name,
                                         char far* item_text, WORD text_len);
NOTESRT_API WORD LNPUBLIC NSFItemConvertToText(NOTEHANDLE note_handle,
                                               const char far* item_name_ptr,
                                               char far* text_buf_ptr, WORD text_buf_len,
                                               char separator);
NOTESRT_API BOOL LNPUBLIC NSFItemGetTime(NOTEHANDLE note_handle, const char far* td_item_name,
                                         TIMEDATE far* td_item_value);
NOTESRT_API STATUS LNPUBLIC ConvertItemToText(BLOCKID ItemValue, DWORD ItemValueLength,
                                              const char far* LineDelimiter, WORD CharsPerLine,
                                              DHANDLE far* rethBuffer, DWORD far* retBufferLength,
                                              BOOL fStripTabs);
NOTESRT_API STATUS LNPUBLIC NSFNoteExtractFile(NOTEHANDLE note_handle, BLOCKID item_blockid,
                                               const char far* file_name,
                                               ENCRYPTION_KEY far* DecryptionKey);
NOTESRT_API STATUS LNPUBLIC MIMEOpenDirectory(NOTEHANDLE hNote, HMIMEDIRECTORY* phMIMEDir);
NOTESRT_API STATUS LNPUBLIC MIMEFreeDirectory(HMIMEDIRECTORY hMIMEDir);
NOTESRT_API STATUS LNPUBLIC MIMEGetRootEntity(HMIMEDIRECTORY hMIMEDir, PMIMEENTITY* retpMIMEEntity);
NOTESRT_API STATUS LNPUBLIC MIMEIterateNext(HMIMEDIRECTORY hMIMEDir, PMIMEENTITY pTopMIMEEntity,
                                            PMIMEENTITY pPrevMIMEEntity,
                                            PMIMEENTITY* retpMIMEEntity);
NOTESRT_API BOOL LNPUBLIC MIMEEntityIsDiscretePart(PMIMEENTITY pMimeEntity);
NOTESRT_API MIMESYMBOL LNPUBLIC MIMEEntityContentSubtype(PMIMEENTITY pMIMEEntity);
NOTESRT_API STATUS LNPUBLIC MIMEGetEntityPartFlags(NOTEHANDLE hNote, PMIMEENTITY pEntity,
                                                   DWORD* pdwFlags);
NOTESRT_API STATUS LNPUBLIC MIMEEntityGetTypeParam(PMIMEENTITY pMIMEEntity, MIMESYMBOL symParam,
                                                   DHANDLE* phValue, DWORD* pdwValueLen);
NOTESRT_API STATUS LNPUBLIC MIMEGetDecodedEntityData(DHANDLE hNote, PMIMEENTITY pMimeEntity,
                                                     DWORD dwEncodedOffset, DWORD dwChunkLen,
                                                     DHANDLE* phData, DWORD* pdwDecodedDataLen,
                                                     DWORD* pdwEncodedDataLen);
NOTESRT_API STATUS LNPUBLIC MIMEGetEntityData(NOTEHANDLE hNote, PMIMEENTITY pME, WORD wDataType,
                                              DWORD dwOffset, DWORD dwRetBytes, DHANDLE* phData,
                                              DWORD* pdwDataLen);
NOTESRT_API void LNPUBLIC OSGetIntlSettings(INTLFORMAT far* retIntlFormat, WORD BufferSize);
NOTESRT_API STATUS LNPUBLIC ConvertTextToTIMEDATE(const void far* IntlFormat,
                                                  const TFMT far* TextFormat, char far* far* Text,
                                                  WORD MaxLength, TIMEDATE far* retTIMEDATE);
NOTESRT_API STATUS LNPUBLIC ConvertTIMEDATEToText(const void far* IntlFormat,
                                                  const TFMT far* TextFormat,
                                                  const TIMEDATE far* InputTime,
                                                  char far* retTextBuffer, WORD TextBufferLength,
                                                  WORD far* retTextLength);
NOTESRT_API BOOL LNPUBLIC TimeGMToLocal(TIME far* Time);
NOTESRT_API BOOL LNPUBLIC TimeDateAdjust(TIMEDATE far* Time, int seconds, int minutes, int hours,
                                         int days, int months, int years);
NOTESRT_API int LNPUBLIC TimeDateCompare(const TIMEDATE far* t1, const TIMEDATE far* t2);
NOTESRT_API LONG LNPUBLIC TimeDateDifference(const TIMEDATE far* t1, const TIMEDATE far* t2);
NOTESRT_API void LNPUBLIC OSCurrentTIMEDATE(TIMEDATE far* retTimeDate);
NOTESRT_API STATUS LNPUBLIC NIFOpenCollection(DBHANDLE hViewDB, DBHANDLE hDataDB, NOTEID ViewNoteID,
                                              WORD OpenFlags, DHANDLE hUnreadList,
                                              HCOLLECTION far* rethCollection,
                                              NOTEHANDLE far* rethViewNote, UNID far* retViewUNID,
                                              DHANDLE far* rethCollapsedList,
                                              DHANDLE far* rethSelectedList);
NOTESRT_API STATUS LNPUBLIC NIFCloseCollection(HCOLLECTION hCollection);
NOTESRT_API STATUS LNPUBLIC NIFFindByName(HCOLLECTION hCollection, const char far* Name,
                                          WORD FindFlags, COLLECTIONPOSITION far* retIndexPos,
                                          DWORD far* retNumMatches);
NOTESRT_API STATUS LNPUBLIC
NIFReadEntries(HCOLLECTION hCollection, COLLECTIONPOSITION far* IndexPos, WORD SkipNavigator,
               DWORD SkipCount, WORD ReturnNavigator, DWORD ReturnCount, DWORD ReturnMask,
               DHANDLE far* rethBuffer, WORD far* retBufferLength, DWORD far* retNumEntriesSkipped,
               DWORD far* retNumEntriesReturned, WORD far* retSignalFlags);
NOTESRT_API STATUS LNPUBLIC NSFSearch(DBHANDLE hDB, FORMULAHANDLE hFormula, char far* ViewTitle,
                                      WORD SearchFlags, WORD NoteClassMask, TIMEDATE far* Since,
                                      NSFSEARCHPROC EnumRoutine, void far* EnumRoutineParameter,
                                      TIMEDATE far* retUntil);
NOTESRT_API STATUS LNPUBLIC CalReadRange(DBHANDLE hDB, TIMEDATE tdStart, TIMEDATE tdEnd,
                                         DWORD dwViewSkipCount, DWORD dwMaxReturnCount,
                                         DWORD dwReturnMask, DWORD dwReturnMaskExt,
                                         void* pFilterInfo, MEMHANDLE far* hRetCalData,
                                         WORD far* retCalBufferLength, MEMHANDLE far* hRetUIDData,
                                         DWORD far* retNumEntriesProcessed,
                                         WORD far* retSignalFlags, DWORD dwFlags, void* pCtx);
NOTESRT_API STATUS LNPUBLIC CalOpenNoteHandle(DBHANDLE hDB, const char* pszUID,
                                              const char* pszRecurID, NOTEHANDLE far* rethNote,
                                              DWORD dwFlags, void* pCtx);
NOTESRT_API STATUS LNPUBLIC SchRetrieve(const UNID FAR* pApptUnid, TIMEDATE FAR* pApptOrigDate,
                                        DWORD dwOptions, TIMEDATE_PAIR FAR* pInterval,
                                        LIST FAR* pNames, HCNTNR FAR* rethCntnr,
                                        void FAR* MustBeNull1, void FAR* MustBeNull2,
                                        void FAR* FAR* MustBeNull3);
NOTESRT_API STATUS LNPUBLIC SchContainer_FindSchedule(HCNTNR hCntnr, char FAR* pszUserName,
                                                      STATUS FAR* retErrStatus,
                                                      DWORD FAR* retdwErrGateway,
                                                      HSCHEDULE FAR* retvbObj,
                                                      SCHEDULE FAR* FAR* retpSched);
NOTESRT_API STATUS LNPUBLIC Schedule_ExtractSchedList(HCNTNR hCntnr, HCNTNROBJ hSchedObj,
                                                      TIMEDATE_PAIR FAR* pInterval,
                                                      DWORD FAR* retdwSize,
                                                      DHANDLE FAR* rethSchedList,
                                                      HCNTNROBJ FAR* rethMore);
NOTESRT_API STATUS LNPUBLIC Schedule_ExtractMoreSchedList(HCNTNR hCntnr, HCNTNROBJ hMoreCtx,
                                                          TIMEDATE_PAIR FAR* pInterval,
                                                          DWORD FAR* retdwSize,
                                                          DHANDLE FAR* rethSchedList,
                                                          HCNTNROBJ FAR* rethMore);
NOTESRT_API void LNPUBLIC SchContainer_Free(HCNTNR hCntnr);
NOTESRT_API STATUS LNPUBLIC MailOpenMessageFile(char far* FileName, DBHANDLE far* rethFile);
NOTESRT_API STATUS LNPUBLIC MailCloseMessageFile(DBHANDLE hFile);
NOTESRT_API STATUS LNPUBLIC MailCreateMessage(DBHANDLE hFile, DHANDLE far* rethMessage);
NOTESRT_API STATUS LNPUBLIC MailCloseMessage(DHANDLE hMessage);
NOTESRT_API STATUS LNPUBLIC MailAddHeaderItem(DHANDLE hMessage, WORD ItemCode,
                                              const void far* Value, WORD ValueLength);
NOTESRT_API STATUS LNPUBLIC MailAddHeaderItemByHandle(DHANDLE hMessage, WORD ItemCode,
                                                      DHANDLE hValue, WORD ValueLength,
                                                      WORD ItemFlags);
NOTESRT_API STATUS LNPUBLIC MailAddRecipientsItem(DHANDLE hMessage, DHANDLE hRecipientsItem,
                                                  WORD RecipientsLength);
NOTESRT_API STATUS LNPUBLIC MailCreateBodyItem(DHANDLE far* rethBodyItem, DWORD far* retBodyLength);
NOTESRT_API STATUS LNPUBLIC MailAppendBodyItemLine(DHANDLE hBodyItem, DWORD far* BodyLength,
                                                   char far* Text, WORD TextLength);
NOTESRT_API STATUS LNPUBLIC MailAddBodyItemExt(DHANDLE hMessage, DHANDLE hBodyItem,
                                               DWORD BodyLength, NLS_PINFO pInfo);
NOTESRT_API STATUS LNPUBLIC NSFDbGenerateOID(DBHANDLE hDB, OID far* retOID);
NOTESRT_API STATUS LNPUBLIC NSFNoteUpdate(NOTEHANDLE note_handle, WORD update_flags);

} // extern "C"

// The search callback as the reference types it.
typedef STATUS(LNCALLBACKPTR ReferenceSearchProc)(void far* EnumRoutineParameter,
                                                  SEARCH_MATCH far* SearchMatch,
                                                  ITEM_TABLE far* SummaryBuffer);
static_assert(std::is_same_v<ReferenceSearchProc, NSFSEARCHPROC>, "NSFSEARCHPROC differs");

// The widths the reference gives its scalar types on every platform.
static_assert(sizeof(WORD) == 2 && sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(BOOL) == 4);
static_assert(sizeof(STATUS) == 2 && sizeof(DHANDLE) == 4 && sizeof(HCOLLECTION) == 2);
static_assert(sizeof(NOTEID) == 4 && sizeof(HMIMEDIRECTORY) == 4 && sizeof(MIMESYMBOL) == 4);
static_assert(sizeof(HCNTNR) == 4 && sizeof(HCNTNROBJ) == 4);

// NOTESAPI_AT(packed, natural): the number expected in this build.
#if defined(NOTESAPI_PACKED)
#define NOTESAPI_AT(packed, natural) (packed)
#else
#define NOTESAPI_AT(packed, natural) (natural)
#endif

// NOTESAPI_MEMBER(type, member, packed, natural): type::member stands at the offset expected.
#define NOTESAPI_MEMBER(type, member, packed, natural)                                             \
    static_assert(offsetof(type, member) == NOTESAPI_AT(packed, natural),                          \
                  #type "::" #member " moved")

static_assert(sizeof(TIMEDATE) == 8 && sizeof(UNID) == 16 && sizeof(TIMEDATE_PAIR) == 16);
static_assert(sizeof(ORIGINATORID) == 28);
NOTESAPI_MEMBER(ORIGINATORID, Sequence, 16, 16);
NOTESAPI_MEMBER(ORIGINATORID, SequenceTime, 20, 20);
static_assert(sizeof(DBREPLICAINFO) == 20);
NOTESAPI_MEMBER(DBREPLICAINFO, Flags, 8, 8);
NOTESAPI_MEMBER(DBREPLICAINFO, Cutoff, 12, 12);
static_assert(sizeof(BLOCKID) == NOTESAPI_AT(6, 8));
NOTESAPI_MEMBER(BLOCKID, block, 4, 4);
static_assert(sizeof(LIST) == 2 && sizeof(RANGE) == 4 && sizeof(LICENSEID) == 8);
static_assert(sizeof(TFMT) == 4 && sizeof(INTLFORMAT) == 139);
NOTESAPI_MEMBER(INTLFORMAT, TimeZone, 4, 4);
NOTESAPI_MEMBER(INTLFORMAT, AMString, 8, 8);
NOTESAPI_MEMBER(INTLFORMAT, TomorrowString, 107, 107);
static_assert(sizeof(TIME) == 48);
NOTESAPI_MEMBER(TIME, GM, 40, 40);
static_assert(sizeof(ENCRYPTION_KEY) == NOTESAPI_AT(19, 20));
NOTESAPI_MEMBER(ENCRYPTION_KEY, Word1, 1, 2);
NOTESAPI_MEMBER(ENCRYPTION_KEY, Text, 3, 4);
static_assert(sizeof(COLLECTIONPOSITION) == 132);
NOTESAPI_MEMBER(COLLECTIONPOSITION, Tumbler, 4, 4);
static_assert(sizeof(GLOBALINSTANCEID) == 20);
NOTESAPI_MEMBER(GLOBALINSTANCEID, NoteID, 16, 16);
static_assert(sizeof(SEARCH_MATCH) == NOTESAPI_AT(54, 56));
NOTESAPI_MEMBER(SEARCH_MATCH, OriginatorID, 20, 20);
NOTESAPI_MEMBER(SEARCH_MATCH, NoteClass, 48, 48);
NOTESAPI_MEMBER(SEARCH_MATCH, SERetFlags, 50, 50);
NOTESAPI_MEMBER(SEARCH_MATCH, SummaryLength, 52, 52);
static_assert(sizeof(ITEM_TABLE) == 4);
static_assert(sizeof(SCHEDULE) == NOTESAPI_AT(66, 68));
NOTESAPI_MEMBER(SCHEDULE, dbReplicaID, 32, 32);
NOTESAPI_MEMBER(SCHEDULE, Interval, 40, 40);
NOTESAPI_MEMBER(SCHEDULE, error, 60, 60);
NOTESAPI_MEMBER(SCHEDULE, wOwnerNameSize, 64, 64);
static_assert(sizeof(SCHED_LIST) == 8);
NOTESAPI_MEMBER(SCHED_LIST, Spare, 6, 6);
static_assert(sizeof(SCHED_ENTRY) == 36);
NOTESAPI_MEMBER(SCHED_ENTRY, Attr, 32, 32);
