#include "contacts_fixture.h"

#include "hex.h"
#include "sha256.h"
#include "text_convert.h"

#include "platform/fs.h"
#include "platform/process.h"

#include <fstream>
#include <sstream>

namespace {

std::string Fixture(const std::string& name) {
    std::ifstream stream(std::filesystem::path(CONTACTS_FIXTURES) / name, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

const char* const kTempVariables[] = {"TMPDIR", "TMP", "TEMP"}; // where systems find it

std::string Utf8(const CString& text) {
    return host::Utf16ToUtf8(text.data(), text.size());
}

} // namespace

void ContactsTest::SetUp() {
    NotesrtReset();
    korvo_test::ClearTraceLines();
    installation.WriteDataFile("names.nsf", Fixture("names.nsf"));
    installation.WriteDataFile("servers/Mail01/names.nsf", Fixture("server_names.nsf"));
    registry.SetValue("SOFTWARE\\IBM\\NOTES\\INSTALLER", "PROGDIR",
                      korvo_test::PathText(installation.Root()));
    registry.SetValue("Software\\Vendra Systems, Inc.\\MeetingIntegration", "NotesIniPath",
                      korvo_test::PathText(installation.IniPath()));
    tempFolder = installation.Root() / "temp";
    std::filesystem::create_directory(tempFolder);
    const std::string folder = korvo_test::PathText(tempFolder) + "/";
    for (const char* name : kTempVariables) {
        const char* value = platform::GetEnv(name);
        savedTempVars.push_back(value != nullptr ? value : "\n");
        platform::SetEnv(name, folder.c_str());
    }
    char temp[platform::kMaxPath] = {};
    ASSERT_GT(platform::GetTempPathA(sizeof temp, temp), 0u);
    ASSERT_EQ(std::filesystem::path(temp).lexically_normal(), (tempFolder / "").lexically_normal());
}

void ContactsTest::TearDown() {
    DllDeleteKorvoLotusClassObject();
    EXPECT_EQ(OpenThings(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(tempFolder)) << "a temporary file was left";
    for (size_t i = 0; i < savedTempVars.size(); ++i)
        platform::SetEnv(kTempVariables[i],
                         savedTempVars[i] == "\n" ? nullptr : savedTempVars[i].c_str());
    NotesrtReset();
}

IKorvoLotus* ContactsTest::Started(int32_t type) {
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    EXPECT_EQ(object->Init(type), 0);
    korvo_test::ClearTraceLines();
    return object;
}

int32_t ContactsTest::Resolve(const std::vector<std::string>& terms, bool search,
                              std::vector<ContactInfo>& results) {
    std::vector<CString> wide;
    for (const std::string& term : terms)
        wide.push_back(host::Utf8ToUtf16(term));
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    if (search || terms.size() != 1)
        return object->ResolveContactBySearchQuery(wide, results);
    return object->ResolveContact(wide[0], results, false, 0);
}

uint32_t ContactsTest::OpenThings() {
    NotesrtCounts counts = {};
    NotesrtGetCounts(&counts);
    return counts.databases + counts.notes + counts.collections + counts.memoryAllocated;
}

bool ContactsTest::Traced(const std::vector<korvo_test::TraceLine>& trace,
                          const std::string& function, const std::string& message) {
    for (const korvo_test::TraceLine& line : trace) {
        if (line.function == function && line.message.rfind(message, 0) == 0)
            return true;
    }
    return false;
}

std::string Describe(const ContactInfo& contact) {
    const std::pair<const char*, const CString*> members[] = {
        {"fullName", &contact.fullName},
        {"firstName", &contact.firstName},
        {"lastName", &contact.lastName},
        {"email", &contact.email},
        {"imLogin", &contact.imLogin},
        {"jobTitle", &contact.jobTitle},
        {"company", &contact.company},
        {"department", &contact.department},
        {"officePhone", &contact.officePhone},
        {"cellPhone", &contact.cellPhone},
        {"faxPhone", &contact.faxPhone},
        {"phone", &contact.phone},
        {"webSite", &contact.webSite},
        {"extra1", &contact.extra1},
        {"officeCountry", &contact.officeCountry},
        {"officeZip", &contact.officeZip},
        {"officeState", &contact.officeState},
        {"officeStreet", &contact.officeStreet},
        {"officeCity", &contact.officeCity},
        {"extra2", &contact.extra2}};
    std::string text;
    for (const auto& [name, member] : members) {
        if (!member->empty())
            text += std::string(name) + "=" + Utf8(*member) + "|";
    }
    return text + "found=" + std::to_string(contact.allFieldsFound) +
           "|photo=" + std::to_string(contact.hasPhoto) + "|unid=" +
           host::HexEncode(contact.unidBytes.Data(), contact.unidBytes.Size(),
                           host::HexCase::Upper);
}

std::string PhotoSha256(const ContactInfo& contact) {
    const host::Sha256Digest digest = host::Sha256(contact.photo.Data(), contact.photo.Size());
    return host::HexEncode(digest.data(), digest.size(), host::HexCase::Lower);
}
