// Fuzzes the CSV reader: any bytes either read or are refused with a message; every record lies
// inside the text, in order, starting on its own line; and the fields of every record, written
// back as CSV fields, read again as the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encode/sheet_items.h"
#include "fuzz_check.h"

using sw::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto records = sw::ParseCsv(text, error);
    if (!records) {
        Check(!error.empty());
        return 0;
    }
    std::size_t previousEnd = 0;
    unsigned long long previousLine = 0;
    for (const sw::CsvRecord& record : *records) {
        Check(record.begin >= previousEnd && record.begin < record.end && record.end <= size);
        Check(record.line > previousLine);
        Check(!record.fields.empty());
        previousEnd = record.end;
        previousLine = record.line;

        std::string again;
        for (std::size_t f = 0; f < record.fields.size(); ++f)
            again += (f == 0 ? "" : ",") + sw::CsvField(record.fields[f]);
        std::string againError;
        const auto reread = sw::ParseCsv(again, againError);
        Check(reread.has_value());
        // A record of one empty field writes back as nothing, which holds no record.
        if (again.empty())
            continue;
        Check(reread->size() == 1 && (*reread)[0].fields == record.fields);
    }
    return 0;
}
