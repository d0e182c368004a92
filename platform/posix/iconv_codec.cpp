#include "iconv_codec.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <mutex>

namespace platform::detail {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Both directions of one code page.
struct ConverterPair {
    iconv_t toUtf16 = kNoConverter;   // code page to UTF-16LE
    iconv_t fromUtf16 = kNoConverter; // UTF-16LE to code page
};

std::mutex g_lock; // iconv state is not thread-safe: conversions run under this lock

// The converters opened so far, by code page. They stay open for the life of the process
// (the map is never destroyed, so no conversion can outlive it at exit). Use under g_lock.
std::map<unsigned, ConverterPair>& Converters() {
    static auto* converters = new std::map<unsigned, ConverterPair>;
    return *converters;
}

// The iconv name of a Windows code page.
std::string IconvName(unsigned codePage) {
    switch (codePage) {
    case 20127:
        return "ASCII";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 28603:
        return "ISO-8859-13";
    case 28605:
        return "ISO-8859-15";
    case 51932:
        return "EUC-JP";
    case 54936:
        return "GB18030";
    case 65000:
        return "UTF-7";
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28599)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

// The converters of codePage, opened if needed; a direction iconv lacks stays kNoConverter.
// Call with g_lock held.
ConverterPair& ConvertersFor(unsigned codePage) {
    auto found = Converters().find(codePage);
    if (found != Converters().end())
        return found->second;
    ConverterPair pair;
    const std::string name = IconvName(codePage);
    pair.toUtf16 = iconv_open("UTF-16LE", name.c_str());
    pair.fromUtf16 = iconv_open(name.c_str(), "UTF-16LE");
    return Converters().emplace(codePage, pair).first->second;
}

bool Supported(const ConverterPair& pair) {
    return pair.toUtf16 != kNoConverter && pair.fromUtf16 != kNoConverter;
}

// Appends little-endian UTF-16 bytes as units.
void AppendUtf16Le(const char* bytes, size_t size, WideString* out) {
    for (size_t i = 0; i + 1 < size; i += 2) {
        out->push_back(static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
}

// Converts one character (2 or 4 bytes of UTF-16LE) with cd into out; false when the page
// lacks it.
bool ConvertCharacter(iconv_t cd, char* in, size_t inSize, std::string* out) {
    char buffer[32];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t inLeft = inSize;
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    out->append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
}

} // namespace

bool IconvSupports(unsigned codePage) {
    std::lock_guard<std::mutex> guard(g_lock);
    return Supported(ConvertersFor(codePage));
}

bool DecodeIconv(unsigned codePage, std::string_view src, bool strict, WideString* out) {
    std::lock_guard<std::mutex> guard(g_lock);
    const ConverterPair& pair = ConvertersFor(codePage);
    if (!Supported(pair))
        return false;
    iconv(pair.toUtf16, nullptr, nullptr, nullptr, nullptr);
    std::string input(src);
    char* in = input.data();
    size_t inLeft = input.size();
    std::string buffer(4 * input.size() + 16, '\0');
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = iconv(pair.toUtf16, &in, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        AppendUtf16Le(buffer.data(), buffer.size() - outLeft, out);
        if (result != static_cast<size_t>(-1) || err == E2BIG)
            continue;
        if (strict)
            return false;
        out->push_back(static_cast<WCHAR>(kReplacementCharacter));
        if (err != EILSEQ)
            break; // a character cut short at the end
        ++in;
        --inLeft;
    }
    return true;
}

bool EncodeIconv(unsigned codePage, const WCHAR* src, size_t n, std::string* out,
                 std::vector<size_t>* ends) {
    std::lock_guard<std::mutex> guard(g_lock);
    const ConverterPair& pair = ConvertersFor(codePage);
    if (!Supported(pair))
        return false;
    iconv(pair.fromUtf16, nullptr, nullptr, nullptr, nullptr);
    for (size_t i = 0; i < n; ++i) {
        const size_t units = IsPairAt(src, n, i) ? 2 : 1;
        char bytes[4];
        for (size_t k = 0; k < units; ++k) {
            bytes[2 * k] = static_cast<char>(src[i + k] & 0xFF);
            bytes[2 * k + 1] = static_cast<char>(src[i + k] >> 8);
        }
        const bool lone = units == 1 && (IsHighSurrogate(src[i]) || IsLowSurrogate(src[i]));
        if (lone || !ConvertCharacter(pair.fromUtf16, bytes, 2 * units, out))
            out->push_back('?');
        i += units - 1;
        if (ends != nullptr)
            ends->push_back(out->size());
    }
    // A stateful page (UTF-7) may owe the bytes that close its last character.
    char tail[16];
    char* tailPtr = tail;
    size_t tailLeft = sizeof tail;
    iconv(pair.fromUtf16, nullptr, nullptr, &tailPtr, &tailLeft);
    out->append(tail, static_cast<size_t>(tailPtr - tail));
    if (ends != nullptr && !ends->empty())
        ends->back() = out->size();
    return true;
}

} // namespace platform::detail
