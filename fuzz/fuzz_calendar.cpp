// The calendar file reader: every section and key, as text, number and colour.
#include "fuzz_support.h"

#include "calendar/calendar_file.h"

using kalmo::calendar::CalendarFile;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    kalmo::fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = kalmo::fuzz::writeInput("dateini.ini", data, size);
    for (const int limit : {0, CalendarFile::kEditorValueLimit}) {
        CalendarFile file(path, CalendarFile::Mode::Snapshot, limit);
        for (const QString &s : file.sections().mid(0, 64)) {
            for (const QString &k : file.ini().keys(s).mid(0, 64)) {
                const QString v = file.readString(s, k);
                if (limit > 0)
                    FUZZ_CHECK(v.size() <= limit);
                file.readInteger(s, k, 0);
                file.readBool(s, k, false);
                file.readColor(s, k, kalmo::core::ColorCode{});
            }
        }
    }
    return 0;
}
