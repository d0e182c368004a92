// The interface object driven by text steps against a mail server with its address book, a
// local address book and the user's mail file (from tests/data/calendarops). A step is a
// command and its "|"-separated arguments:
//   init N, uninit, clear, profile, list START|END, instance KEY|START|END, get KEY,
//   delete KEY, smtp NAME, send SUBJECT|RECIPIENTS|BODY, resolve QUERY, search TERM|TERM...,
//   clock YYYY-MM-DD HH:MM, shift NOTEID|SECONDS, remove NOTEID
// Dates are YYYY-MM-DD. Each operation's transcript holds the step, the result, the document
// or the contacts found, and the attendee-resolution log lines.
#pragma once

#include "KorvoLotusC.h"
#include "data_file.h"
#include "notes_installation.h"
#include "trace_recorder.h"

#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace korvo_test {

std::vector<std::string> SplitText(const std::string& text, char separator);

// The FILETIME whose UTC fields are the day "YYYY-MM-DD" at 12:00 (read as the host reads
// its date arguments).
FILETIME Day(const std::string& text);

// The UTF-8 form of UTF-16 text (the platform's conversion, compared with ICU by
// platform_reference_tests).
std::string Utf8(const WCHAR* text, size_t length);

// After an operation the runtime holds the two address books at most and nothing else; step
// names the operation in a failure.
void ExpectBaseline(const std::string& step);

class OperationsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs one step on object and returns its transcript ("" for the steps that only change
    // the clock or the mail file). Checks the runtime's accounting afterwards.
    std::string Run(const std::string& step, IKorvoLotus* object);

    // Runs the ";"-separated steps in turn and returns their transcripts.
    std::string RunAll(const std::string& steps, IKorvoLotus* object);

    // Writes the mail file and the server's mail.box as they were at the start.
    void ResetMail();

    // Writes the mail file from m_mail.
    void WriteMail();

    // The note of m_mail with this note ID; throws when there is none.
    nlohmann::json& Note(const std::string& noteId);

    NotesInstallation m_installation{
        {"MailType=0", "MailServer=CN=Mail1/O=Acme", "MailFile=mail/ann.nsf"}};
    platform::testing::ScopedRegistry m_registry; // PROGDIR and the notes.ini path
    nlohmann::json m_mail;                        // the user's mail file as written
    std::vector<TraceLine> m_trace;               // what the last operation logged
};

} // namespace korvo_test
