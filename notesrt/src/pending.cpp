// The note, item, MIME and time calls until their engines are in place: each fails.
#include "runtime.h"

using namespace notesrt;

extern "C" {

NOTESRT_API STATUS NIFFindView(DBHANDLE, const char*, uint16_t, const char*, NOTEID*, uint32_t) {
    return kErrInternal;
}
NOTESRT_API STATUS NSFNoteOpenExt(DBHANDLE, NOTEID, uint32_t, NOTEHANDLE*) {
    return kErrInternal;
}
NOTESRT_API STATUS NSFNoteOpenByUNID(DBHANDLE, const UNID*, uint16_t, NOTEHANDLE*) {
    return kErrInternal;
}
NOTESRT_API STATUS NSFNoteClose(NOTEHANDLE) {
    return kErrInternal;
}
NOTESRT_API STATUS NSFDbGetNoteInfoByUNID(DBHANDLE, const UNID*, NOTEID*, ORIGINATORID*, TIMEDATE*,
                                          uint16_t*) {
    return kErrInternal;
}
NOTESRT_API STATUS NSFDbGetNoteInfo(DBHANDLE, NOTEID, ORIGINATORID*, TIMEDATE*, uint16_t*) {
    return kErrInternal;
}
NOTESRT_API void NSFNoteGetInfo(NOTEHANDLE, uint16_t, void*) {}
NOTESRT_API void NSFNoteSetInfo(NOTEHANDLE, uint16_t, const void*) {}
NOTESRT_API int NSFNoteHasMIMEPart(NOTEHANDLE) {
    return 0;
}
NOTESRT_API STATUS NSFItemInfo(NOTEHANDLE, const char*, uint16_t, BLOCKID*, uint16_t*, BLOCKID*,
                               uint32_t*) {
    return kErrInternal;
}
NOTESRT_API STATUS NSFItemInfoNext(NOTEHANDLE, BLOCKID, const char*, uint16_t, BLOCKID*, uint16_t*,
                                   BLOCKID*, uint32_t*) {
    return kErrInternal;
}
NOTESRT_API uint16_t NSFItemGetText(NOTEHANDLE, const char*, char*, uint16_t) {
    return 0;
}
NOTESRT_API uint16_t NSFItemConvertToText(NOTEHANDLE, const char*, char*, uint16_t, char) {
    return 0;
}
NOTESRT_API int NSFItemGetTime(NOTEHANDLE, const char*, TIMEDATE*) {
    return 0;
}
NOTESRT_API STATUS ConvertItemToText(BLOCKID, uint32_t, const char*, uint16_t, DHANDLE*, uint32_t*,
                                     int) {
    return kErrInternal;
}
NOTESRT_API STATUS NSFNoteExtractFile(NOTEHANDLE, BLOCKID, const char*, const void*) {
    return kErrInternal;
}
NOTESRT_API STATUS MIMEOpenDirectory(NOTEHANDLE, HMIMEDIRECTORY*) {
    return kErrInternal;
}
NOTESRT_API STATUS MIMEFreeDirectory(HMIMEDIRECTORY) {
    return kErrInternal;
}
NOTESRT_API STATUS MIMEGetRootEntity(HMIMEDIRECTORY, PMIMEENTITY*) {
    return kErrInternal;
}
NOTESRT_API STATUS MIMEIterateNext(HMIMEDIRECTORY, PMIMEENTITY, PMIMEENTITY, PMIMEENTITY*) {
    return kErrInternal;
}
NOTESRT_API int MIMEEntityGetType(PMIMEENTITY) {
    return MIME_ENTITY_NONE;
}
NOTESRT_API MIMESYMBOL MIMEEntityContentType(PMIMEENTITY) {
    return 0;
}
NOTESRT_API STATUS MIMEGetEntityPartFlags(NOTEHANDLE, PMIMEENTITY, uint32_t*) {
    return kErrInternal;
}
NOTESRT_API STATUS MIMEEntityGetTypeParam(PMIMEENTITY, MIMESYMBOL, DHANDLE*, uint32_t*) {
    return kErrInternal;
}
NOTESRT_API STATUS MIMEGetDecodedEntityData(NOTEHANDLE, PMIMEENTITY, uint32_t, uint32_t, DHANDLE*,
                                            uint32_t*, uint32_t*) {
    return kErrInternal;
}
NOTESRT_API STATUS MIMEGetEntityData(NOTEHANDLE, PMIMEENTITY, uint32_t, uint32_t, uint32_t,
                                     DHANDLE*, uint32_t*) {
    return kErrInternal;
}
NOTESRT_API void OSGetIntlSettings(INTLFORMAT*, uint16_t) {}
NOTESRT_API STATUS ConvertTextToTIMEDATE(const INTLFORMAT*, const TFMT*, char**, uint16_t,
                                         TIMEDATE*) {
    return kErrInternal;
}
NOTESRT_API STATUS ConvertTIMEDATEToText(const INTLFORMAT*, const TFMT*, const TIMEDATE*, char*,
                                         uint16_t, uint16_t*) {
    return kErrInternal;
}
NOTESRT_API int TimeGMToLocal(TIME*) {
    return 1;
}
NOTESRT_API STATUS TimeDateAdjust(TIMEDATE*, int, int, int, int, int, int) {
    return kErrInternal;
}
NOTESRT_API int TimeDateCompare(const TIMEDATE*, const TIMEDATE*) {
    return 0;
}
NOTESRT_API int32_t TimeDateDifference(const TIMEDATE*, const TIMEDATE*) {
    return 0;
}
NOTESRT_API void OSCurrentTIMEDATE(TIMEDATE*) {}

} // extern "C"
