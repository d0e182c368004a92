#include "notesmailmessage.h"

#include "notesclib.h"
#include "notestext.h"
#include "stringutil.h"
#include "trace.h"

#include <algorithm>
#include <cstring>

static constexpr char kTraceSource[] = "notesmailcalendar.cpp";

namespace {

constexpr size_t kTextBuffer = 256;         // bytes of names and paths: 255 characters and a NUL
constexpr uint16_t kUpdateFlags = 4;        // NSFNoteUpdate's flags for both writes
constexpr uint32_t kLongestPiece = 0xFFFF;  // bytes one MailAppendBodyItemLine call takes
constexpr char kMailBoxFile[] = "mail.box"; // the router's mailbox on the server
constexpr int kPrefixDataType = 1;          // lists carry their data type in front

// Frees a list that no call has taken; a failure is reported.
void FreeRecipientList(const RecipientList& list) {
    const STATUS freed = OSMemFree(list.m_hList);
    if (freed != NOERROR)
        NotesAPIErrHandler("OSMemFree", freed);
}

// Appends the length bytes of NUL-separated lines to the body. The runtime takes at most
// kLongestPiece bytes per call and starts a new line with each call, so a longer text goes
// in pieces that end where a line ends (that NUL is then left out) or, for a single longer
// line, where a character ends. Returns the first failure.
STATUS AppendBodyLines(DHANDLE body, uint32_t* bodyLength, char* text, uint32_t length) {
    uint32_t start = 0;
    for (;;) {
        if (length - start <= kLongestPiece)
            return MailAppendBodyItemLine(body, bodyLength, text + start,
                                          static_cast<uint16_t>(length - start));
        const char* window = text + start;
        const void* nul = std::memchr(window, '\0', kLongestPiece + 1);
        const char* lastNul = nullptr;
        while (nul != nullptr) {
            lastNul = static_cast<const char*>(nul);
            const size_t rest = window + kLongestPiece + 1 - (lastNul + 1);
            nul = std::memchr(lastNul + 1, '\0', rest);
        }
        uint32_t cut = start;
        uint32_t next;
        if (lastNul != nullptr) {
            cut = static_cast<uint32_t>(lastNul - text);
            next = cut + 1;
        } else {
            while (StringUtil::NextLmbcsCharacter(text, length, cut) <= start + kLongestPiece)
                cut = static_cast<uint32_t>(StringUtil::NextLmbcsCharacter(text, length, cut));
            next = cut;
        }
        if (STATUS status = MailAppendBodyItemLine(body, bodyLength, text + start,
                                                   static_cast<uint16_t>(cut - start)))
            return status;
        start = next;
    }
}

// Rewrites text in place into NUL-separated lines: every CR is dropped and every LF becomes
// a NUL. Returns the bytes kept.
uint32_t SplitIntoLines(char* text, uint32_t length) {
    uint32_t kept = 0;
    for (uint32_t i = 0; i < length; ++i) {
        if (text[i] == '\r')
            continue;
        text[kept++] = text[i] == '\n' ? '\0' : text[i];
    }
    return kept;
}

// Allocates an empty list with its data type in front and unlocks it; the handle is 0 when
// the allocation fails.
void AllocateList(RecipientList& list) {
    const STATUS status =
        ListAllocate(0, 0, kPrefixDataType, &list.m_hList, &list.m_pList, &list.m_wListSize);
    if (status != NOERROR) {
        NotesAPIErrHandler("ListAllocate", status);
        list.m_hList = NULLHANDLE;
        return;
    }
    list.m_wCount = 0;
    list.m_pList = nullptr;
    OSUnlockObject(list.m_hList);
}

// Appends name (length bytes) as the list's next entry.
void AddListEntry(RecipientList& list, const char* name, uint16_t length) {
    const STATUS status =
        ListAddEntry(list.m_hList, kPrefixDataType, &list.m_wListSize, list.m_wCount, name, length);
    if (status != NOERROR)
        NotesAPIErrHandler("ListAddEntry", status);
    else
        ++list.m_wCount;
}

} // namespace

CNotesMailMessage::~CNotesMailMessage() {
    if (m_hMessage != NULLHANDLE) {
        const STATUS status = MailCloseMessage(m_hMessage);
        if (status != NOERROR)
            NotesAPIErrHandler("MailCloseMessage", status);
        m_hMessage = NULLHANDLE;
    }
    if (m_hBody != NULLHANDLE) {
        const STATUS status = OSMemFree(m_hBody);
        if (status != NOERROR)
            NotesAPIErrHandler("OSMemFree", status);
        m_hBody = NULLHANDLE;
    }
    if (m_hMailFile != NULLHANDLE) {
        const STATUS status = MailCloseMessageFile(m_hMailFile);
        if (status != NOERROR)
            NotesAPIErrHandler("MailCloseMessageFile", status);
        m_hMailFile = NULLHANDLE;
    }
}

void CNotesMailMessage::OpenMailFile(const char* server) {
    if (m_hMailFile != NULLHANDLE)
        return;
    if (server != nullptr && server[0] != '\0') {
        std::strncpy(m_szServerName, server, kMailServerNameSize - 1);
        m_szServerName[kMailServerNameSize - 1] = '\0';
    }
    char mailFile[kTextBuffer] = {};
    GetEnvironmentString("MailFile", mailFile);
    if (mailFile[0] == '\0') {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::OpenMailFile",
                    "Fail to read MailFile value in notes.ini.");
    } else {
        char path[kTextBuffer] = {};
        const STATUS status = OSPathNetConstruct(nullptr, m_szServerName, mailFile, path);
        if (status != NOERROR || path[0] == '\0') {
            NotesAPIErrHandler("OSPathNetConstruct", status);
        } else {
            KORVO_TRACE(PM_SDK::kLevelProgress, "OpenMailMessageFile", "Open Mail file [%s]", path);
            const STATUS opened = MailOpenMessageFile(path, &m_hMailFile);
            if (opened != NOERROR) {
                NotesAPIErrHandler("MailOpenMessageFile", opened);
                m_hMailFile = NULLHANDLE;
            }
        }
    }
    if (m_hMailFile == NULLHANDLE)
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::OpenMailFile",
                    "Domino Server is unavailable!!!");
}

int CNotesMailMessage::CreateNotesMessage(const CString& subject, const CString& recipients,
                                          const CString& body) {
    TIMEDATE composed;
    OSCurrentTIMEDATE(&composed);

    const STATUS created = MailCreateMessage(m_hMailFile, &m_hMessage);
    if (created != NOERROR) {
        NotesAPIErrHandler("MailCreateMessage", created);
        m_hMessage = NULLHANDLE;
    }
    if (m_hMessage == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::CreateNotesMessage",
                    "Fail to create Message!!");
        return 0;
    }
    uint32_t bodyLength = 0;
    const STATUS bodyCreated = MailCreateBodyItem(&m_hBody, &bodyLength);
    if (bodyCreated != NOERROR) {
        NotesAPIErrHandler("MailCreateBodyItem", bodyCreated);
        m_hBody = NULLHANDLE;
    }
    if (m_hBody == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::CreateNotesMessage",
                    "Fail to create message body!!");
        return 0;
    }
    if (AddMessageRecipientsHeader(recipients) == 0) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::CreateNotesMessage",
                    "fail to construt message Recipients Header");
        return 0;
    }

    const auto addHeader = [this](uint16_t field, const char* value, uint32_t length) {
        if (length == 0)
            return;
        const STATUS status = MailAddHeaderItem(
            m_hMessage, field, value, static_cast<uint16_t>(std::min(length, kLongestPiece)));
        if (status != NOERROR)
            NotesAPIErrHandler("MailAddHeaderItem", status);
    };
    addHeader(MAIL_FORM_ITEM_NUM, "Memo", 4);
    char owner[kTextBuffer];
    GetOwnerName(owner);
    addHeader(MAIL_FROM_ITEM_NUM, owner, static_cast<uint32_t>(std::strlen(owner)));
    {
        TextEntry subjectText;
        ConstructNotesLMBCSTextFromCString(subject, subjectText);
        addHeader(MAIL_SUBJECT_ITEM_NUM, subjectText.c_str(), subjectText.length);
    }
    addHeader(MAIL_DELIVERYPRIORITY_ITEM_NUM, "N", 1);
    addHeader(MAIL_DELIVERYREPORT_ITEM_NUM, "B", 1);
    addHeader(MAIL_COMPOSEDDATE_ITEM_NUM, reinterpret_cast<const char*>(&composed),
              sizeof composed);

    TextEntry bodyText;
    ConstructNotesLMBCSTextFromCString(body, bodyText);
    if (bodyText.length != 0) {
        const uint32_t lineBytes = SplitIntoLines(bodyText.text.get(), bodyText.length);
        const STATUS appended =
            AppendBodyLines(m_hBody, &bodyLength, bodyText.text.get(), lineBytes);
        if (appended != NOERROR) {
            NotesAPIErrHandler("MailAppendBodyItemLine", appended);
        } else {
            const STATUS added = MailAddBodyItemExt(m_hMessage, m_hBody, bodyLength, nullptr);
            if (added != NOERROR)
                NotesAPIErrHandler("MailAddBodyItemExt", added);
        }
    }

    TIMEDATE posted;
    OSCurrentTIMEDATE(&posted);
    addHeader(MAIL_POSTEDDATE_ITEM_NUM, reinterpret_cast<const char*>(&posted), sizeof posted);
    return 1;
}

int CNotesMailMessage::AddMessageRecipientsHeader(const CString& recipients) {
    RecipientList recipientList;
    AllocateList(recipientList);
    if (recipientList.m_hList == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::AddMessageRecipientsHeader",
                    "Fail to create Recipients List!!!");
        return 0;
    }
    RecipientList sendToList;
    AllocateList(sendToList);
    if (sendToList.m_hList == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::AddMessageRecipientsHeader",
                    "Fail to create SendTo List!!!");
        FreeRecipientList(recipientList);
        return 0;
    }

    CString names = recipients;
    names.erase(std::remove(names.begin(), names.end(), static_cast<WCHAR>(' ')), names.end());
    {
        TextEntry text;
        ConstructNotesLMBCSTextFromCString(names, text);
        FillMessageRecipientsList(text.text.get(), sendToList, recipientList);
    }

    const STATUS sendTo = MailAddHeaderItemByHandle(m_hMessage, MAIL_SENDTO_ITEM_NUM,
                                                    sendToList.m_hList, sendToList.m_wListSize, 0);
    // A list belongs to the message once a call has taken it; a failed call leaves it ours.
    if (sendTo != NOERROR) {
        NotesAPIErrHandler("MailAddHeaderItemByHandle", sendTo);
        FreeRecipientList(sendToList);
    }
    sendToList = RecipientList{};
    const STATUS added =
        MailAddRecipientsItem(m_hMessage, recipientList.m_hList, recipientList.m_wListSize);
    if (added != NOERROR) {
        NotesAPIErrHandler("MailAddRecipientsItem", added);
        FreeRecipientList(recipientList);
    }
    recipientList = RecipientList{};
    return 1;
}

void CNotesMailMessage::FillMessageRecipientsList(const char* text, RecipientList& sendTo,
                                                  RecipientList& recipients) {
    if (text == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "FillMessageRecipientsList", "Invalid parameters!!");
        return;
    }
    const size_t length = std::strlen(text);
    size_t position = 0;
    while (position < length) {
        // A comma counts only where a character begins, not as a byte inside one.
        const size_t comma = StringUtil::FindInLmbcs(text, length, position, ",");
        const size_t count = comma - position;
        if (count >= kTextBuffer) {
            KORVO_TRACE(PM_SDK::kLevelFailure, "FillMessageRecipientsList",
                        "The Recipient's name is too long, buffer is not enough, skip the "
                        "Recipient!!");
        } else if (count != 0) {
            AddListEntry(sendTo, text + position, static_cast<uint16_t>(count));
            AddListEntry(recipients, text + position, static_cast<uint16_t>(count));
        }
        position = comma + 1;
    }
}

void CNotesMailMessage::SendNotesMessage() {
    if (m_hMailBox == NULLHANDLE)
        OpenDB(m_szServerName, kMailBoxFile, &m_hMailBox);
    if (m_hMailBox == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesMailMessage::SendNotesMessage",
                    "SendNoteMessage:Domino Server is unavailable!!!");
        return;
    }
    NOTEID ownNoteId = 0;
    DBHANDLE ownDatabase = NULLHANDLE;
    ORIGINATORID ownOid = {};
    NSFNoteGetInfo(m_hMessage, _NOTE_ID, &ownNoteId);
    NSFNoteGetInfo(m_hMessage, _NOTE_DB, &ownDatabase);
    NSFNoteGetInfo(m_hMessage, _NOTE_OID, &ownOid);

    ORIGINATORID deliveryOid = {};
    const STATUS generated = NSFDbGenerateOID(m_hMailBox, &deliveryOid);
    if (generated != NOERROR) {
        NotesAPIErrHandler("NSFDbGenerateOID", generated);
    } else {
        NSFNoteSetInfo(m_hMessage, _NOTE_DB, &m_hMailBox);
        NSFNoteSetInfo(m_hMessage, _NOTE_ID, nullptr);
        NSFNoteSetInfo(m_hMessage, _NOTE_OID, &deliveryOid);
        const STATUS delivered = NSFNoteUpdate(m_hMessage, kUpdateFlags);
        if (delivered != NOERROR) {
            NotesAPIErrHandler("NSFNoteUpdate", delivered);
            KORVO_TRACE(PM_SDK::kLevelProgress, "SendMailMessage",
                        "Fail to update message into MAIL.BOX on mail server");
        }
        NSFNoteSetInfo(m_hMessage, _NOTE_DB, &ownDatabase);
        NSFNoteSetInfo(m_hMessage, _NOTE_ID, &ownNoteId);
        NSFNoteSetInfo(m_hMessage, _NOTE_OID, &ownOid);
        const STATUS restored = NSFNoteUpdate(m_hMessage, kUpdateFlags);
        if (restored != NOERROR) {
            NotesAPIErrHandler("NSFNoteUpdate", restored);
            KORVO_TRACE(PM_SDK::kLevelProgress, "SendMailMessage",
                        "Fail to restore message to user's mail file");
        }
        KORVO_TRACE(PM_SDK::kLevelProgress, "SendMailMessage", "Success");
    }
    CloseDB(&m_hMailBox);
}
