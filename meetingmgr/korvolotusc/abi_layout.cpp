// The binary layout a host compiled against KorvoLotusC.h relies on: the sizes and member
// offsets of the types the operations exchange, and the order of the operations in the
// interface's table. Nothing here runs; a changed layout stops the build.
//
// The product is the 32-bit DLL, so those numbers are the ones that matter; 64-bit builds
// check their own so that a change shows on every build.
#include "KorvoLotusC.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// KORVO_LAYOUT(on32, on64): the expected number for this build's pointer size.
#if UINTPTR_MAX == 0xFFFFFFFFu
#define KORVO_LAYOUT(on32, on64) (on32)
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
#define KORVO_LAYOUT(on32, on64) (on64)
#else
#error "the layout is known for 32-bit and 64-bit builds only"
#endif

// KORVO_EXPECT_MEMBER(type, member, memberType, on32, on64): type::member has the type
// memberType and stands at the offset expected.
#define KORVO_EXPECT_MEMBER(type, member, memberType, on32, on64)                                  \
    static_assert(std::is_same_v<decltype(type::member), memberType>,                              \
                  #type "::" #member " changed its type");                                         \
    static_assert(offsetof(type, member) == KORVO_LAYOUT(on32, on64), #type "::" #member " moved")

static_assert(sizeof(WCHAR) == 2, "wide text is UTF-16");
static_assert(sizeof(BSTR) == sizeof(void*));

static_assert(sizeof(FILETIME) == 8 && alignof(FILETIME) == 4);
KORVO_EXPECT_MEMBER(FILETIME, dwLowDateTime, uint32_t, 0, 0);
KORVO_EXPECT_MEMBER(FILETIME, dwHighDateTime, uint32_t, 4, 4);

static_assert(sizeof(SYSTEMTIME) == 16 && alignof(SYSTEMTIME) == 2);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wYear, uint16_t, 0, 0);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wMonth, uint16_t, 2, 2);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wDayOfWeek, uint16_t, 4, 4);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wDay, uint16_t, 6, 6);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wHour, uint16_t, 8, 8);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wMinute, uint16_t, 10, 10);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wSecond, uint16_t, 12, 12);
KORVO_EXPECT_MEMBER(SYSTEMTIME, wMilliseconds, uint16_t, 14, 14);

// The string the contact operations exchange, as the C++ runtime lays it out.
static_assert(sizeof(CString) == KORVO_LAYOUT(24, 32));

// ByteBuffer's members are private: its size, alignment and standard layout pin them (a
// 32-bit count, then the pointer).
static_assert(std::is_standard_layout_v<ByteBuffer>);
static_assert(sizeof(ByteBuffer) == KORVO_LAYOUT(8, 16));
static_assert(alignof(ByteBuffer) == alignof(void*));

static_assert(std::is_standard_layout_v<ContactInfo>, "offsetof needs a standard layout");
static_assert(sizeof(ContactInfo) == KORVO_LAYOUT(504, 680));
static_assert(alignof(ContactInfo) == alignof(void*));
KORVO_EXPECT_MEMBER(ContactInfo, fullName, CString, 0, 0);
KORVO_EXPECT_MEMBER(ContactInfo, firstName, CString, 24, 32);
KORVO_EXPECT_MEMBER(ContactInfo, lastName, CString, 48, 64);
KORVO_EXPECT_MEMBER(ContactInfo, email, CString, 72, 96);
KORVO_EXPECT_MEMBER(ContactInfo, imLogin, CString, 96, 128);
KORVO_EXPECT_MEMBER(ContactInfo, jobTitle, CString, 120, 160);
KORVO_EXPECT_MEMBER(ContactInfo, company, CString, 144, 192);
KORVO_EXPECT_MEMBER(ContactInfo, department, CString, 168, 224);
KORVO_EXPECT_MEMBER(ContactInfo, officePhone, CString, 192, 256);
KORVO_EXPECT_MEMBER(ContactInfo, cellPhone, CString, 216, 288);
KORVO_EXPECT_MEMBER(ContactInfo, faxPhone, CString, 240, 320);
KORVO_EXPECT_MEMBER(ContactInfo, phone, CString, 264, 352);
KORVO_EXPECT_MEMBER(ContactInfo, webSite, CString, 288, 384);
KORVO_EXPECT_MEMBER(ContactInfo, extra1, CString, 312, 416);
KORVO_EXPECT_MEMBER(ContactInfo, officeCountry, CString, 336, 448);
KORVO_EXPECT_MEMBER(ContactInfo, officeZip, CString, 360, 480);
KORVO_EXPECT_MEMBER(ContactInfo, officeState, CString, 384, 512);
KORVO_EXPECT_MEMBER(ContactInfo, officeStreet, CString, 408, 544);
KORVO_EXPECT_MEMBER(ContactInfo, officeCity, CString, 432, 576);
KORVO_EXPECT_MEMBER(ContactInfo, unidBytes, ByteBuffer, 456, 608);
KORVO_EXPECT_MEMBER(ContactInfo, extra2, CString, 464, 624);
KORVO_EXPECT_MEMBER(ContactInfo, allFieldsFound, int32_t, 488, 656);
KORVO_EXPECT_MEMBER(ContactInfo, hasPhoto, int32_t, 492, 660);
KORVO_EXPECT_MEMBER(ContactInfo, photo, ByteBuffer, 496, 664);

// The object is its table pointer and nothing else.
static_assert(std::is_polymorphic_v<IKorvoLotus> && sizeof(IKorvoLotus) == sizeof(void*));

// The table order. GCC (MinGW included) follows the Itanium C++ ABI: a pointer to a virtual
// member function holds 1 plus the function's byte offset in the table, and an adjustment of
// 0 for the class's own functions. The language offers no constant for that offset, so the
// check reads the pointers in code that the optimizer folds away when every operation sits in
// its slot; a misplaced one leaves a call to TableOrderChanged, which GCC refuses to compile.
// Unoptimized builds cannot fold, and check the sizes above only.
#if defined(__GNUC__) && !defined(__clang__) && defined(__OPTIMIZE__)

void TableOrderChanged()
    __attribute__((error("an IKorvoLotus operation is not in its slot of the table")));

namespace {

// A class that adds one function after the interface's own: its slot is the first after them,
// so an operation added anywhere moves it.
class TableEnd : public IKorvoLotus {
  public:
    virtual void Next() = 0;
};

// A pointer to a member function as the Itanium C++ ABI lays it out.
struct MemberFunctionPointer {
    std::ptrdiff_t pointer;    // 1 + byte offset in the table, for a virtual function
    std::ptrdiff_t adjustment; // added to the object's address before the call
};

// Checks that member has the function type Function and the table slot slot.
template <typename Function, typename Class>
__attribute__((always_inline)) inline void ExpectSlot(Function Class::*member,
                                                      std::ptrdiff_t slot) {
    static_assert(sizeof member == sizeof(MemberFunctionPointer));
    MemberFunctionPointer raw;
    std::memcpy(&raw, &member, sizeof raw);
    if (raw.pointer != 1 + slot * static_cast<std::ptrdiff_t>(sizeof(void*)) || raw.adjustment != 0)
        TableOrderChanged();
}

// Compiled for its checks only (kept by "used"); never called.
__attribute__((used)) void CheckTableOrder() {
    using I = IKorvoLotus;
    ExpectSlot<int32_t(int32_t)>(&I::Init, 0);
    ExpectSlot<void()>(&I::Uninit, 1);
    ExpectSlot<int32_t(BSTR, BSTR, BSTR, int32_t)>(&I::SendMail, 2);
    ExpectSlot<int32_t(BSTR, BSTR*)>(&I::GetSMTPFromDispName, 3);
    ExpectSlot<int32_t(FILETIME*, FILETIME*, BSTR*)>(&I::ListAppointment, 4);
    ExpectSlot<int32_t(BSTR, FILETIME*, FILETIME*, BSTR*)>(&I::ListRecrrentInstance, 5);
    ExpectSlot<int32_t(BSTR, BSTR*)>(&I::DeleteMsgInfo, 6);
    ExpectSlot<int32_t(BSTR, int32_t, BSTR*)>(&I::GetMsgInfo, 7);
    ExpectSlot<int32_t(BSTR*)>(&I::GetCurProfileInfo, 8);
    ExpectSlot<void()>(&I::ClearCache, 9);
    ExpectSlot<int32_t(CString&, std::vector<ContactInfo>&, bool, int32_t)>(&I::ResolveContact, 10);
    ExpectSlot<int32_t(std::vector<CString>&, std::vector<ContactInfo>&)>(
        &I::ResolveContactBySearchQuery, 11);
    ExpectSlot<void()>(&TableEnd::Next, 12);
}

} // namespace

#endif
