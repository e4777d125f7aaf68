// The schedule file and bell table readers.
#include "fuzz_support.h"

#include "schedule/schedule_files.h"

using namespace kalmo::schedule;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    kalmo::fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = kalmo::fuzz::writeInput("raspisanie.ini", data, size);
    const kalmo::core::IniFile file(path, kalmo::core::IniFile::Mode::Snapshot);
    const int departments = std::min(readDepartmentCount(file), 200);
    FUZZ_CHECK(departments >= 1);
    for (int n = 1; n <= departments; ++n) {
        readDepartmentName(file, n);
        const int groups = readGroupCount(file, n, 1);
        readGroups(file, n, std::clamp(groups, 0, 200));
    }
    readLessonCount(file);
    const BellTable table = readBellTable(file, 100);
    FUZZ_CHECK(table.starts.size() == table.stops.size() && table.count() <= 100);
    return 0;
}
