// CNoteDataStore: the calendar's cache of appointments handed to the host, of attendee names
// resolved today, and the user's seven mail-profile strings.
//
// Both maps are ordered by plain comparison of UTF-16 code units and hold one entry per key.
// Every map operation holds the store's lock for its whole duration and copies records in and
// out under it, so callers never share a record with the cache. The lock is re-entrant for
// the thread holding it. Nothing reports an error: a missing key is a false result; running
// out of memory throws std::bad_alloc with the lock released.
#pragma once

#include "appointmentinfo.h"

#include "platform/mutex.h"

#include <cstdint>
#include <cstring>
#include <map>

// The maps' key order: plain comparison of UTF-16 code units, the order of std::less on
// CString, with equal stretches skipped four units at a time.
struct CodeUnitLess {
    bool operator()(const CString& a, const CString& b) const noexcept {
        const size_t common = a.size() < b.size() ? a.size() : b.size();
        size_t i = 0;
        for (; i + 4 <= common; i += 4) {
            uint64_t left, right;
            std::memcpy(&left, a.data() + i, sizeof left);
            std::memcpy(&right, b.data() + i, sizeof right);
            if (left != right)
                break;
        }
        for (; i < common; ++i) {
            if (a[i] != b[i])
                return a[i] < b[i];
        }
        return a.size() < b.size();
    }
};

class CNoteDataStore {
  public:
    CNoteDataStore() = default;
    CNoteDataStore(const CNoteDataStore&) = delete;
    CNoteDataStore& operator=(const CNoteDataStore&) = delete;
    // Empties both maps.
    virtual ~CNoteDataStore();

    // Replaces the appointment cached under key with a copy of record. Always true.
    bool StoreAppointment(const CString& key, const AppointmentInfo& record);
    // Moves the appointment cached under key into out and forgets it. False, with out
    // unchanged, when there is none.
    bool TakeAppointment(const CString& key, AppointmentInfo& out);
    // Copies the appointment cached under key into out; it stays cached. False, with out
    // unchanged, when there is none.
    bool FindAppointment(const CString& key, AppointmentInfo& out) const;

    // Copies the name cached under key into the ResolvedName part of out; recipType,
    // attendType and responseType stay as they were. A name cached on an earlier local day
    // (or a later one, after the clock went back) is removed and not found. False, with out
    // unchanged, when nothing fresh is cached.
    bool FindResolvedName(const CString& key, AttendeeInfo& out);
    // Caches the ResolvedName part of record under record.key, stamping record.lookupTime
    // with the local time first. A key already cached keeps its entry and its time, and
    // record is left unchanged.
    void StoreResolvedName(AttendeeInfo& record);

    // Empties both maps; the profile strings stay.
    void Clear();

  private:
    // Wraps one platform critical section, alive as long as the lock.
    class _lock {
      public:
        _lock() = default;
        _lock(const _lock&) = delete;
        _lock& operator=(const _lock&) = delete;
        virtual ~_lock() = default;

        // Holds the lock until the scope ends.
        platform::CriticalSectionLock Hold() { return platform::CriticalSectionLock(m_section); }

      private:
        platform::CriticalSection m_section; // the system lock
    };

    std::map<CString, AppointmentInfo, CodeUnitLess> m_appointments; // appointments by entryID
    std::map<CString, ResolvedName, CodeUnitLess> m_resolvedNames;   // names resolved today
    mutable _lock m_lock;                                            // guards both maps

  public:
    // The mail profile, written while Init prepares the calendar and read afterwards without
    // the lock; Clear leaves them alone.
    CString EmailAddress;     // the user's Internet address
    CString ServerIP;         // the mail server's key
    CString ApptDBID;         // mail database's replica ID text
    CString ApptViewID;       // UNID text of the calendar view
    CString EmailDBID;        // mail database's instance ID text
    CString InboxEmailViewID; // UNID text of the inbox view
    CString SentEmailViewID;  // UNID text of the sent-mail view
};
