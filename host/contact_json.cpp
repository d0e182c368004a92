#include "contact_json.h"

#include "hex.h"
#include "json_writer.h"
#include "sha256.h"
#include "text_convert.h"

namespace host {
namespace {

// A string member of ContactInfo and the name it is written under.
struct StringMember {
    const char* name;             // the JSON member name
    CString ContactInfo::*member; // the member
};

constexpr StringMember kStringMembers[] = {
    {"fullName", &ContactInfo::fullName},
    {"firstName", &ContactInfo::firstName},
    {"lastName", &ContactInfo::lastName},
    {"email", &ContactInfo::email},
    {"imLogin", &ContactInfo::imLogin},
    {"jobTitle", &ContactInfo::jobTitle},
    {"company", &ContactInfo::company},
    {"department", &ContactInfo::department},
    {"officePhone", &ContactInfo::officePhone},
    {"cellPhone", &ContactInfo::cellPhone},
    {"faxPhone", &ContactInfo::faxPhone},
    {"phone", &ContactInfo::phone},
    {"webSite", &ContactInfo::webSite},
    {"extra1", &ContactInfo::extra1},
    {"officeCountry", &ContactInfo::officeCountry},
    {"officeZip", &ContactInfo::officeZip},
    {"officeState", &ContactInfo::officeState},
    {"officeStreet", &ContactInfo::officeStreet},
    {"officeCity", &ContactInfo::officeCity},
    {"extra2", &ContactInfo::extra2},
};

std::string ContactJson(const ContactInfo& contact) {
    JsonObject json;
    for (const StringMember& m : kStringMembers) {
        const CString& text = contact.*m.member;
        json.AddString(m.name, Utf16ToUtf8(text.data(), text.size()));
    }
    const Sha256Digest digest = Sha256(contact.photo.Data(), contact.photo.Size());
    json.AddString("unid",
                   HexEncode(contact.unidBytes.Data(), contact.unidBytes.Size(), HexCase::Upper))
        .AddNumber("allFieldsFound", contact.allFieldsFound)
        .AddNumber("hasPhoto", contact.hasPhoto)
        .AddNumber("photoSize", contact.photo.Size())
        .AddString("photoSha256", HexEncode(digest.data(), digest.size(), HexCase::Lower));
    return json.Text();
}

} // namespace

std::string ContactsJson(const std::vector<ContactInfo>& contacts) {
    std::vector<std::string> elements;
    elements.reserve(contacts.size());
    for (const ContactInfo& contact : contacts)
        elements.push_back(ContactJson(contact));
    return JsonArray(elements);
}

} // namespace host
