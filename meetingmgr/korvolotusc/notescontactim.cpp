// The search of person documents by IM login (part of the contact searcher).
#include "notescontact.h"

#include "notesclib.h"
#include "notesitems.h"
#include "notesnotes.h"
#include "trace.h"

#include <cctype>
#include <cstring>

static constexpr char kTraceSource[] = "notescontact.cpp";

namespace {

constexpr char kIMLoginItem[] = "SametimeLogin"; // the item holding a person's IM login
constexpr uint16_t kLoginBuffer = 256;           // text bytes of a login read, NUL included

// True when address equals the beginning of login, both lower-cased character by character.
bool IsLoginPrefix(const char* address, const char* login) {
    const size_t length = std::strlen(address);
    if (length > std::strlen(login))
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(address[i])) !=
            std::tolower(static_cast<unsigned char>(login[i])))
            return false;
    }
    return true;
}

} // namespace

void CNotesContacts::SearchContactsInfoByIMAddress(const char* imAddress,
                                                   std::vector<ContactInfo>& out) {
    if (imAddress == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "CNotesContacts::SearchContactsInfoByIMAddress",
                    "IMA ddressis NULL !!");
        return;
    }
    if (m_hCurrentDB == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "CNotesContacts::SearchContactsInfoByIMAddress",
                    "invalid database handle!!");
        return;
    }
    IMSearchContext context;
    context.db = m_hCurrentDB;
    std::strcpy(context.itemName, kIMLoginItem);
    context.address = imAddress;
    const STATUS status = NSFSearch(m_hCurrentDB, NULLHANDLE, nullptr, 0, NOTE_CLASS_DOCUMENT,
                                    nullptr, SearchIMAddressPerNote, &context, nullptr);
    if (status != NOERROR) {
        NotesAPIErrHandler("NSFSearch", status);
        context.matched.clear();
    }
    if (context.matched.empty()) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "CNotesContacts::SearchContactsInfoByIMAddress",
                    "No Collection matched  with [%s]!!", imAddress);
        return;
    }
    ReadContactInfoMatchedIMAddress(context.matched, out);
}

STATUS LNCALLBACK CNotesContacts::SearchIMAddressPerNote(void* parameter, SEARCH_MATCH* match,
                                                         ITEM_TABLE*) {
    auto* context = static_cast<IMSearchContext*>(parameter);
    if (context == nullptr || match == nullptr || (match->SERetFlags & SE_FMATCH) == 0)
        return NOERROR;
    NOTEHANDLE note = NULLHANDLE;
    OpenNoteByNoteID(context->db, match->ID.NoteID, &note, false);
    if (note == NULLHANDLE)
        return NOERROR;
    if (IsPersonNote(note)) {
        char login[kLoginBuffer + 1] = {};
        GetTextByNoteItem(note, context->itemName, login, kLoginBuffer);
        if (IsLoginPrefix(context->address, login))
            context->matched.push_back(match->OriginatorID);
    }
    CloseNote(note);
    return NOERROR;
}

void CNotesContacts::ReadContactInfoMatchedIMAddress(const std::vector<ORIGINATORID>& matched,
                                                     std::vector<ContactInfo>& out) {
    for (const ORIGINATORID& oid : matched) {
        const UNID unid = {oid.File, oid.Note};
        NOTEHANDLE note = NULLHANDLE;
        OpenNoteByUNID(m_hCurrentDB, &unid, &note);
        if (note == NULLHANDLE) {
            KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesContacts::ReadContactInfoMatchedIMAddress",
                        "fail to open Note handle with UNID[%08X%08X%08X%08X]!!",
                        static_cast<unsigned>(unid.File.Innards[1]),
                        static_cast<unsigned>(unid.File.Innards[0]),
                        static_cast<unsigned>(unid.Note.Innards[1]),
                        static_cast<unsigned>(unid.Note.Innards[0]));
            continue;
        }
        char text[kUnidTextLength + 1];
        FormatNoteUNID(unid, text);
        AddContactFromNote(note, CString(text, text + kUnidTextLength), out, false);
        CloseNote(note);
    }
}
