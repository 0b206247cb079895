#include "core/shared_state.h"

#include <vector>

namespace shared_state {
namespace {

// A function-local list: variables register during the program's static
// start, in whatever order their headers' translation units run.
std::vector<Record>& Records() {
    static std::vector<Record> records;
    return records;
}

}  // namespace

void Add(Record record) { Records().push_back(std::move(record)); }

void RestoreAll() {
    for (const Record& record : Records()) record.restore();
}

std::size_t Count() { return Records().size(); }

std::size_t CountChanged() {
    std::size_t changed = 0;
    for (const Record& record : Records()) {
        if (record.atInitial && !record.atInitial()) ++changed;
    }
    return changed;
}

}  // namespace shared_state
