#include "platform/testing/scoped_registry.h"

#include "platform/codepage.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace platform::testing {
namespace {

// One section of the store file.
struct Section {
    std::string keyPath; // below HKEY_CURRENT_USER, as the test gave it
    RegistryView view;   // Default, or the one view the section is limited to
    std::vector<std::pair<std::string, std::string>> values; // name and text, in UTF-8
};

std::string Utf8Of(const std::basic_string<WCHAR>& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int bytes =
        platform::WideCharToMultiByte(kCodePageUtf8, 0, text.data(), size, nullptr, 0);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    platform::WideCharToMultiByte(kCodePageUtf8, 0, text.data(), size, utf8.data(), bytes);
    return utf8;
}

const char* SuffixOf(RegistryView view) {
    switch (view) {
    case RegistryView::Force64:
        return " (64)";
    case RegistryView::Force32:
        return " (32)";
    default:
        return "";
    }
}

} // namespace

struct ScopedRegistry::Impl {
    std::string directory;         // the temporary folder holding the store
    std::string storePath;         // the store file, made on first write
    bool hadPrevious = false;      // $KORVO_REGISTRY was set before the fixture
    std::string previous;          // its value then
    std::string rawText;           // text from WriteRawStoreForTesting, written first
    std::vector<Section> sections; // the values set, in order

    void Write() const {
        std::ofstream file(storePath, std::ios::binary | std::ios::trunc);
        file << rawText;
        if (!rawText.empty() && rawText.back() != '\n')
            file << '\n';
        for (const Section& section : sections) {
            file << "[HKEY_CURRENT_USER\\" << section.keyPath << ']' << SuffixOf(section.view)
                 << '\n';
            for (const auto& [name, text] : section.values)
                file << name << '=' << text << '\n';
        }
        if (!file.flush())
            throw std::runtime_error("cannot write the registry store " + storePath);
    }
};

ScopedRegistry::ScopedRegistry() : m_impl(std::make_unique<Impl>()) {
    const char* tmpdir = getenv("TMPDIR");
    std::string pattern = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
    pattern += "/korvo-registry-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder for the registry store");
    m_impl->directory = pattern;
    m_impl->storePath = pattern + "/registry.ini";
    const char* previous = getenv("KORVO_REGISTRY");
    m_impl->hadPrevious = previous != nullptr;
    m_impl->previous = previous != nullptr ? previous : "";
    setenv("KORVO_REGISTRY", m_impl->storePath.c_str(), 1);
}

ScopedRegistry::~ScopedRegistry() {
    unlink(m_impl->storePath.c_str());
    rmdir(m_impl->directory.c_str());
    if (m_impl->hadPrevious)
        setenv("KORVO_REGISTRY", m_impl->previous.c_str(), 1);
    else
        unsetenv("KORVO_REGISTRY");
}

void ScopedRegistry::SetValue(const std::string& keyPathUtf8, const std::string& nameUtf8,
                              const std::basic_string<WCHAR>& value, RegistryView onlyView) {
    SetValue(keyPathUtf8, nameUtf8, Utf8Of(value), onlyView);
}

void ScopedRegistry::SetValue(const std::string& keyPathUtf8, const std::string& nameUtf8,
                              const std::string& valueUtf8, RegistryView onlyView) {
    if (valueUtf8.find_first_of("\r\n") != std::string::npos ||
        nameUtf8.find_first_of("=\r\n") != std::string::npos)
        throw std::runtime_error("the registry store cannot hold the value " + nameUtf8);
    Section* section = nullptr;
    for (Section& candidate : m_impl->sections) {
        if (candidate.keyPath == keyPathUtf8 && candidate.view == onlyView)
            section = &candidate;
    }
    if (section == nullptr)
        section = &m_impl->sections.emplace_back(Section{keyPathUtf8, onlyView, {}});
    bool replaced = false;
    for (auto& [name, text] : section->values) {
        if (name == nameUtf8) {
            text = valueUtf8;
            replaced = true;
        }
    }
    if (!replaced)
        section->values.emplace_back(nameUtf8, valueUtf8);
    m_impl->Write();
}

void ScopedRegistry::WriteRawStoreForTesting(const std::string& text) {
    m_impl->rawText = text;
    m_impl->Write();
}

} // namespace platform::testing
