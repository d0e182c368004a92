// KorvoLotusC: the interface a host program uses to reach the user's Notes calendar,
// address books and mail.
//
// The host obtains the one object with DllGetKorvoLotusClassObject, calls its operations on
// one thread, and destroys it with DllDeleteKorvoLotusClassObject. Strings returned through
// BSTR* belong to the caller, who frees them with SysFreeString; input BSTRs are only read.
// Host and library must be built against this same header (the contact operations exchange
// std::basic_string and std::vector).
#pragma once

#include "platform/wintypes.h"

#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32)
#if defined(KORVOLOTUSC_BUILD)
#define KORVO_API __declspec(dllexport)
#else
#define KORVO_API __declspec(dllimport)
#endif
#else
#define KORVO_API __attribute__((visibility("default")))
#endif

// The wide value string of the interface.
typedef std::basic_string<WCHAR> CString;

// An owned block of bytes on the heap.
class KORVO_API ByteBuffer {
  public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer& other);
    ByteBuffer& operator=(const ByteBuffer& other);
    ~ByteBuffer();

    // Frees the bytes held, then copies size bytes from bytes (nothing when either is 0).
    void Assign(uint32_t size, const uint8_t* bytes);
    // Frees the bytes held and takes bytes (allocated with new[]) as its own.
    void Adopt(uint32_t size, uint8_t* bytes);
    void Clear();

    uint32_t Size() const { return m_size; }
    const uint8_t* Data() const { return m_data; }

  private:
    uint32_t m_size = 0;       // bytes held
    uint8_t* m_data = nullptr; // the bytes (new[]), null when empty
};

// One person from a Notes address book.
struct ContactInfo {
    CString fullName;           // display name
    CString firstName;          // given name
    CString lastName;           // family name
    CString email;              // Internet address
    CString imLogin;            // instant-messaging login
    CString jobTitle;           // job title
    CString company;            // company name
    CString department;         // department
    CString officePhone;        // office telephone
    CString cellPhone;          // mobile telephone
    CString faxPhone;           // office fax
    CString phone;              // other telephone
    CString webSite;            // web page
    CString extra1;             // not filled by this library
    CString officeCountry;      // office address: country
    CString officeZip;          // office address: postal code
    CString officeState;        // office address: state
    CString officeStreet;       // office address: street
    CString officeCity;         // office address: city
    ByteBuffer unidBytes;       // the 16 bytes of the person document's UNID
    CString extra2;             // not filled by this library
    int32_t allFieldsFound = 1; // 1 when every field read was found
    int32_t hasPhoto = 0;       // 1 when photo holds the contact's picture
    ByteBuffer photo;           // the picture file's bytes
};

// The object's operations, in the order of its table. No destructor and no reference
// counting: the object lives until DllDeleteKorvoLotusClassObject.
class IKorvoLotus {
  public:
    // Starts Notes and prepares the context: 1 calendar, 2 contacts. 0 success, 1 failure.
    virtual int32_t Init(int32_t initType) = 0;
    // Stops Notes.
    virtual void Uninit() = 0;
    // Sends a memo through the user's mail server. 1 when it was handed on, else 0.
    virtual int32_t SendMail(BSTR subject, BSTR recipients, BSTR body, int32_t unused) = 0;
    // The SMTP address of a display name into *smtp. 1 found, 0 not.
    virtual int32_t GetSMTPFromDispName(BSTR displayName, BSTR* smtp) = 0;
    // The appointments of the days from *start to *end as an XML document. 0 success.
    virtual int32_t ListAppointment(FILETIME* start, FILETIME* end, BSTR* xml) = 0;
    // One appointment by its entry ID. 1 found, 0 not.
    virtual int32_t ListRecrrentInstance(BSTR entryId, FILETIME* start, FILETIME* end,
                                         BSTR* xml) = 0;
    // Takes a meeting out of the cache. 1 found and removed, 0 not.
    virtual int32_t DeleteMsgInfo(BSTR key, BSTR* xml) = 0;
    // Re-reads a cached meeting. 1 found, 0 not.
    virtual int32_t GetMsgInfo(BSTR key, int32_t unused, BSTR* xml) = 0;
    // The user's mail profile as XML. 1.
    virtual int32_t GetCurProfileInfo(BSTR* xml) = 0;
    // Empties the appointment and name caches.
    virtual void ClearCache() = 0;
    // Contacts matching a name key (or an IM login when resolveByUri). 0 when something was
    // found or the query was empty, 1 otherwise.
    virtual int32_t ResolveContact(CString& query, std::vector<ContactInfo>& results,
                                   bool resolveByUri, int32_t unused) = 0;
    // Contacts matching any of the terms. As ResolveContact.
    virtual int32_t ResolveContactBySearchQuery(std::vector<CString>& terms,
                                                std::vector<ContactInfo>& results) = 0;
};

extern "C" {
// The process's one object, created on the first call.
KORVO_API IKorvoLotus* DllGetKorvoLotusClassObject();
// Destroys the object (stopping Notes if it is started); nothing when there is none.
KORVO_API void DllDeleteKorvoLotusClassObject();
}
