// The POSIX registry store: any bytes as the store file ($KORVO_REGISTRY, in a folder of this
// process), read through RegOpenCurrentUserKey and RegQueryString in all three views. The
// keys asked for are the fixed ones the library reads and those the input's section lines
// name; the values, the names its lines give. Checked: the root key always exists; a key or
// value seen in the default view is seen in the 64-bit and 32-bit views too; key paths answer
// the same in another case and between extra backslashes, value names in another case; a
// value reads as its size says, NUL-terminated, with no line break inside, and a buffer one
// character short gives kErrorMoreData.
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/registry.h"
#include "scratch_folder.h"

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::RegistryKey;
using platform::RegistryView;
using WideText = std::basic_string<WCHAR>;

// The most key paths and value names taken from one input.
constexpr size_t kMaxKeys = 6;
constexpr size_t kMaxNames = 10;

constexpr RegistryView kViews[] = {RegistryView::Default, RegistryView::Force64,
                                   RegistryView::Force32};

// The folder holding the store file that $KORVO_REGISTRY names.
class StoreFolder : public korvo_fuzz::ScratchFolder {
  public:
    StoreFolder() : ScratchFolder("registry") {
        setenv("KORVO_REGISTRY", (Root() / "registry.ini").c_str(), 1);
    }
    void WriteStore(const std::string& content) const { Write("registry.ini", content); }
};

void Require(bool condition) {
    if (!condition)
        std::abort();
}

WideText Widen(const std::string& utf8) {
    if (utf8.empty())
        return WideText();
    WideText wide(utf8.size(), 0);
    const int units = platform::MultiByteToWideChar(platform::kCodePageUtf8, 0, utf8.data(),
                                                    static_cast<int>(utf8.size()), wide.data(),
                                                    static_cast<int>(wide.size()));
    wide.resize(units > 0 ? static_cast<size_t>(units) : 0);
    return wide;
}

WideText UpperAscii(WideText text) {
    for (WCHAR& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<WCHAR>(c - 'a' + 'A');
    }
    return text;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void AddOnce(std::vector<WideText>& list, const WideText& entry, size_t limit) {
    if (list.size() < limit && entry.find(WCHAR()) == WideText::npos &&
        std::find(list.begin(), list.end(), entry) == list.end())
        list.push_back(entry);
}

// The key paths and value names the input's lines suggest, after the fixed ones.
void Candidates(const std::string& text, std::vector<WideText>& keys,
                std::vector<WideText>& names) {
    AddOnce(keys, WideText(), kMaxKeys);
    AddOnce(keys, KORVO_W("Software\\Vendra Systems, Inc.\\MeetingIntegration"), kMaxKeys);
    AddOnce(keys, KORVO_W("SOFTWARE\\IBM\\NOTES\\INSTALLER"), kMaxKeys);
    AddOnce(names, WideText(), kMaxNames);
    AddOnce(names, KORVO_W("NotesIniPath"), kMaxNames);
    const std::string root = "hkey_current_user";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        const size_t close = line.rfind(']');
        if (!line.empty() && line[0] == '[' && close != std::string::npos) {
            std::string path = Trim(line.substr(1, close - 1));
            std::string head = path.substr(0, root.size());
            for (char& c : head)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (head == root)
                path.erase(0, root.size());
            AddOnce(keys, Widen(path), kMaxKeys);
        } else if (line.find('=') != std::string::npos) {
            AddOnce(names, Widen(Trim(line.substr(0, line.find('=')))), kMaxNames);
        }
    }
}

// A value as RegQueryString gives it, checked on the way; nothing when the key lacks it.
std::optional<WideText> ReadValue(RegistryKey key, const WideText& name) {
    uint32_t bytes = 0;
    const long sized = platform::RegQueryString(key, name.c_str(), nullptr, &bytes);
    if (sized == platform::kErrorFileNotFound)
        return std::nullopt;
    Require(sized == platform::kErrorSuccess && bytes >= sizeof(WCHAR) &&
            bytes % sizeof(WCHAR) == 0);
    std::vector<WCHAR> data(bytes / sizeof(WCHAR));
    uint32_t room = bytes;
    Require(platform::RegQueryString(key, name.c_str(), data.data(), &room) ==
                platform::kErrorSuccess &&
            room == bytes && data.back() == WCHAR());
    room = bytes - sizeof(WCHAR);
    Require(platform::RegQueryString(key, name.c_str(), data.data(), &room) ==
                platform::kErrorMoreData &&
            room == bytes);
    const WideText value(data.begin(), data.end() - 1);
    Require(value.find(WCHAR('\n')) == WideText::npos);
    return value;
}

// What a key shows in one view: whether it exists and the values of the candidate names.
struct KeyView {
    bool exists = false;                         // the key opened
    std::vector<std::optional<WideText>> values; // by candidate name
};

KeyView ReadKey(const WideText& path, RegistryView view, const std::vector<WideText>& names) {
    KeyView seen;
    RegistryKey key = nullptr;
    const long opened = platform::RegOpenCurrentUserKey(path.c_str(), view, &key);
    Require(opened == platform::kErrorSuccess || opened == platform::kErrorFileNotFound);
    Require((opened == platform::kErrorSuccess) == (key != nullptr));
    seen.exists = key != nullptr;
    for (const WideText& name : names) {
        seen.values.push_back(seen.exists ? ReadValue(key, name) : std::nullopt);
        if (seen.exists)
            Require(ReadValue(key, UpperAscii(name)) == seen.values.back());
    }
    if (key != nullptr)
        Require(platform::RegCloseKey(key) == platform::kErrorSuccess);
    return seen;
}

bool SameView(const KeyView& a, const KeyView& b) {
    return a.exists == b.exists && a.values == b.values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const StoreFolder folder;
    const std::string text(reinterpret_cast<const char*>(data), size);
    folder.WriteStore(text);

    std::vector<WideText> keys;
    std::vector<WideText> names;
    Candidates(text, keys, names);
    for (const WideText& path : keys) {
        std::vector<KeyView> views;
        for (RegistryView view : kViews)
            views.push_back(ReadKey(path, view, names));
        Require(!path.empty() || views[0].exists);
        for (size_t v = 1; v < views.size(); ++v) {
            Require(!views[0].exists || views[v].exists);
            for (size_t n = 0; n < names.size(); ++n)
                Require(!views[0].values[n] || views[v].values[n]);
        }
        const WideText framed = KORVO_W("\\") + UpperAscii(path) + KORVO_W("\\\\");
        Require(SameView(views[0], ReadKey(framed, RegistryView::Default, names)));
    }
    return 0;
}
