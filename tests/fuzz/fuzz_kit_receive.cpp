// Fuzz target: the C kit library's receive rules (sdk/c, cJSON with its own checks) against the
// program's (StateDatagram::receive) for one datagram from a loopback sender: the same verdict, the
// same count of members naming a value, the same assignments. Two differences are known and left
// out: cJSON reads at most 1000 levels of nesting (the program 1024), and of equal keys the kit
// takes the last, while the program's JSON reader, which sorts a document's members, may keep
// another one in a document of many members.
#include "StateDatagram.h"

#include <zuvkit.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Whether the text may name a value twice: its name twice, or escapes that could spell it.
bool mayRepeatAKey(const std::string& text)
{
    if (text.find('\\') != std::string::npos)
        return true;
    for (int value = 0; value < ZUV_COUNT; ++value) {
        const std::string key = std::string("\"") + zuv_name(value) + '"';
        const auto first = text.find(key);
        if (first != std::string::npos && text.find(key, first + 1) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::size_t stored = std::min(size, StateDatagram::size);
    zuv_received kit;
    zuv_receive(bytes, stored, size, 0x7f000001, &kit);
    const auto program = StateDatagram::receive(bytes, stored, size, 0x7f000001);
    const std::string text(bytes, static_cast<std::size_t>(program.textLength));
    if (std::count(text.begin(), text.end(), '[') + std::count(text.begin(), text.end(), '{') > 1000)
        return 0;

    static const StateDatagram::Received::Verdict verdicts[] = {
        StateDatagram::Received::Verdict::Document, StateDatagram::Received::Verdict::NotADocument,
        StateDatagram::Received::Verdict::TooLong, StateDatagram::Received::Verdict::NotLoopback};
    bool same = verdicts[kit.verdict] == program.verdict && kit.count == program.assignments.count &&
                kit.assigned >= 0 && kit.assigned <= kit.count;
    bool sameAssignments = same && static_cast<std::size_t>(kit.assigned) == program.assignments.list.size();
    for (int i = 0; sameAssignments && i < kit.assigned; ++i) {
        sameAssignments = kit.assignments[i].value == program.assignments.list[i].index &&
                          kit.assignments[i].to == program.assignments.list[i].value;
    }
    if (same && (sameAssignments || mayRepeatAKey(text)))
        return 0;
    std::fprintf(stderr,
                 "kit: verdict %d, count %d, %d assigned; program: verdict %d, count %d, %zu assigned\n",
                 kit.verdict, kit.count, kit.assigned, static_cast<int>(program.verdict),
                 program.assignments.count, program.assignments.list.size());
    std::abort();
}
