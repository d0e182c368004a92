// A Notes installation with a local and a server address book, the library's object, and the
// checks every contact test ends with: nothing open beyond the address books, no temporary
// file left.
#pragma once

#include "KorvoLotusC.h"
#include "data_rows.h"
#include "runtime_case.h"

#include "platform/testing/scoped_registry.h"

#include <filesystem>
#include <string>
#include <vector>

class ContactsTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The object after Init (type).
    IKorvoLotus* Started(int32_t type = 2);

    // ResolveContact(query) or, with several terms or search set, ResolveContactBySearchQuery.
    int32_t Resolve(const std::vector<std::string>& terms, bool search,
                    std::vector<ContactInfo>& results);

    // True when the trace holds a line of function with message.
    static bool Traced(const std::vector<korvo_test::TraceLine>& trace, const std::string& function,
                       const std::string& message);

    korvo_test::NotesInstallation installation{
        {"MailType=0", "MailServer=CN=Mail01/O=Acme"}}; // the Notes installation
    platform::testing::ScopedRegistry registry;         // points the library at it
    std::filesystem::path tempFolder;       // the temporary directory the library is given
    std::vector<std::string> savedTempVars; // TMPDIR, TMP and TEMP as they were ("\n": unset)
};

// Every non-empty string member of a record as "name=value" (UTF-8) joined by "|", then the
// found flag, the photo flag, the UNID in hexadecimal and, when there is a photo, its
// SHA-256: the record as the host writes it (string members first).
std::string Describe(const ContactInfo& contact);
