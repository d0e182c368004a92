#include "contact_json.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

// Every string member under the name it is written as.
const std::vector<std::pair<std::string, CString ContactInfo::*>> kStringMembers = {
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

TEST(ContactsJsonTest, WritesEveryMemberUnderItsOwnName) {
    ContactInfo contact;
    for (size_t i = 0; i < kStringMembers.size(); ++i)
        contact.*kStringMembers[i].second = KORVO_W("v") + CString(i + 1, static_cast<WCHAR>(0xe9));
    const uint8_t unid[16] = {0x8A, 0x3F, 0x0C, 0x6D, 0x4E, 0x1B, 0x22, 0xF1,
                              0xC1, 0x25, 0x7E, 0x2B, 0x00, 0x36, 0xA1, 0xF2};
    contact.unidBytes.Assign(sizeof unid, unid);
    contact.photo.Assign(3, reinterpret_cast<const uint8_t*>("abc"));
    contact.hasPhoto = 1;
    contact.allFieldsFound = 0;

    const nlohmann::json parsed = nlohmann::json::parse(host::ContactsJson({contact, {}}));
    ASSERT_EQ(parsed.size(), 2u);
    const nlohmann::json& c = parsed[0];
    for (size_t i = 0; i < kStringMembers.size(); ++i) {
        std::string expected = "v";
        for (size_t k = 0; k <= i; ++k)
            expected += "\xC3\xA9";
        EXPECT_EQ(c.at(kStringMembers[i].first), expected) << kStringMembers[i].first;
    }
    EXPECT_EQ(c.at("unid"), "8A3F0C6D4E1B22F1C1257E2B0036A1F2");
    EXPECT_EQ(c.at("hasPhoto"), 1);
    EXPECT_EQ(c.at("allFieldsFound"), 0);
    EXPECT_EQ(c.at("photoSize"), 3);
    EXPECT_EQ(c.at("photoSha256"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(c.size(), kStringMembers.size() + 5);

    EXPECT_EQ(parsed[1].at("unid"), "");
    EXPECT_EQ(parsed[1].at("photoSize"), 0);
    EXPECT_EQ(host::ContactsJson({}), "[]");
}

} // namespace
