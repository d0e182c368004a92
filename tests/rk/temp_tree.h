// A temporary directory for one test: made under the toolkit's temporary directory, removed
// with everything in it afterwards (through std::filesystem, independently of the toolkit),
// and a check that the test left the current directory as it found it.
#pragma once

#include "platform/wintypes.h"

#include <gtest/gtest.h>

#include <string>

using WText = std::basic_string<WCHAR>;

// text, which must be ASCII, as wide text.
WText W(const std::string& ascii);

// The ASCII form of wide text made of ASCII characters.
std::string Narrow(const WText& text);

// The current directory.
WText CurrentDirectory();

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
