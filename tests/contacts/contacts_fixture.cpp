#include "contacts_fixture.h"

#include "data_file.h"
#include "contact_json.h"
#include "text_convert.h"

#include <nlohmann/json.hpp>

#include "platform/fs.h"
#include "platform/process.h"

namespace {

std::string Fixture(const std::string& name) {
    return korvo_test::FileBytes(std::filesystem::path(CONTACTS_FIXTURES) / name);
}

const char* const kTempVariables[] = {"TMPDIR", "TMP", "TEMP"}; // where systems find it

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
    EXPECT_EQ(korvo_test::OpenHandles(), 0u);
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

bool ContactsTest::Traced(const std::vector<korvo_test::TraceLine>& trace,
                          const std::string& function, const std::string& message) {
    for (const korvo_test::TraceLine& line : trace) {
        if (line.function == function && line.message.rfind(message, 0) == 0)
            return true;
    }
    return false;
}

std::string Describe(const ContactInfo& contact) {
    const auto json = nlohmann::ordered_json::parse(host::ContactsJson({contact}))[0];
    std::string text;
    for (const auto& [name, value] : json.items()) {
        if (name == "unid")
            break;
        if (value != "")
            text += name + "=" + value.get<std::string>() + "|";
    }
    text += "found=" + json["allFieldsFound"].dump() + "|photo=" + json["hasPhoto"].dump() +
            "|unid=" + json["unid"].get<std::string>();
    if (json["photoSize"] != 0)
        text += "|sha256=" + json["photoSha256"].get<std::string>();
    return text;
}
