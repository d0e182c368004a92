// MIME bodies: the directory walk, entity data and its memory, and the rich-text view of a
// note opened without OPEN_RAW_MIME.
#include "open_database.h"

#include <vector>

namespace {

// What the walk finds at one entity.
struct Entity {
    int kind;            // MIMEEntityGetType
    MIMESYMBOL type;     // MIMEEntityContentType
    uint32_t flags;      // MIMEGetEntityPartFlags
    std::string charset; // MIMEEntityGetTypeParam 35; "-" when there is none
    std::string data;    // MIMEGetDecodedEntityData

    bool operator==(const Entity& other) const {
        return kind == other.kind && type == other.type && flags == other.flags &&
               charset == other.charset && data == other.data;
    }
};

std::ostream& operator<<(std::ostream& out, const Entity& entity) {
    return out << "{" << entity.kind << ", " << entity.type << ", " << entity.flags << ", "
               << entity.charset << ", " << entity.data << "}";
}

class MimeTest : public OpenDatabaseTest {
  protected:
    Entity Read(NOTEHANDLE note, PMIMEENTITY entity) {
        Entity read = {MIMEEntityGetType(entity), MIMEEntityContentType(entity), 99, "-", ""};
        EXPECT_EQ(MIMEGetEntityPartFlags(note, entity, &read.flags), 0);
        DHANDLE handle = 0;
        uint32_t length = 0;
        if (MIMEEntityGetTypeParam(entity, MIME_PARAM_CHARSET, &handle, &length) == 0) {
            read.charset = BlockBytes(handle, length + 1);
            EXPECT_EQ(read.charset.back(), '\0');
            read.charset.pop_back();
            EXPECT_EQ(OSMemFree(handle), 0x0108);
        }
        uint32_t encoded = 0;
        EXPECT_EQ(MIMEGetDecodedEntityData(note, entity, 0, 0xFFFFFFFF, &handle, &length, &encoded),
                  0);
        read.data = BlockBytes(handle, length);
        EXPECT_EQ(encoded, length);
        return read;
    }
};

TEST_F(MimeTest, WalksTheEntitiesDepthFirst) {
    const NOTEHANDLE note = Open(200, OPEN_RAW_MIME);
    HMIMEDIRECTORY directory = 0;
    ASSERT_EQ(MIMEOpenDirectory(note, &directory), 0);
    PMIMEENTITY root = nullptr;
    ASSERT_EQ(MIMEGetRootEntity(directory, &root), 0);
    std::vector<Entity> walked;
    PMIMEENTITY entity = root;
    while (MIMEEntityGetType(entity) != MIME_ENTITY_NONE) {
        walked.push_back(Read(note, entity));
        ASSERT_EQ(MIMEIterateNext(directory, root, entity, &entity), 0);
    }
    EXPECT_EQ(entity, nullptr);
    const std::vector<Entity> expected = {
        {MIME_ENTITY_MULTIPART, 30, 0, "-", ""},
        {MIME_ENTITY_MULTIPART, 31, 0, "-", ""},
        {MIME_ENTITY_PART, MIME_CONTENT_TEXT_PLAIN, 0, "US-ASCII", "plain line\r\nsecond"},
        {MIME_ENTITY_PART, MIME_CONTENT_TEXT_HTML, 0, "UTF-8", "<b>html</b>"},
        {MIME_ENTITY_PART, 52, MIME_PART_BODY_IN_DBOBJECT, "-", "\x89PNG"},
    };
    EXPECT_EQ(walked, expected);
    EXPECT_GT(Counts().memoryAllocated, 0u);
    EXPECT_EQ(Counts().mimeDirectories, 1u);

    EXPECT_EQ(MIMEFreeDirectory(directory), 0);
    EXPECT_EQ(Counts().memoryAllocated, 0u);
    EXPECT_EQ(MIMEEntityGetType(root), MIME_ENTITY_NONE);
    EXPECT_EQ(MIMEFreeDirectory(directory), 0x0108);
    EXPECT_EQ(NSFNoteClose(note), 0);
}

TEST_F(MimeTest, IteratesWithinTheGivenRootAndReadsPiecesOfData) {
    const NOTEHANDLE note = Open(200, OPEN_RAW_MIME);
    HMIMEDIRECTORY directory = 0;
    ASSERT_EQ(MIMEOpenDirectory(note, &directory), 0);
    PMIMEENTITY root = nullptr, alternative = nullptr, plain = nullptr, html = nullptr,
                after = nullptr;
    ASSERT_EQ(MIMEGetRootEntity(directory, &root), 0);
    ASSERT_EQ(MIMEIterateNext(directory, root, root, &alternative), 0);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, nullptr, &after), 0);
    EXPECT_EQ(after, alternative);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, alternative, &plain), 0);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, plain, &html), 0);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, html, &after), 0);
    EXPECT_EQ(after, nullptr);
    EXPECT_EQ(MIMEIterateNext(directory, plain, html, &after), 0x0109);

    DHANDLE data = 0;
    uint32_t length = 0;
    ASSERT_EQ(MIMEGetEntityData(note, plain, MIME_DATA_BODY, 6, 4, &data, &length), 0);
    EXPECT_EQ(BlockBytes(data, length), "line");
    ASSERT_EQ(MIMEGetEntityData(note, plain, MIME_DATA_BODY, 100, 4, &data, &length), 0);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(MIMEGetEntityData(note, plain, 1, 0, 4, &data, &length), 0x0109);
    EXPECT_EQ(MIMEEntityGetTypeParam(root, MIME_PARAM_CHARSET, &data, &length), ERR_NOT_FOUND);
    EXPECT_EQ(MIMEEntityGetTypeParam(plain, 36, &data, &length), ERR_NOT_FOUND);

    const NOTEHANDLE other = Open(200, OPEN_RAW_MIME);
    uint32_t flags = 0;
    EXPECT_EQ(MIMEGetEntityPartFlags(other, plain, &flags), 0x0109);
    EXPECT_EQ(NSFNoteClose(other), 0);
    EXPECT_EQ(MIMEFreeDirectory(directory), 0);
    EXPECT_EQ(NSFNoteClose(note), 0);
}

TEST_F(MimeTest, WithoutTheFlagTheBodyIsRichTextOfTheFirstTextPart) {
    const NOTEHANDLE note = Open(200);
    HMIMEDIRECTORY directory = 7;
    EXPECT_EQ(MIMEOpenDirectory(note, &directory), 0x0113);
    EXPECT_EQ(directory, 7u);
    BLOCKID value = {};
    uint16_t type = 0;
    uint32_t length = 0;
    ASSERT_EQ(NSFItemInfo(note, "Body", 4, nullptr, &type, &value, &length), 0);
    EXPECT_EQ(type, TYPE_COMPOSITE);
    DHANDLE text = 0;
    uint32_t textLength = 0;
    ASSERT_EQ(ConvertItemToText(value, length, "\r\n", 100, &text, &textLength, 1), 0);
    EXPECT_EQ(BlockBytes(text, textLength), "plain line\r\nsecond");
    EXPECT_EQ(OSMemFree(text), 0);
    EXPECT_EQ(NSFNoteClose(note), 0);

    const NOTEHANDLE noMime = Open(100, OPEN_RAW_MIME);
    EXPECT_EQ(MIMEOpenDirectory(noMime, &directory), 0x0113);
    EXPECT_EQ(NSFNoteClose(noMime), 0);
}

} // namespace
