// Person documents from vCard cards.
#include "people.h"

#include "base64.h"
#include "report.h"
#include "vcard.h"

#include <map>

namespace korvo_import {
namespace {

using korvo_install::Json;

// A telephone type and the item its number goes to; a number goes by the first of these types
// it has, and one with none of them is an office number.
struct PhoneSlot {
    const char* type; // TYPE value
    const char* item; // person document item
};
constexpr PhoneSlot kPhoneSlots[] = {
    {"fax", "OfficeFAXPhoneNumber"}, {"cell", "CellPhoneNumber"}, {"home", "PhoneNumber"}};
constexpr const char* kOfficePhone = "OfficePhoneNumber";
// The telephone items in the order the document holds them.
constexpr const char* kPhoneItems[] = {"CellPhoneNumber", kOfficePhone, "PhoneNumber",
                                       "OfficeFAXPhoneNumber"};

// The items of the office address, by component of ADR (0 post office box, 1 extended address,
// 2 street, 3 locality, 4 region, 5 postal code, 6 country); null: not kept.
constexpr const char* kAddressItems[] = {nullptr,        nullptr,       "OfficeStreetAddress",
                                         "OfficeCity",   "OfficeState", "OfficeZip",
                                         "OfficeCountry"};

// The text after a URI scheme ("xmpp:", "tel:"), or text itself when it has none.
std::string WithoutScheme(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0)
        return text;
    for (size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '+' || c == '-' || c == '.'))
            return text;
    }
    return text.substr(colon + 1);
}

// The picture's bytes; false, reported, when it is not held inline or not base64.
bool PhotoBytes(const std::string& file, const VCardProperty& photo, Report& report,
                std::string& bytes) {
    const std::string where = file + ":" + std::to_string(photo.line);
    std::string data;
    const std::string encoding = EncodingOf(photo);
    if (encoding == "B" || encoding == "BASE64") {
        data = photo.value;
    } else if (!encoding.empty()) {
        report.Problem(where, "PHOTO: ENCODING \"" + encoding + "\", not base64", "left out");
        return false;
    } else if (Upper(photo.value.substr(0, 5)) == "DATA:") {
        const size_t comma = photo.value.find(',');
        if (comma == std::string::npos || comma < 7 ||
            Upper(photo.value.substr(comma - 7, 7)) != ";BASE64") {
            report.Problem(where, "PHOTO: a data URI that is not base64", "left out");
            return false;
        }
        data = photo.value.substr(comma + 1);
    } else {
        report.Warn(where, "PHOTO: only pictures held in the card are imported", "left out");
        return false;
    }
    if (!notesrt::DecodeBase64(data, bytes) || bytes.empty()) {
        report.Problem(where, "PHOTO: bad base64", "left out");
        return false;
    }
    return true;
}

Person PersonOf(const std::string& file, const VCard& card, const std::string& suffix,
                Report& report) {
    const std::string fullName = VCardText(*card.First("FN"));
    Person person;
    person.canonical = "CN=" + fullName + suffix;
    korvo_install::NoteBuilder& note = person.note;
    note.Item("Form", "Person")
        .Item("FullName", Json::array({person.canonical, fullName}))
        .Item("FullNameInput", fullName);
    const auto text = [&](const char* name, const char* item) {
        const VCardProperty* property = card.First(name);
        if (property == nullptr)
            return;
        const std::string value = VCardText(*property);
        if (!value.empty())
            note.Item(item, value);
    };
    const auto components = [&](const VCardProperty& property, const char* const* items,
                                size_t count) {
        const std::vector<std::string> values = VCardComponents(property);
        for (size_t i = 0; i < count && i < values.size(); ++i) {
            if (items[i] != nullptr && !values[i].empty())
                note.Item(items[i], values[i]);
        }
    };
    if (const VCardProperty* name = card.First("N")) {
        constexpr const char* kNameItems[] = {"LastName", "FirstName"};
        components(*name, kNameItems, 2);
    }
    for (const VCardProperty& property : card.properties) {
        if (property.name != "EMAIL")
            continue;
        const std::string email = VCardText(property);
        if (email.empty())
            continue;
        if (IsPreferred(property))
            person.emails.insert(person.emails.begin(), email);
        else
            person.emails.push_back(email);
    }
    if (!person.emails.empty())
        note.Item("InternetAddress", person.emails.front());
    text("TITLE", "JobTitle");
    if (const VCardProperty* org = card.First("ORG")) {
        constexpr const char* kOrgItems[] = {"CompanyName", "Department"};
        components(*org, kOrgItems, 2);
    }

    std::map<std::string, std::string> phones; // item to the first number of its kind
    const VCardProperty* office = nullptr;
    const VCardProperty* anyAddress = nullptr;
    for (const VCardProperty& property : card.properties) {
        if (property.name == "TEL") {
            const char* item = kOfficePhone;
            for (const PhoneSlot& slot : kPhoneSlots) {
                if (HasType(property, slot.type)) {
                    item = slot.item;
                    break;
                }
            }
            phones.emplace(item, WithoutScheme(VCardText(property)));
        } else if (property.name == "ADR") {
            if (office == nullptr && HasType(property, "work"))
                office = &property;
            if (anyAddress == nullptr && !HasType(property, "home"))
                anyAddress = &property;
        }
    }
    for (const char* item : kPhoneItems) {
        const auto phone = phones.find(item);
        if (phone != phones.end() && !phone->second.empty())
            note.Item(item, phone->second);
    }
    if (office == nullptr)
        office = anyAddress;
    if (office != nullptr)
        components(*office, kAddressItems, std::size(kAddressItems));
    text("URL", "WebSite");
    if (const VCardProperty* impp = card.First("IMPP"))
        note.Item("SametimeLogin", WithoutScheme(VCardText(*impp)));
    std::string photo;
    if (const VCardProperty* picture = card.First("PHOTO");
        picture != nullptr && PhotoBytes(file, *picture, report, photo))
        note.Item("$FILE", korvo_install::FileValue("ContactPhoto", photo));
    return person;
}

} // namespace

Directory ReadPeople(const std::string& file, const std::string& suffix, Report& report) {
    Directory directory;
    for (const VCard& card : ReadVCards(file)) {
        CardProblem problem = card.problem;
        if (problem.line == 0) {
            try {
                directory.people.push_back(PersonOf(file, card, suffix, report));
                continue;
            } catch (const CardProblem& fault) {
                problem = fault;
            }
        }
        const VCardProperty* name = card.First("FN");
        report.Problem(file + ":" + std::to_string(problem.line), problem.reason,
                       "card \"" + (name != nullptr ? name->value : "") + "\" skipped");
        ++directory.skipped;
    }
    return directory;
}

} // namespace korvo_import
