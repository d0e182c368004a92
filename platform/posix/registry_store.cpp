#include "registry_store.h"

#include "case_fold.h"
#include "text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace platform::detail {
namespace {

constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kBlanks = " \t";

// The views a section header's suffix admits.
enum class SectionViews { All, Only64, Only32 };

// The parts of a well-formed section header.
struct SectionHeader {
    WideString keyPath; // below HKEY_CURRENT_USER, without outer backslashes; empty for the root
    SectionViews views; // where the section is seen
};

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool EqualIgnoringCase(const WideString& a, const WideString& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

// True when path names a key below ancestor (ancestor empty: the root).
bool IsBelow(const WideString& path, const WideString& ancestor) {
    if (ancestor.empty())
        return !path.empty();
    return path.size() > ancestor.size() && path[ancestor.size()] == u'\\' &&
           EqualIgnoringCase(path.substr(0, ancestor.size()), ancestor);
}

// A key path without leading and trailing backslashes, which name the same key.
WideString NormalizeKeyPath(WideString path) {
    const size_t first = path.find_first_not_of(u'\\');
    if (first == WideString::npos)
        return {};
    return path.substr(first, path.find_last_not_of(u'\\') - first + 1);
}

bool Visible(SectionViews views, RegistryView view) {
    switch (views) {
    case SectionViews::Only64:
        return view == RegistryView::Force64;
    case SectionViews::Only32:
        return view == RegistryView::Force32;
    default:
        return true;
    }
}

// Parses a trimmed line that starts with '['; false when it is malformed or names a key
// outside HKEY_CURRENT_USER.
bool ParseSectionHeader(std::string_view line, SectionHeader* header) {
    const size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return false;
    const std::string_view suffix = Trim(line.substr(close + 1));
    if (suffix.empty())
        header->views = SectionViews::All;
    else if (suffix == "(64)")
        header->views = SectionViews::Only64;
    else if (suffix == "(32)")
        header->views = SectionViews::Only32;
    else
        return false;
    const WideString path = Utf8ToWide(Trim(line.substr(1, close - 1)));
    const WideString root = Utf8ToWide(kRootName);
    if (path.size() < root.size() || !EqualIgnoringCase(path.substr(0, root.size()), root))
        return false;
    if (path.size() > root.size() && path[root.size()] != u'\\')
        return false;
    header->keyPath = NormalizeKeyPath(path.substr(root.size()));
    return true;
}

// Sets name to data in *values, replacing an earlier value of that name.
void SetValue(WideString name, WideString data, std::vector<StoreValue>* values) {
    for (StoreValue& value : *values) {
        if (EqualIgnoringCase(value.name, name)) {
            value.data = std::move(data);
            return;
        }
    }
    values->push_back(StoreValue{std::move(name), std::move(data)});
}

// Reads the whole file at path into *text; 0 or the errno of the failure.
int ReadStoreFile(const std::string& path, std::string* text) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buffer[4096];
    int err = 0;
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            text->append(buffer, static_cast<size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            err = errno;
            break;
        }
    }
    close(fd);
    return err;
}

std::string NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

std::string RegistryStorePath() {
    const std::string explicitPath = NonEmptyEnv("KORVO_REGISTRY");
    if (!explicitPath.empty())
        return explicitPath;
    const std::string configHome = NonEmptyEnv("XDG_CONFIG_HOME");
    if (!configHome.empty())
        return configHome + "/korvolotus/registry.ini";
    const std::string home = NonEmptyEnv("HOME");
    if (!home.empty())
        return home + "/.config/korvolotus/registry.ini";
    return {};
}

long LoadRegistryKey(const WideString& subKey, RegistryView view, std::vector<StoreValue>* values) {
    const WideString target = NormalizeKeyPath(subKey);
    std::string text;
    const std::string path = RegistryStorePath();
    const int err = path.empty() ? ENOENT : ReadStoreFile(path, &text);
    if (err != 0 && err != ENOENT && err != ENOTDIR)
        return kErrorAccessDenied;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);

    bool exists = target.empty(); // the root always exists
    bool inTarget = false;        // the lines read belong to a section of the key
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
            continue;
        if (trimmed[0] == '[') {
            SectionHeader header;
            inTarget = false;
            if (ParseSectionHeader(trimmed, &header) && Visible(header.views, view)) {
                inTarget = EqualIgnoringCase(header.keyPath, target);
                exists = exists || inTarget || IsBelow(header.keyPath, target);
            }
            continue;
        }
        const size_t equals = line.find('=');
        if (!inTarget || equals == std::string_view::npos)
            continue;
        SetValue(Utf8ToWide(Trim(line.substr(0, equals))), Utf8ToWide(line.substr(equals + 1)),
                 values);
    }
    return exists ? kErrorSuccess : kErrorFileNotFound;
}

} // namespace platform::detail
