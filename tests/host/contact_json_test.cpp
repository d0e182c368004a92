// Contacts as the host writes them. The members that name the person, the UNID, the flags and
// the photo are checked on real records by tests/contacts, which describes every record it
// finds through this form, and by contacts_host_resolve; this case covers what those leave
// empty and that nothing else is written.
#include "contact_json.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

TEST(ContactsJsonTest, WritesTheExtraMembersAndNothingElse) {
    ContactInfo contact;
    contact.extra1 = KORVO_W("one \u00e9");
    contact.extra2 = KORVO_W("two");
    contact.photo.Assign(3, reinterpret_cast<const uint8_t*>("abc"));
    contact.hasPhoto = 1;
    contact.allFieldsFound = 0;

    const nlohmann::json parsed = nlohmann::json::parse(host::ContactsJson({contact, {}}));
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].at("extra1"), "one \xC3\xA9");
    EXPECT_EQ(parsed[0].at("extra2"), "two");
    EXPECT_EQ(parsed[0].at("hasPhoto"), 1);
    EXPECT_EQ(parsed[0].at("allFieldsFound"), 0);
    EXPECT_EQ(parsed[0].at("photoSize"), 3);
    EXPECT_EQ(parsed[0].at("photoSha256"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(parsed[0].size(), 25u);
    EXPECT_EQ(parsed[1].at("unid"), "");
    EXPECT_EQ(parsed[1].at("photoSize"), 0);
    EXPECT_EQ(host::ContactsJson({}), "[]");
}

} // namespace
