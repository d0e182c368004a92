// UTF-8 conversions of the toolkit on any input: rk_rstr_convert both ways (the input as
// UTF-16 units and as UTF-8 bytes) and rk_str_convert with code page 65001. The first byte
// picks how small a cut output buffer is. Checked:
// - rk_rstr_convert: every UTF-16 text (lone surrogates too) goes to UTF-8 and back
//   unchanged; a cut output is the whole output's prefix, stopped only where the next
//   sequence no longer fits; valid UTF-8 without four-byte sequences reads as the code-page
//   conversion reads it.
// - rk_str_convert: UTF-8 to UTF-16 gives well-formed UTF-16 that goes to UTF-8 and back
//   unchanged, so well-formed UTF-16 survives the way; a cut output is a prefix of whole
//   characters; the code-page-to-code-page form gives the same bytes as the two steps.
#include "rk/convert.h"
#include "rk/utf8.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using WideText = std::basic_string<WCHAR>;
using Bytes = std::basic_string<unsigned char>;

constexpr int kUtf8 = 65001;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

unsigned SequenceSize(WCHAR unit) {
    return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
}

Bytes UnitsToUtf8(const WideText& units, unsigned room) {
    Bytes out(room, 0);
    const unsigned written =
        rk_rstr_convert(out.data(), room, units.data(), static_cast<unsigned>(units.size()));
    Require(written <= room);
    out.resize(written);
    return out;
}

WideText Utf8ToUnits(const Bytes& bytes, unsigned room) {
    WideText out(room, 0);
    const unsigned written =
        rk_rstr_convert(out.data(), room, bytes.data(), static_cast<unsigned>(bytes.size()));
    Require(written <= room);
    out.resize(written);
    return out;
}

void CheckUnitConversions(const WideText& units, const Bytes& bytes, unsigned cutRoom) {
    const auto all = static_cast<unsigned>(3 * units.size());
    const Bytes encoded = UnitsToUtf8(units, all);
    Require(Utf8ToUnits(encoded, static_cast<unsigned>(units.size())) == units);

    const unsigned room = cutRoom % (all + 1);
    const Bytes cut = UnitsToUtf8(units, room);
    Require(encoded.compare(0, cut.size(), cut) == 0);
    size_t whole = 0; // units that the cut output holds
    size_t taken = 0; // their bytes
    while (taken < cut.size())
        taken += SequenceSize(units[whole++]);
    Require(taken == cut.size());
    Require(whole == units.size() || cut.size() + SequenceSize(units[whole]) > room);

    // Up to the first NUL unit when the length is not given.
    const WideText terminated(units.c_str());
    Bytes untilNul(all + 1, 0);
    untilNul.resize(rk_rstr_convert(untilNul.data(), all + 1, units.c_str(), RK::kWholeString));
    Require(untilNul == UnitsToUtf8(terminated, all + 1));

    // Valid UTF-8 (it survives the code-page conversion both ways) within the BMP.
    const std::string narrow(bytes.begin(), bytes.end());
    if (narrow.empty() || narrow.find('\0') != std::string::npos)
        return;
    for (unsigned char c : bytes) {
        if (c >= 0xF0)
            return;
    }
    WideText wide(bytes.size(), 0);
    wide.resize(rk_str_convert(kUtf8, wide.data(), static_cast<unsigned>(wide.size()),
                               narrow.data(), static_cast<unsigned>(narrow.size())));
    std::string back(3 * wide.size(), '\0');
    back.resize(rk_str_convert(kUtf8, back.data(), static_cast<unsigned>(back.size()), wide.data(),
                               static_cast<unsigned>(wide.size())));
    if (back == narrow)
        Require(Utf8ToUnits(bytes, static_cast<unsigned>(bytes.size())) == wide);
}

bool IsWellFormed(const WideText& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (text[i] >= 0xD800 && text[i] <= 0xDFFF)
            return false;
    }
    return true;
}

WideText CodePageToWide(const std::string& narrow) {
    WideText wide(narrow.size(), 0);
    wide.resize(rk_str_convert(kUtf8, wide.data(), static_cast<unsigned>(wide.size()),
                               narrow.data(), static_cast<unsigned>(narrow.size())));
    return wide;
}

std::string WideToCodePage(const WideText& wide, unsigned room) {
    std::string narrow(room, '\0');
    narrow.resize(rk_str_convert(kUtf8, narrow.data(), room, wide.data(),
                                 static_cast<unsigned>(wide.size())));
    return narrow;
}

void CheckCodePageConversions(const std::string& narrow, const WideText& units, unsigned cutRoom) {
    const WideText wide = CodePageToWide(narrow);
    Require(IsWellFormed(wide));
    const std::string normal = WideToCodePage(wide, static_cast<unsigned>(3 * wide.size()));
    Require(CodePageToWide(normal) == wide);

    std::string direct(3 * narrow.size(), '\0');
    direct.resize(rk_str_convert(kUtf8, direct.data(), static_cast<unsigned>(direct.size()), kUtf8,
                                 narrow.data(), static_cast<unsigned>(narrow.size())));
    Require(direct == normal);

    if (IsWellFormed(units)) {
        const std::string encoded = WideToCodePage(units, static_cast<unsigned>(3 * units.size()));
        Require(CodePageToWide(encoded) == units);
        const std::string cut = WideToCodePage(units, cutRoom % (encoded.size() + 1));
        Require(encoded.compare(0, cut.size(), cut) == 0);
        Require(cut.size() == encoded.size() ||
                (static_cast<unsigned char>(encoded[cut.size()]) & 0xC0) != 0x80);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const unsigned cutRoom = data[0];
    const Bytes bytes(data + 1, data + size);
    WideText units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<WCHAR>(bytes[i] | bytes[i + 1] << 8));

    CheckUnitConversions(units, bytes, cutRoom);

    // rk_str_convert drops a final NUL from its count, so the texts stop at the first NUL.
    const std::string narrow(reinterpret_cast<const char*>(bytes.c_str()));
    CheckCodePageConversions(narrow, WideText(units.c_str()), cutRoom);
    return 0;
}
