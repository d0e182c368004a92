// ContactInfo and ByteBuffer: the values a host receives.
#include "KorvoLotusC.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const uint8_t kBytes[] = {0x00, 0x01, 0xfe, 0xff, 0x7f};

TEST(ContactRecord, StartsEmptyWithAllFieldsFound) {
    const ContactInfo record;
    for (const CString* member :
         {&record.fullName,    &record.firstName,    &record.lastName,      &record.email,
          &record.imLogin,     &record.jobTitle,     &record.company,       &record.department,
          &record.officePhone, &record.cellPhone,    &record.faxPhone,      &record.phone,
          &record.webSite,     &record.extra1,       &record.officeCountry, &record.officeZip,
          &record.officeState, &record.officeStreet, &record.officeCity,    &record.extra2})
        EXPECT_TRUE(member->empty());
    EXPECT_EQ(record.unidBytes.Size(), 0u);
    EXPECT_EQ(record.unidBytes.Data(), nullptr);
    EXPECT_EQ(record.allFieldsFound, 1);
    EXPECT_EQ(record.hasPhoto, 0);
    EXPECT_EQ(record.photo.Size(), 0u);
}

TEST(ByteBufferTest, CopiesOwnTheirBytes) {
    ByteBuffer original;
    original.Assign(sizeof kBytes, kBytes);
    ByteBuffer copy = original;
    ByteBuffer assigned;
    assigned.Assign(2, kBytes);
    assigned = original;

    for (const ByteBuffer* buffer : {&copy, &assigned}) {
        ASSERT_EQ(buffer->Size(), sizeof kBytes);
        EXPECT_NE(buffer->Data(), original.Data());
        EXPECT_EQ(std::memcmp(buffer->Data(), kBytes, sizeof kBytes), 0);
    }
    original.Clear();
    EXPECT_EQ(std::memcmp(copy.Data(), kBytes, sizeof kBytes), 0);
}

TEST(ByteBufferTest, AssignReplacesAndEmptyAssignClears) {
    ByteBuffer buffer;
    buffer.Assign(sizeof kBytes, kBytes);
    buffer.Assign(1, kBytes + 2);
    ASSERT_EQ(buffer.Size(), 1u);
    EXPECT_EQ(buffer.Data()[0], 0xfe);
    buffer.Assign(0, kBytes);
    EXPECT_EQ(buffer.Size(), 0u);
    EXPECT_EQ(buffer.Data(), nullptr);
    const ByteBuffer& same = buffer;
    buffer = same;
    EXPECT_EQ(buffer.Size(), 0u);
}

TEST(ByteBufferTest, RecordsCopyDeeply) {
    ContactInfo record;
    record.fullName = KORVO_W("Ann Lee");
    record.photo.Assign(sizeof kBytes, kBytes);
    std::vector<ContactInfo> records{record, record};
    record.photo.Clear();
    for (const ContactInfo& copy : records) {
        ASSERT_EQ(copy.photo.Size(), sizeof kBytes);
        EXPECT_EQ(copy.fullName, KORVO_W("Ann Lee"));
    }
    EXPECT_NE(records[0].photo.Data(), records[1].photo.Data());
}

} // namespace
