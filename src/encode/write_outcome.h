// The command-line encoder's exit statuses, and what its picture and sheet writers report.
#pragma once

#include <string>

namespace sw {

enum ExitStatus { kExitOk = 0, kExitItemFailed = 1, kExitUsage = 2, kExitIoError = 3 };

// What a writer reports: an exit status and, unless it is kExitOk, the reason.
struct WriteOutcome {
    int status = kExitOk;
    std::string message;

    bool ok() const { return status == kExitOk; }
};

}  // namespace sw
