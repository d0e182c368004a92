// Writing an installation for the substitute runtime.
#include "install_writer.h"

#include "base64.h"

#include <cstdio>
#include <random>
#include <system_error>

namespace korvo_install {
namespace {

namespace fs = std::filesystem;

// View notes get note IDs from here on, so they never meet the IDs a caller gives its notes.
constexpr uint32_t kFirstViewId = 0x7FFF0000u;

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    out.close();
    if (!out)
        throw WriteError("cannot write " + file.string());
}

// A folder name beside target that no one else uses.
fs::path TemporaryBeside(const fs::path& target) {
    std::random_device device;
    std::mt19937_64 random(device());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".tmp-%012llx",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        fs::path candidate = target;
        candidate += suffix;
        std::error_code error;
        if (fs::create_directories(candidate, error))
            return candidate;
    }
    throw WriteError("cannot make a temporary folder beside " + target.string());
}

std::string ServerFolderName(const std::string& server) {
    const std::string name = CommonName(server);
    if (name.empty() || name.find_first_of("/\\") != std::string::npos || name == "." ||
        name == "..")
        throw WriteError("the mail server \"" + server + "\" names no usable server folder");
    return name;
}

} // namespace

Json TimeValue(const std::string& isoLocal) {
    return Json{{"time", isoLocal}};
}

Json TimeListValue(const std::vector<std::string>& isoLocal) {
    return Json{{"times", isoLocal}};
}

Json RichTextValue(const std::string& lines) {
    return Json{{"richtext", lines}};
}

Json FileValue(const std::string& name, const std::string& bytes) {
    return Json{{"file", Json{{"name", name}, {"base64", Base64(bytes)}}}};
}

Json MimeAlternativeValue(const std::string& plain, const std::string& html) {
    Json parts = Json::array();
    parts.push_back(Json{{"contentType", "text/plain"}, {"charset", "UTF-8"}, {"text", plain}});
    parts.push_back(Json{{"contentType", "text/html"}, {"charset", "UTF-8"}, {"text", html}});
    return Json{{"mime", Json{{"contentType", "multipart/alternative"}, {"parts", parts}}}};
}

std::string Base64(const std::string& bytes) {
    return notesrt::EncodeBase64(bytes);
}

std::string DerivedUnid(const std::string& replicaId, uint64_t index) {
    char position[17];
    std::snprintf(position, sizeof position, "%016llX", static_cast<unsigned long long>(index));
    return replicaId + position;
}

std::string CommonName(const std::string& name) {
    const bool canonical = name.size() >= 3 && (name[0] == 'C' || name[0] == 'c') &&
                           (name[1] == 'N' || name[1] == 'n') && name[2] == '=';
    const size_t start = canonical ? 3 : 0;
    const size_t slash = name.find('/', start);
    return name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
}

NoteBuilder& NoteBuilder::Id(uint32_t noteId) {
    if (noteId != 0)
        m_note["noteId"] = noteId;
    return *this;
}

NoteBuilder& NoteBuilder::Unid(const std::string& unid) {
    if (!unid.empty())
        m_note["unid"] = unid;
    return *this;
}

NoteBuilder& NoteBuilder::View() {
    m_note["class"] = "view";
    return *this;
}

NoteBuilder& NoteBuilder::Item(const std::string& name, Json value) {
    m_note["items"].push_back(Json::array({name, std::move(value)}));
    return *this;
}

DatabaseWriter::DatabaseWriter(const fs::path& file, const std::string& title,
                               const std::string& replicaId, const std::string& dbId)
    : m_file(file), m_replicaId(replicaId), m_out(file, std::ios::binary) {
    if (!m_out)
        throw WriteError("cannot create " + file.string());
    m_out << "{\n  \"title\": " << Json(title).dump()
          << ",\n  \"replicaId\": " << Json(replicaId).dump();
    if (!dbId.empty())
        m_out << ",\n  \"dbId\": " << Json(dbId).dump();
    m_out << ",\n  \"notes\": [";
}

DatabaseWriter::~DatabaseWriter() = default;

uint64_t DatabaseWriter::Add(const NoteBuilder& note) {
    m_out << (m_count == 0 ? "\n    { " : ",\n    { ");
    const char* separator = "";
    for (const auto& field : note.Object().items()) {
        m_out << separator << Json(field.key()).dump() << ": ";
        separator = ", ";
        if (field.key() != "items") {
            m_out << field.value().dump();
            continue;
        }
        const char* itemSeparator = "[\n        ";
        for (const Json& item : field.value()) {
            m_out << itemSeparator << item.dump();
            itemSeparator = ",\n        ";
        }
        m_out << " ]";
    }
    m_out << " }";
    return m_count++;
}

void DatabaseWriter::AddView(const std::string& title) {
    Add(NoteBuilder().Id(kFirstViewId + 4 * m_views++).View().Item("$TITLE", title));
}

void DatabaseWriter::Close() {
    if (m_closed)
        return;
    m_closed = true;
    m_out << (m_count == 0 ? "]\n}\n" : "\n  ]\n}\n");
    m_out.close();
    if (!m_out)
        throw WriteError("cannot write " + m_file.string());
}

InstallationWriter::InstallationWriter(const fs::path& target, Layout layout, bool replace)
    : m_target(fs::absolute(target).lexically_normal()), m_layout(std::move(layout)),
      m_replace(replace) {
    if (m_target.filename().empty())
        m_target = m_target.parent_path();
    std::error_code error;
    if (fs::exists(m_target, error) && !m_replace)
        throw WriteError(m_target.string() + " exists already");
    if (!m_layout.mailServer.empty())
        ServerFolderName(m_layout.mailServer);
    fs::create_directories(m_target.parent_path(), error);
    m_temporary = TemporaryBeside(m_target);
}

InstallationWriter::~InstallationWriter() {
    m_local.reset();
    m_server.reset();
    m_mail.reset();
    m_mailBox.reset();
    if (!m_committed) {
        std::error_code error;
        fs::remove_all(m_temporary, error);
    }
}

DatabaseWriter& InstallationWriter::Open(std::unique_ptr<DatabaseWriter>& slot,
                                         const fs::path& file, const std::string& title,
                                         const std::string& replicaId) {
    if (!slot) {
        fs::create_directories(file.parent_path());
        slot = std::make_unique<DatabaseWriter>(file, title, replicaId);
    }
    return *slot;
}

DatabaseWriter& InstallationWriter::LocalAddressBook() {
    const bool first = !m_local;
    DatabaseWriter& book =
        Open(m_local, m_temporary / "data" / "names.nsf",
             CommonName(m_layout.userName) + "'s Address Book", "C1257E2B00360001");
    if (first)
        book.AddView("($Users)|$Users");
    return book;
}

DatabaseWriter& InstallationWriter::ServerAddressBook() {
    if (m_layout.mailServer.empty())
        throw WriteError("the installation has no mail server");
    const bool first = !m_server;
    DatabaseWriter& book =
        Open(m_server,
             m_temporary / "data" / "servers" / ServerFolderName(m_layout.mailServer) / "names.nsf",
             "Directory", "C1257E2B00360002");
    if (first)
        book.AddView("($Users)|$Users");
    return book;
}

DatabaseWriter& InstallationWriter::MailFile() {
    const bool first = !m_mail;
    const fs::path folder = m_layout.mailServer.empty() ? m_temporary / "data"
                                                        : m_temporary / "data" / "servers" /
                                                              ServerFolderName(m_layout.mailServer);
    DatabaseWriter& mail = Open(m_mail, folder / fs::u8path(m_layout.mailFile),
                                CommonName(m_layout.userName), "C1257E2B0036A1F2");
    if (first) {
        mail.AddView("$MeetingsAllByDate2");
        mail.AddView("($Inbox)|$Inbox");
        mail.AddView("$Sent");
    }
    return mail;
}

DatabaseWriter& InstallationWriter::MailBox() {
    if (m_layout.mailServer.empty())
        throw WriteError("the installation has no mail server");
    return Open(m_mailBox,
                m_temporary / "data" / "servers" / ServerFolderName(m_layout.mailServer) /
                    "mail.box",
                "Mail Router Mailbox", "C1257E2B00360003");
}

void InstallationWriter::Commit() {
    LocalAddressBook();
    MailFile();
    if (!m_layout.mailServer.empty()) {
        ServerAddressBook();
        MailBox();
    }
    for (auto* slot : {&m_local, &m_server, &m_mail, &m_mailBox}) {
        if (*slot)
            (*slot)->Close();
    }
    std::string ini =
        "[Notes]\nDirectory=data\nKeyFileName=user.id\nMailType=" + m_layout.mailType +
        "\nMailServer=" + m_layout.mailServer + "\nMailFile=" + m_layout.mailFile + "\n";
    for (const std::string& line : m_layout.extraIniLines)
        ini += line + "\n";
    WriteText(m_temporary / "notes.ini", ini);
    WriteText(m_temporary / "data" / "user.id", m_layout.userName + "\n");
    WriteText(m_temporary / "registry.ini",
              "[HKEY_CURRENT_USER\\Software\\Vendra Systems, Inc.\\MeetingIntegration]\n"
              "NotesIniPath=" +
                  (m_target / "notes.ini").u8string() +
                  "\n\n[HKEY_CURRENT_USER\\SOFTWARE\\IBM\\NOTES\\INSTALLER]\nPROGDIR=" +
                  m_target.u8string() + "\n");

    std::error_code error;
    fs::path previous;
    if (fs::exists(m_target, error)) {
        previous = TemporaryBeside(m_target);
        fs::remove(previous, error);
        fs::rename(m_target, previous, error);
        if (error)
            throw WriteError("cannot move " + m_target.string() + " aside: " + error.message());
    }
    fs::rename(m_temporary, m_target, error);
    if (error) {
        if (!previous.empty())
            fs::rename(previous, m_target, error);
        throw WriteError("cannot rename the installation into " + m_target.string());
    }
    m_committed = true;
    if (!previous.empty())
        fs::remove_all(previous, error);
}

} // namespace korvo_install
