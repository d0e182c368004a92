// Database handles: NSFDbOpen, NSFDbClose, NSFDbReplicaInfoGet, NSFDbIDGet.
#include "paths.h"
#include "runtime.h"

using namespace notesrt;

namespace notesrt {

STATUS OpenDatabaseFile(Runtime& runtime, const char* path, uint32_t* handleOut) {
    if (path == nullptr || handleOut == nullptr)
        return kErrInvalidArgument;
    std::filesystem::path file;
    if (STATUS status = ResolveFile(runtime.install, path, file))
        return status;
    OpenDatabase open;
    open.path = path;
    if (STATUS status = runtime.files.Open(file, open.db))
        return status;
    const DBHANDLE handle = runtime.databases.Add(std::move(open));
    if (handle == 0)
        return kErrTooManyHandles;
    *handleOut = handle;
    return 0;
}

} // namespace notesrt

extern "C" NOTESRT_API STATUS LNPUBLIC NSFDbOpen(const char* path, DBHANDLE* db) {
    return RunCall("NSFDbOpen", true,
                   [&](Runtime& runtime) { return OpenDatabaseFile(runtime, path, db); });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFDbClose(DBHANDLE db) {
    return RunReleaseCall("NSFDbClose", [&](Runtime& runtime) -> STATUS {
        return runtime.databases.Remove(db) ? 0 : kErrInvalidHandle;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFDbReplicaInfoGet(DBHANDLE db, DBREPLICAINFO* info) {
    return RunCall("NSFDbReplicaInfoGet", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (info == nullptr)
            return kErrInvalidArgument;
        *info = DBREPLICAINFO{};
        info->ID = open->db->replicaId;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFDbIDGet(DBHANDLE db, DBID* dbId) {
    return RunCall("NSFDbIDGet", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (dbId == nullptr)
            return kErrInvalidArgument;
        *dbId = open->db->dbId;
        return 0;
    });
}
