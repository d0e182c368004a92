// A plain memo from the current Notes user: composed in the user's mail file, delivered by
// writing it into the mail server's "mail.box", and kept in the mail file under its own
// identity.
#pragma once

#include "KorvoLotusC.h"
#include "notesapi.h"

#include <cstddef>

// Bytes of the mail server's name: 255 characters and a NUL.
constexpr size_t kMailServerNameSize = 256;

// A text list under construction for the runtime's list calls. The list's handle belongs to
// whoever holds this record until a message takes it (handle and size are 0 then).
struct RecipientList {
    DHANDLE m_hList = NULLHANDLE; // the list's memory handle, unlocked; 0 for none
    uint16_t m_wListSize = 0;     // the list's size in bytes, as the list calls keep it
    void* m_pList = nullptr;      // the list's address while locked; null once unlocked
    uint16_t m_wCount = 0;        // entries added so far: the number of the next entry
};

// One memo. Calling order: OpenMailFile, CreateNotesMessage, and SendNotesMessage only when
// that returned 1; destroying the object closes the message, frees the body and closes the
// mail file. Nothing here reports a failure other than through the log; the runtime's
// failures go to NotesAPIErrHandler.
class CNotesMailMessage {
  public:
    CNotesMailMessage() = default;
    CNotesMailMessage(const CNotesMailMessage&) = delete;
    CNotesMailMessage& operator=(const CNotesMailMessage&) = delete;
    // Closes the message, frees the body and closes the mail file, each only when open.
    ~CNotesMailMessage();

    // Opens the user's mail file (notes.ini "MailFile") on server (empty: local), unless it
    // is open already. Without a mail file the handle stays 0 and composing runs without it.
    void OpenMailFile(const char* server);

    // Composes the memo in the mail file: recipients, header fields and the body's lines.
    // 1 when the message was created, 0 when the message, its body or a recipients list
    // could not be made (the object then holds what was made, for the destructor).
    int CreateNotesMessage(const CString& subject, const CString& recipients, const CString& body);

    // Adds the SendTo and Recipients lists made from recipients (blanks removed, split at
    // ","). 1, or 0 when a list could not be allocated. The message takes each list it is
    // given, also when adding it fails.
    int AddMessageRecipientsHeader(const CString& recipients);

    // Appends every name of the LMBCS text (split at ",", empty names skipped, names of 256
    // characters or more logged and skipped) to both lists, whose handles stay theirs.
    static void FillMessageRecipientsList(const char* text, RecipientList& sendTo,
                                          RecipientList& recipients);

    // Delivers the composed memo: writes it into the server's "mail.box" under a new
    // originator ID, then back into the mail file under its own. Failures are logged only.
    void SendNotesMessage();

  private:
    DHANDLE m_hMailFile = NULLHANDLE;              // the user's mail file; 0 when not open
    DBHANDLE m_hMailBox = NULLHANDLE;              // the server's "mail.box", open while sending
    NOTEHANDLE m_hMessage = NULLHANDLE;            // the memo being composed; 0 for none
    DHANDLE m_hBody = NULLHANDLE;                  // the body under construction; 0 for none
    char m_szServerName[kMailServerNameSize] = {}; // the mail server; empty for local
};
