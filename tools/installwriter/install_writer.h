// Writing a Notes installation for the substitute runtime: notes.ini, the ID file, the
// local and the server address book, the router's mail.box and the user's mail file, plus a
// registry store that points the library at it. Used by the tools that make installations
// (the large-installation generator and the calendar/directory import).
//
// Databases are streamed note by note, so an installation of any size is written in
// constant memory. The installation is built in a temporary folder beside its target and
// renamed into place by Commit(); a writer destroyed before Commit() removes what it wrote,
// so a failed run leaves nothing behind.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvo_install {

using Json = nlohmann::ordered_json;

// A failure to write; its text names the file.
struct WriteError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Item values in the forms a database file holds them.
Json TimeValue(const std::string& isoLocal);                       // {"time": "..."}
Json TimeListValue(const std::vector<std::string>& isoLocal);      // {"times": [...]}
Json RichTextValue(const std::string& lines);                      // {"richtext": "..."}
Json FileValue(const std::string& name, const std::string& bytes); // {"file": {...}} base64
// A MIME body: multipart/alternative of a text/plain and a text/html part (UTF-8).
Json MimeAlternativeValue(const std::string& plain, const std::string& html);

// Bytes as base64 text, padded, without line breaks.
std::string Base64(const std::string& bytes);

// The 32-digit UNID of note number index (from 0) of a database with replicaId, in the form
// the runtime derives for notes without one.
std::string DerivedUnid(const std::string& replicaId, uint64_t index);

// One note under construction: its items in order.
class NoteBuilder {
  public:
    NoteBuilder& Id(uint32_t noteId);           // "noteId"; 0: derived from the position
    NoteBuilder& Unid(const std::string& unid); // "unid"; empty: derived from the position
    NoteBuilder& View();                        // "class": "view"
    NoteBuilder& Item(const std::string& name, Json value);
    const Json& Object() const { return m_note; }

  private:
    Json m_note = Json::object(); // the note as the file holds it
};

// One database file written note by note. Not copyable; the file is complete after Close().
class DatabaseWriter {
  public:
    // Opens file and writes the header. replicaId and dbId: 16 hexadecimal digits (dbId may
    // be empty). Throws WriteError when the file cannot be created.
    DatabaseWriter(const std::filesystem::path& file, const std::string& title,
                   const std::string& replicaId, const std::string& dbId = "");
    ~DatabaseWriter();
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    // Appends a note (one line per item). Returns its position in the file, from 0.
    uint64_t Add(const NoteBuilder& note);
    // Appends a view design note named title. View notes take note IDs from 0x7FFF0000 up,
    // which the caller's notes must leave free.
    void AddView(const std::string& title);
    // Writes the end of the file and closes it; throws WriteError on a write failure.
    void Close();

    const std::string& ReplicaId() const { return m_replicaId; }

  private:
    std::filesystem::path m_file; // where it is written
    std::string m_replicaId;      // for derived UNIDs
    std::ofstream m_out;          // open until Close()
    uint64_t m_count = 0;         // notes written so far
    uint32_t m_views = 0;         // view notes written so far
    bool m_closed = false;        // Close() ran
};

// What the installation says about its user and servers.
struct Layout {
    std::string userName = "CN=Ann Lee/O=Acme"; // the ID file's canonical name
    std::string mailServer = "CN=Mail1/O=Acme"; // MailServer; empty: the mail file is local
    std::string mailFile = "mail/user.nsf";     // MailFile, relative to the server folder
    std::string mailType = "0";                 // MailType
    std::vector<std::string> extraIniLines;     // more notes.ini lines, as written
};

// An installation being written into a temporary folder beside target.
class InstallationWriter {
  public:
    // target must not exist yet, or be an installation this writer may replace (replace).
    InstallationWriter(const std::filesystem::path& target, Layout layout, bool replace = false);
    ~InstallationWriter(); // removes the temporary folder unless committed
    InstallationWriter(const InstallationWriter&) = delete;
    InstallationWriter& operator=(const InstallationWriter&) = delete;

    // The four databases, opened on first use; the caller adds notes. Views are added by the
    // writer: $Users in the books; $MeetingsAllByDate2, ($Inbox)|$Inbox and $Sent in the mail
    // file.
    DatabaseWriter& LocalAddressBook();  // data/names.nsf
    DatabaseWriter& ServerAddressBook(); // data/servers/<server>/names.nsf
    DatabaseWriter& MailFile();          // the user's mail file
    DatabaseWriter& MailBox();           // data/servers/<server>/mail.box

    // Writes notes.ini, the ID file, every database not yet written (empty), closes them,
    // writes registry.ini (NotesIniPath and PROGDIR naming target), then renames the folder
    // to target. Throws WriteError on failure (nothing is left behind).
    void Commit();

    const Layout& Settings() const { return m_layout; }

  private:
    DatabaseWriter& Open(std::unique_ptr<DatabaseWriter>& slot, const std::filesystem::path& file,
                         const std::string& title, const std::string& replicaId);

    std::filesystem::path m_target;            // the folder it becomes
    std::filesystem::path m_temporary;         // the folder it is written in
    Layout m_layout;                           // notes.ini settings
    bool m_replace = false;                    // an existing target may be replaced
    bool m_committed = false;                  // Commit() succeeded
    std::unique_ptr<DatabaseWriter> m_local;   // names.nsf
    std::unique_ptr<DatabaseWriter> m_server;  // the server's names.nsf
    std::unique_ptr<DatabaseWriter> m_mail;    // the mail file
    std::unique_ptr<DatabaseWriter> m_mailBox; // mail.box
};

// The common name of a canonical or abbreviated name: the text between "CN=" and the first
// "/", or before the first "/".
std::string CommonName(const std::string& name);

} // namespace korvo_install
