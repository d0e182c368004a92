// What the toolkit suites share: text in both widths, the rows kept in data/ (C escapes
// \xHH, \0, \t, \r, \n and \\ decoded in every field), and a temporary directory for one test:
// made under the toolkit's temporary directory, removed with everything in it afterwards
// (through std::filesystem, independently of the toolkit), with a check that the test left
// the current directory as it found it.
#pragma once

#include "platform/wintypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using WText = std::basic_string<WCHAR>;
using Fields = std::vector<std::string>;

// text, which must be ASCII, as wide text.
WText W(const std::string& ascii);

// The ASCII form of wide text made of ASCII characters.
std::string Narrow(const WText& text);

// The units of UTF-8 text of the Basic Multilingual Plane (how data/ holds wide text).
WText Wide(const std::string& utf8);

// A number field of a row.
unsigned Unsigned(const std::string& field);

// The rows of data/name, decoded, without the line naming the fields.
std::vector<Fields> Rows(const std::string& name);

class TempTree : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The path of name inside the tree (name may hold '/' between its components).
    WText Path(const std::string& name) const;
    void MakeDirectory(const std::string& name) const;
    void MakeFile(const std::string& name, const std::string& content) const;

    WText m_root;           // the tree's directory, without a final separator
    WText m_startDirectory; // the current directory when the test began
};
