// The address-book contact searcher: finds people in the local and the server address book
// and turns each person document into a ContactInfo record.
#pragma once

#include "KorvoLotusC.h"
#include "notesapi.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

// The fields of a contact record; each is read through its own list of item names.
enum ContactFieldId {
    kFieldEmail = 0,
    kFieldImLogin = 1,
    kFieldFullName = 2,
    kFieldLastName = 3,
    kFieldFirstName = 4,
    kFieldJobTitle = 5,
    kFieldCellPhone = 6,
    kFieldOfficePhone = 7,
    kFieldPhone = 8,
    kFieldFaxPhone = 9,
    kFieldCompany = 10,
    kFieldDepartment = 11,
    kFieldOfficeCountry = 12,
    kFieldOfficeState = 13,
    kFieldOfficeCity = 14,
    kFieldOfficeStreet = 15,
    kFieldWebSite = 16,
    kFieldOfficeZip = 17,
};

class CNotesContacts {
  public:
    CNotesContacts(const CNotesContacts&) = delete;
    CNotesContacts& operator=(const CNotesContacts&) = delete;

    // The process-wide instance, created (with its field map) on the first call; never null.
    // It belongs to the class and lives until DestroyInstance.
    static CNotesContacts* GetInstance();

    // Closes the address books of the instance, if there is one, frees it and clears the
    // process-wide pointer, so that the next GetInstance creates a new one.
    static void DestroyInstance();

    // Opens the local address book (server null) or the address book of server (any other
    // pointer, an empty name included) unless it is open already, and looks its "$Users" view
    // up. Returns 1 when that address book is open afterwards (also without the view), else
    // 0. The instance owns the handle until CloseAddressBooks.
    int32_t OpenAddressBook(const char* server);

    // Makes the local (serverFlag 0) or the server (1) address book the one the searches use,
    // and forgets the documents already returned.
    void SelectAddressBook(int32_t serverFlag);

    // Appends to out one record per person document of the selected address book with a key
    // equal to key (LMBCS), or beginning with it when partialFlag is set, each document once
    // since the last SelectAddressBook. With brief set only the e-mail address and the full
    // name are read. Failures are logged and leave out as far as it was filled.
    void SearchContactsInfoByPrimaryField(const char* key, int32_t partialFlag,
                                          std::vector<ContactInfo>& out, int32_t brief);

    // Appends to out one record per person document of the selected address book whose
    // "SametimeLogin" begins with imAddress ignoring case, each document once since the last
    // SelectAddressBook. Failures are logged.
    void SearchContactsInfoByIMAddress(const char* imAddress, std::vector<ContactInfo>& out);

    // Closes both address books (failures are reported) and sets their handles to 0.
    void CloseAddressBooks();

    // Extracts the note's "ContactPhoto" attachment into photo, through a temporary file that
    // is deleted again. Returns 1 when photo holds the picture (it owns the bytes), else 0
    // with photo as it was.
    static int32_t GetContactPictureData(NOTEHANDLE note, ByteBuffer& photo);

    // Replaces buffer with the bytes written as pairs of upper-case hexadecimal digits in text
    // (other characters count as 0, an odd last character is ignored); an empty text leaves
    // buffer as it was.
    static void DecodeHexText(const CString& text, ByteBuffer& buffer);

  private:
    // What the IM search hands to its per-note routine.
    struct IMSearchContext {
        DBHANDLE db = NULLHANDLE;          // the database searched
        char itemName[256] = {};           // the item holding the IM login
        const char* address = nullptr;     // the IM address looked for
        std::vector<ORIGINATORID> matched; // the person documents whose login matches
    };

    CNotesContacts();

    void ReadContactsInfoFromEtries(uint32_t count, DHANDLE noteIds, std::vector<ContactInfo>& out);
    void ReadContactInfoMatchedIMAddress(const std::vector<ORIGINATORID>& matched,
                                         std::vector<ContactInfo>& out);
    void AddContactFromNote(NOTEHANDLE note, const CString& unidText, std::vector<ContactInfo>& out,
                            bool personCheck);
    void FillContactInfo(NOTEHANDLE note, ContactInfo& record);
    int32_t ReadContactField(NOTEHANDLE note, ContactFieldId field, bool stopOnEmpty,
                             CString& member, bool translated);
    static bool IsPersonNote(NOTEHANDLE note);
    static STATUS LNCALLBACK SearchIMAddressPerNote(void* parameter, SEARCH_MATCH* match,
                                                    ITEM_TABLE* summary);

    DBHANDLE m_hLocalDB = NULLHANDLE;   // the local address book; 0 when not open
    DBHANDLE m_hServerDB = NULLHANDLE;  // the mail server's address book; 0 when not open
    NOTEID m_localUsersView = 0;        // note ID of "$Users" in the local address book
    NOTEID m_serverUsersView = 0;       // note ID of "$Users" in the server address book
    DBHANDLE m_hCurrentDB = NULLHANDLE; // the address book the searches use
    NOTEID m_currentUsersView = 0;      // its "$Users" view
    int32_t m_briefMode = 0;            // non-zero: e-mail and full name only
    std::vector<CString> m_seenUnids;   // UNID texts of the records made since selecting
    std::map<ContactFieldId, std::pair<int, int>> m_fieldMap; // first item name and count
};
