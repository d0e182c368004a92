#include "appointmentstore.h"

#include "platform/clock.h"

namespace {

// The same local calendar day.
bool IsSameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

} // namespace

CNoteDataStore::~CNoteDataStore() {
    Clear();
}

bool CNoteDataStore::StoreAppointment(const CString& key, const AppointmentInfo& record) {
    const auto held = m_lock.Hold();
    auto at = m_appointments.lower_bound(key);
    if (at != m_appointments.end() && !m_appointments.key_comp()(key, at->first))
        at = m_appointments.erase(at);
    m_appointments.emplace_hint(at, key, record);
    return true;
}

bool CNoteDataStore::TakeAppointment(const CString& key, AppointmentInfo& out) {
    const auto held = m_lock.Hold();
    const auto found = m_appointments.find(key);
    if (found == m_appointments.end())
        return false;
    out = std::move(found->second);
    m_appointments.erase(found);
    return true;
}

bool CNoteDataStore::FindAppointment(const CString& key, AppointmentInfo& out) const {
    const auto held = m_lock.Hold();
    const auto found = m_appointments.find(key);
    if (found == m_appointments.end())
        return false;
    out = found->second;
    return true;
}

bool CNoteDataStore::FindResolvedName(const CString& key, AttendeeInfo& out) {
    const auto held = m_lock.Hold();
    const auto found = m_resolvedNames.find(key);
    if (found == m_resolvedNames.end())
        return false;
    SYSTEMTIME now{};
    platform::GetLocalTime(&now);
    if (!IsSameDay(found->second.lookupTime, now)) {
        m_resolvedNames.erase(found);
        return false;
    }
    static_cast<ResolvedName&>(out) = found->second;
    return true;
}

void CNoteDataStore::StoreResolvedName(AttendeeInfo& record) {
    const auto held = m_lock.Hold();
    if (m_resolvedNames.count(record.key) != 0)
        return;
    platform::GetLocalTime(&record.lookupTime);
    m_resolvedNames.emplace(record.key, static_cast<const ResolvedName&>(record));
}

void CNoteDataStore::Clear() {
    const auto held = m_lock.Hold();
    m_appointments.clear();
    m_resolvedNames.clear();
}
