#include "command_table.h"

#include "contact_json.h"
#include "date_arg.h"
#include "json_writer.h"
#include "null_argument.h"
#include "number_arg.h"
#include "owned_bstr.h"
#include "text_convert.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <limits>

namespace host {
namespace {

using Arguments = std::vector<std::string>;

// Runs a command whose argument count is right. Adds the members of the answer after "op" and
// returns true, or returns false with *error set, before calling the library, when an
// argument cannot be used.
using CommandFunction = bool (*)(LibrarySession& session, const Arguments& args, JsonObject* answer,
                                 std::string* error);

// One command of the table.
struct Command {
    const char* name;    // the command word
    size_t minArgs;      // fewest arguments
    size_t maxArgs;      // most arguments
    const char* usage;   // how it is called, for the error when the count is wrong
    CommandFunction run; // what it does
};

// A date argument: *pointer gets storage holding the date, or null for @null.
bool DateArgument(const std::string& arg, FILETIME* storage, FILETIME** pointer,
                  std::string* error) {
    if (arg == kNullArgument) {
        *pointer = nullptr;
        return true;
    }
    if (!ParseDateArgument(arg, storage, error))
        return false;
    *pointer = storage;
    return true;
}

// The query text of a contact search; @null is an empty text, as a CString cannot be null.
CString ContactText(const std::string& arg) {
    return arg == kNullArgument ? CString() : Utf8ToUtf16(arg);
}

// Adds the result and, when the operation wrote it, the output string. out is freed once its
// text is converted, so a listing's document is not held in three forms at once.
void AddResult(JsonObject* answer, int32_t result, UniqueBstr out) {
    answer->AddNumber("result", result);
    if (out.Get() == nullptr)
        return;
    const std::string text = BstrToUtf8(out.Get());
    out.Reset();
    answer->AddString("out", text);
}

bool RunInit(LibrarySession& session, const Arguments& args, JsonObject* answer,
             std::string* error) {
    int32_t type = 0;
    if (!ParseInt32(args[0], &type)) {
        *error = "TYPE must be a whole number, not '" + args[0] + "'";
        return false;
    }
    answer->AddNumber("result", session.Object().Init(type));
    return true;
}

bool RunUninit(LibrarySession& session, const Arguments&, JsonObject*, std::string*) {
    session.Object().Uninit();
    return true;
}

bool RunSendMail(LibrarySession& session, const Arguments& args, JsonObject* answer, std::string*) {
    const UniqueBstr subject = BstrArgument(args[0]);
    const UniqueBstr recipients = BstrArgument(args[1]);
    const UniqueBstr body = BstrArgument(args[2]);
    answer->AddNumber("result",
                      session.Object().SendMail(subject.Get(), recipients.Get(), body.Get(), 0));
    return true;
}

bool RunSmtp(LibrarySession& session, const Arguments& args, JsonObject* answer, std::string*) {
    const UniqueBstr name = BstrArgument(args[0]);
    UniqueBstr out;
    const int32_t result = session.Object().GetSMTPFromDispName(name.Get(), out.Put());
    AddResult(answer, result, std::move(out));
    return true;
}

bool RunList(LibrarySession& session, const Arguments& args, JsonObject* answer,
             std::string* error) {
    FILETIME start{}, end{};
    FILETIME *startArg = nullptr, *endArg = nullptr;
    if (!DateArgument(args[0], &start, &startArg, error) ||
        !DateArgument(args[1], &end, &endArg, error))
        return false;
    UniqueBstr out;
    const int32_t result = session.Object().ListAppointment(startArg, endArg, out.Put());
    AddResult(answer, result, std::move(out));
    return true;
}

bool RunInstance(LibrarySession& session, const Arguments& args, JsonObject* answer,
                 std::string* error) {
    FILETIME start{}, end{};
    FILETIME *startArg = nullptr, *endArg = nullptr;
    if (!DateArgument(args[1], &start, &startArg, error) ||
        !DateArgument(args[2], &end, &endArg, error))
        return false;
    const UniqueBstr entryId = BstrArgument(args[0]);
    UniqueBstr out;
    const int32_t result =
        session.Object().ListRecrrentInstance(entryId.Get(), startArg, endArg, out.Put());
    AddResult(answer, result, std::move(out));
    return true;
}

bool RunDelete(LibrarySession& session, const Arguments& args, JsonObject* answer, std::string*) {
    const UniqueBstr key = BstrArgument(args[0]);
    UniqueBstr out;
    const int32_t result = session.Object().DeleteMsgInfo(key.Get(), out.Put());
    AddResult(answer, result, std::move(out));
    return true;
}

bool RunGet(LibrarySession& session, const Arguments& args, JsonObject* answer, std::string*) {
    const UniqueBstr key = BstrArgument(args[0]);
    UniqueBstr out;
    const int32_t result = session.Object().GetMsgInfo(key.Get(), 0, out.Put());
    AddResult(answer, result, std::move(out));
    return true;
}

bool RunProfile(LibrarySession& session, const Arguments&, JsonObject* answer, std::string*) {
    UniqueBstr out;
    const int32_t result = session.Object().GetCurProfileInfo(out.Put());
    AddResult(answer, result, std::move(out));
    return true;
}

bool RunClear(LibrarySession& session, const Arguments&, JsonObject*, std::string*) {
    session.Object().ClearCache();
    return true;
}

bool RunResolve(LibrarySession& session, const Arguments& args, JsonObject* answer,
                std::string* error) {
    if (args.size() == 2 && args[1] != "uri") {
        *error = "the second argument can only be 'uri', not '" + args[1] + "'";
        return false;
    }
    CString query = ContactText(args[0]);
    std::vector<ContactInfo> contacts;
    const int32_t result = session.Object().ResolveContact(query, contacts, args.size() == 2, 0);
    answer->AddNumber("result", result).AddRaw("contacts", ContactsJson(contacts));
    return true;
}

bool RunSearch(LibrarySession& session, const Arguments& args, JsonObject* answer, std::string*) {
    std::vector<CString> terms;
    for (const std::string& arg : args)
        terms.push_back(ContactText(arg));
    std::vector<ContactInfo> contacts;
    const int32_t result = session.Object().ResolveContactBySearchQuery(terms, contacts);
    answer->AddNumber("result", result).AddRaw("contacts", ContactsJson(contacts));
    return true;
}

bool RunRelease(LibrarySession& session, const Arguments&, JsonObject*, std::string*) {
    session.Release();
    return true;
}

constexpr size_t kUnlimited = std::numeric_limits<size_t>::max();

constexpr Command kCommands[] = {
    {"init", 1, 1, "init TYPE", RunInit},
    {"uninit", 0, 0, "uninit", RunUninit},
    {"sendmail", 3, 3, "sendmail SUBJECT RECIPIENTS BODY", RunSendMail},
    {"smtp", 1, 1, "smtp NAME", RunSmtp},
    {"list", 2, 2, "list START END", RunList},
    {"instance", 3, 3, "instance ENTRYID START END", RunInstance},
    {"delete", 1, 1, "delete KEY", RunDelete},
    {"get", 1, 1, "get KEY", RunGet},
    {"profile", 0, 0, "profile", RunProfile},
    {"clear", 0, 0, "clear", RunClear},
    {"resolve", 1, 2, "resolve QUERY [uri]", RunResolve},
    {"search", 0, kUnlimited, "search [TERM...]", RunSearch},
    {"release", 0, 0, "release", RunRelease},
};

std::string ErrorAnswer(const std::string& op, const std::string& error) {
    return JsonObject().AddString("op", op).AddString("error", error).Text();
}

} // namespace

std::string RunCommand(LibrarySession& session, const std::vector<std::string>& words) {
    const std::string& name = words[0];
    const Arguments args(words.begin() + 1, words.end());
    for (const Command& command : kCommands) {
        if (name != command.name)
            continue;
        if (args.size() < command.minArgs || args.size() > command.maxArgs)
            return ErrorAnswer(name, std::string("usage: ") + command.usage);
        JsonObject answer;
        answer.AddString("op", name);
        std::string error;
        if (!command.run(session, args, &answer, &error))
            return ErrorAnswer(name, error);
        return std::move(answer).Text();
    }
    return ErrorAnswer(name, "unknown command");
}

} // namespace host
