// Person documents into contact records, field by field (part of the contact searcher).
#include "notescontact.h"

#include "notesitems.h"
#include "stringutil.h"

#include "rk/convert.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kItemNameField = 30; // bytes of one entry of the item-name table
constexpr uint16_t kItemText = 256;   // text bytes of an item read, NUL included

// Every item name a contact field may be read from, grouped by field in the field map's order
// and, within a field, in the order they are tried.
constexpr char kItemNames[][kItemNameField] = {
    "InternetAddress",
    "MailAddress",
    "email_1",
    "InternetAddress1",
    "dspEmail1",
    "SametimeLogin",
    "dspSametimeLogin",
    "FullNameInput",
    "NameHelperInput",
    "dspFullName",
    "LastName",
    "FirstName",
    "JobTitle",
    "CellPhoneNumber",
    "dspDefaultPhone3",
    "OfficePhoneNumber",
    "dspOfficePhone",
    "PhoneNumber",
    "dspDefaultPhone5",
    "OfficeFAXPhoneNumber",
    "dspDefaultPhone2",
    "CompanyName",
    "dspCompany",
    "Department",
    "dspDepartment",
    "OfficeCountry",
    "OfficeState",
    "OfficeCity",
    "OfficeStreetAddress",
    "WebSite",
    "dspWebSite",
    "OfficeZip",
};

// How many item names each field has, by field id.
constexpr int kNamesPerField[] = {5, 2, 3, 1, 1, 1, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 2, 1};

static_assert(sizeof kItemNames / sizeof kItemNames[0] == 32, "32 item names");

// One field as a record reads it.
struct FieldRead {
    ContactFieldId field;         // the field
    CString ContactInfo::*member; // where its text goes
    bool stopOnEmpty;             // an existing but empty item ends the field
    bool translated;              // the text is translated from LMBCS, else taken as ANSI
};

// The fields in reading order; a brief record reads only the first two.
constexpr FieldRead kFieldReads[] = {
    {kFieldEmail, &ContactInfo::email, false, false},
    {kFieldFullName, &ContactInfo::fullName, true, true},
    {kFieldImLogin, &ContactInfo::imLogin, false, false},
    {kFieldLastName, &ContactInfo::lastName, true, true},
    {kFieldFirstName, &ContactInfo::firstName, true, true},
    {kFieldJobTitle, &ContactInfo::jobTitle, true, true},
    {kFieldCellPhone, &ContactInfo::cellPhone, true, false},
    {kFieldOfficePhone, &ContactInfo::officePhone, true, false},
    {kFieldPhone, &ContactInfo::phone, true, false},
    {kFieldFaxPhone, &ContactInfo::faxPhone, true, false},
    {kFieldCompany, &ContactInfo::company, true, true},
    {kFieldDepartment, &ContactInfo::department, true, true},
    {kFieldOfficeCountry, &ContactInfo::officeCountry, true, true},
    {kFieldOfficeState, &ContactInfo::officeState, true, true},
    {kFieldOfficeCity, &ContactInfo::officeCity, true, true},
    {kFieldOfficeStreet, &ContactInfo::officeStreet, true, true},
    {kFieldWebSite, &ContactInfo::webSite, true, false},
    {kFieldOfficeZip, &ContactInfo::officeZip, true, false},
};
constexpr size_t kBriefFields = 2; // e-mail address and full name

// The value of an upper-case hexadecimal digit; 0 for any other character.
uint8_t HexValue(WCHAR c) {
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<uint8_t>(c - 'A' + 10);
    return 0;
}

} // namespace

CNotesContacts::CNotesContacts() {
    int first = 0;
    for (int field = kFieldEmail; field <= kFieldOfficeZip; ++field) {
        m_fieldMap[static_cast<ContactFieldId>(field)] = {first, kNamesPerField[field]};
        first += kNamesPerField[field];
    }
}

void CNotesContacts::AddContactFromNote(NOTEHANDLE note, const CString& unidText,
                                        std::vector<ContactInfo>& out, bool personCheck) {
    if (personCheck && !IsPersonNote(note))
        return;
    if (std::find(m_seenUnids.begin(), m_seenUnids.end(), unidText) != m_seenUnids.end())
        return;
    m_seenUnids.push_back(unidText);
    ContactInfo record;
    FillContactInfo(note, record);
    if (m_briefMode == 0) {
        record.hasPhoto = GetContactPictureData(note, record.photo);
        DecodeHexText(unidText, record.unidBytes);
    }
    out.push_back(record);
}

void CNotesContacts::FillContactInfo(NOTEHANDLE note, ContactInfo& record) {
    const size_t fields = m_briefMode != 0 ? kBriefFields : std::size(kFieldReads);
    for (size_t i = 0; i < fields; ++i) {
        const FieldRead& read = kFieldReads[i];
        const int32_t found = ReadContactField(note, read.field, read.stopOnEmpty,
                                               record.*read.member, read.translated);
        record.allFieldsFound = i == 0 ? found : (record.allFieldsFound && found ? 1 : 0);
    }
}

int32_t CNotesContacts::ReadContactField(NOTEHANDLE note, ContactFieldId field, bool stopOnEmpty,
                                         CString& member, bool translated) {
    member.clear();
    const std::pair<int, int> names = m_fieldMap[field];
    for (int name = names.first; name < names.first + names.second; ++name) {
        char text[kItemText + 1] = {};
        if (!GetTextByNoteItem(note, kItemNames[name], text, kItemText))
            continue;
        if (translated) {
            char utf8[kItemText + 1] = {};
            const uint16_t length =
                OSTranslate(OS_TRANSLATE_LMBCS_TO_UTF8, text,
                            static_cast<uint16_t>(std::strlen(text)), utf8, kItemText);
            utf8[length] = '\0';
            std::memcpy(text, utf8, sizeof text);
        }
        if (text[0] != '\0') {
            if (translated)
                StringUtil::Utf8ToWide(text, member);
            else
                RK::_cstring_set(member, 0, text, RK::kWholeString);
            return 1;
        }
        if (stopOnEmpty)
            return 1;
    }
    return 0;
}

bool CNotesContacts::IsPersonNote(NOTEHANDLE note) {
    char form[kItemText + 1] = {};
    GetTextByNoteItem(note, "Form", form, kItemText);
    return StringUtil::IsSameString(form, "Person");
}

void CNotesContacts::DecodeHexText(const CString& text, ByteBuffer& buffer) {
    if (text.empty())
        return;
    std::vector<uint8_t> bytes(text.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(HexValue(text[2 * i]) * 16 + HexValue(text[2 * i + 1]));
    buffer.Assign(static_cast<uint32_t>(bytes.size()), bytes.data());
}
