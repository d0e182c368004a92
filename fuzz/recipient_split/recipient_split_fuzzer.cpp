// Splitting a memo's recipients text into the SendTo and Recipients lists: any text up to its
// first NUL, given to FillMessageRecipientsList with two fresh lists of a started runtime.
// Both lists come out the same: the pieces between commas (those that begin an LMBCS
// character, not bytes inside one) that are neither empty nor 256 characters or longer, in
// order and unchanged (so never more than commas + 1 entries), as long as the lists have room.
// Every list is freed afterwards and nothing stays open.
#include "notesmailmessage.h"
#include "notesrt_testing.h"
#include "scratch_folder.h"
#include "stringutil.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kNameLimit = 256;   // a name must be shorter than this
constexpr size_t kRoomyText = 60000; // texts this short always fit in a list

// A Notes installation (notes.ini and an ID file) for the whole run.
class Installation {
  public:
    Installation() : m_folder("recipients") {
        m_folder.Write("notes.ini", "Directory=data\nKeyFileName=user.id\n");
        m_folder.Write("data/user.id", "CN=Ann Lee/O=Acme\n");
    }

    // Starts the runtime afresh on this installation.
    void Start() const {
        if (m_folder.StartRuntime() != NOERROR)
            std::abort();
    }

  private:
    korvo_fuzz::ScratchFolder m_folder; // notes.ini and data/user.id
};

// A new empty prefixed list, unlocked.
RecipientList NewList() {
    RecipientList list;
    if (ListAllocate(0, 0, 1, &list.m_hList, &list.m_pList, &list.m_wListSize) != NOERROR)
        std::abort();
    list.m_pList = nullptr;
    OSUnlockObject(list.m_hList);
    return list;
}

// The entries of a list, after checking its layout; the list is freed.
std::vector<std::string> TakeEntries(RecipientList& list) {
    const auto* bytes = static_cast<const unsigned char*>(OSLockObject(list.m_hList));
    const auto word = [&](size_t offset) {
        uint16_t value;
        std::memcpy(&value, bytes + offset, sizeof value);
        return value;
    };
    if (bytes == nullptr || list.m_wListSize < 4 || word(0) != TYPE_TEXT_LIST ||
        word(2) != list.m_wCount)
        std::abort();
    std::vector<std::string> entries;
    size_t text = 4 + 2u * list.m_wCount;
    for (uint16_t i = 0; i < list.m_wCount; ++i) {
        const uint16_t length = word(4 + 2u * i);
        if (text + length > list.m_wListSize)
            std::abort();
        entries.emplace_back(reinterpret_cast<const char*>(bytes) + text, length);
        text += length;
    }
    if (text != list.m_wListSize)
        std::abort();
    OSUnlockObject(list.m_hList);
    OSMemFree(list.m_hList);
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Installation installation;
    installation.Start();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string text(input.c_str());

    RecipientList sendTo = NewList();
    RecipientList recipients = NewList();
    CNotesMailMessage::FillMessageRecipientsList(text.c_str(), sendTo, recipients);
    const std::vector<std::string> sendToEntries = TakeEntries(sendTo);
    if (TakeEntries(recipients) != sendToEntries)
        std::abort();

    std::vector<std::string> names;
    for (size_t start = 0; start <= text.size();) {
        const size_t comma = StringUtil::FindInLmbcs(text.data(), text.size(), start, ",");
        if (comma > start && comma - start < kNameLimit)
            names.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    if (sendToEntries.size() > names.size() || (text.size() < kRoomyText && sendToEntries != names))
        std::abort();

    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    if (counts.memoryAllocated != 0 || counts.memoryLocked != 0)
        std::abort();
    NotesrtReset();
    return 0;
}
